#pragma once
// The five images of the current look and the sizes the renderer works from.
#include <windows.h>

#include <gdiplus.h>

#include "core/settings.h"
#include "render/skin_resources.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace render {

// In the order of core::CustomLookPaths.
enum SkinSlot { FaceSlot, HourSlot, MinuteSlot, SecondSlot, CaseSlot, SlotCount };
static_assert(sizeof(core::CustomLookPaths) / sizeof(core::CustomLookPaths[0]) == SlotCount,
              "one custom path a slot");

struct ImageSize {
    int width = 0;
    int height = 0;
};

// Why an image file cannot be one of a look's images.
enum class ImageProblem { None, Unreadable, NotAnImage, TooLarge };

// Decodes an image held in memory; null when the bytes are no image GDI+ can read or the image
// is larger than core::MaxImageSide on a side, with the reason in `problem` when one is given.
std::unique_ptr<Gdiplus::Image> decodeImage(const void* bytes, size_t size,
                                            ImageProblem* problem = nullptr);
// A "PNG" resource of the module; null when it is missing or does not decode.
std::unique_ptr<Gdiplus::Image> loadPngResource(HMODULE module, int resourceId);
// Reads the whole file first, so the user's file is not kept open while it is shown.
std::unique_ptr<Gdiplus::Image> loadImageFile(const std::wstring& path,
                                              ImageProblem* problem = nullptr);

class SkinImages {
public:
    // Loads a "PNG" resource into a slot; a missing resource leaves the slot as it was.
    bool loadPngResource(HMODULE module, int resourceId, SkinSlot slot);
    // The five resources of a built-in look, in slot order.
    void loadBuiltInLook(HMODULE module, const SkinResourceIds& ids);
    // A file that is missing or not an image leaves the slot empty: that layer is not drawn.
    void loadFile(const std::wstring& path, SkinSlot slot);
    // Takes the face and hand sizes once per look, so the half-second redraw only draws.
    void recordSizes();
    // Loads look `styleIndex` (0..4 built in, 5 the custom files of `settings`) and records its
    // sizes. Returns the index to store: an unknown index and a custom look without a face path
    // give 0. A custom face that does not load shows look 0 but keeps the user's choice.
    int applyStyle(HMODULE module, int styleIndex, const core::ClockSettings& settings);
    void release(SkinSlot slot);
    void releaseAll();
    // Changes whenever an image of the look changes, so drawings made from the images can tell
    // whether they are still current.
    std::uint64_t generation() const { return generation_; }
    // The checkerboard behind the custom dial dialog's preview, or its double-size art: each
    // loaded on first use, then kept for the rest of the run.
    Gdiplus::Image* previewBackground(HMODULE module, bool doubleArt = false);

    // The same built-in look drawn at twice the size, for high-DPI screens; null for a custom
    // look, whose files are drawn as they are.
    const SkinImages* doubleArt() const { return doubleArt_.get(); }

    Gdiplus::Image* image(SkinSlot slot) const { return images_[slot].get(); }
    ImageSize size(SkinSlot slot) const { return slot < CaseSlot ? sizes_[slot] : ImageSize{}; }

private:
    std::array<std::unique_ptr<Gdiplus::Image>, SlotCount> images_;
    void changed();
    void loadDoubleArt(HMODULE module, int look);
    // True when every image of `other` is exactly `factor` times the size of this one's.
    bool scaledBy(const SkinImages& other, int factor) const;

    std::array<ImageSize, CaseSlot> sizes_{};
    std::uint64_t generation_ = 0;
    // The 1x checkerboard and its double-size art.
    std::array<std::unique_ptr<Gdiplus::Image>, 2> previewBackgrounds_;
    std::unique_ptr<SkinImages> doubleArt_;
};

} // namespace render
