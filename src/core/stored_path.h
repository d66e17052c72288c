#pragma once
// Which form of a chosen file's path can be kept in "Settings.def", whose path fields hold at most
// PathFieldSize - 1 bytes of the ANSI code page.
#include "core/settings.h"

#include <string>

namespace core {

constexpr std::size_t MaxStoredPathBytes = PathFieldSize - 1;

enum class PathProblem { None, NotInCodePage, TooLong };

// A path converted to the ANSI code page; `exact` when it converts back to the same path.
struct AnsiPath {
    std::string bytes;
    bool exact = false;
};

struct StoredPathChoice {
    PathProblem problem = PathProblem::None;
    std::string bytes;
};

// The full path when it can be stored, else its short form (empty when there is none); when
// neither can, what is wrong with the full path.
StoredPathChoice chooseStoredPath(const AnsiPath& full, const AnsiPath& shortForm);

} // namespace core
