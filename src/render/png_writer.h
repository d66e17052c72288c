#pragma once
#include "render/frame.h"

#include <string>

namespace render {

// Writes the frame as a straight-alpha RGBA PNG.
bool saveFramePng(const Frame& frame, const std::wstring& path);

} // namespace render
