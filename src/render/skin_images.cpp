#include "render/skin_images.h"

#include "core/geometry.h"
#include "win/handles.h"
#include "win/strings.h"

#include "resource.h"

#include <objidl.h>

#include <atomic>
#include <cstring>
#include <vector>

namespace render {

namespace {

std::unique_ptr<Gdiplus::Image> refused(ImageProblem* problem, ImageProblem why) {
    if (problem)
        *problem = why;
    return nullptr;
}

} // namespace

std::unique_ptr<Gdiplus::Image> decodeImage(const void* bytes, size_t size, ImageProblem* problem) {
    if (problem)
        *problem = ImageProblem::None;
    if (!bytes || size == 0)
        return refused(problem, ImageProblem::NotAnImage);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return refused(problem, ImageProblem::Unreadable);
    void* target = GlobalLock(block);
    if (!target) {
        GlobalFree(block);
        return refused(problem, ImageProblem::Unreadable);
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(block);
    // The image reads from its stream for as long as it lives; the stream frees the block when the
    // image lets go of it, so replacing a look does not leak the old one's bytes.
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return refused(problem, ImageProblem::Unreadable);
    }
    std::unique_ptr<Gdiplus::Image> image(new Gdiplus::Image(stream, FALSE));
    stream->Release();
    const UINT width = image->GetWidth();
    const UINT height = image->GetHeight();
    if (image->GetLastStatus() != Gdiplus::Ok || width == 0 || height == 0)
        return refused(problem, ImageProblem::NotAnImage);
    if (width > static_cast<UINT>(core::MaxImageSide) ||
        height > static_cast<UINT>(core::MaxImageSide))
        return refused(problem, ImageProblem::TooLarge);
    return image;
}

std::unique_ptr<Gdiplus::Image> loadPngResource(HMODULE module, int resourceId) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"PNG");
    if (!resource)
        return nullptr;
    const DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return decodeImage(bytes, size);
}

std::unique_ptr<Gdiplus::Image> loadImageFile(const std::wstring& path, ImageProblem* problem) {
    if (path.empty())
        return refused(problem, ImageProblem::Unreadable);
    win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return refused(problem, ImageProblem::Unreadable);
    LARGE_INTEGER size{};
    // Skin images are small; anything this large is not one and is not worth reading.
    constexpr LONGLONG maxImageFileBytes = 64LL * 1024 * 1024;
    if (!GetFileSizeEx(file.get(), &size))
        return refused(problem, ImageProblem::Unreadable);
    if (size.QuadPart <= 0)
        return refused(problem, ImageProblem::NotAnImage);
    if (size.QuadPart > maxImageFileBytes)
        return refused(problem, ImageProblem::TooLarge);
    std::vector<unsigned char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size())
        return refused(problem, ImageProblem::Unreadable);
    return decodeImage(bytes.data(), bytes.size(), problem);
}

bool SkinImages::loadPngResource(HMODULE module, int resourceId, SkinSlot slot) {
    if (!FindResourceW(module, MAKEINTRESOURCEW(resourceId), L"PNG"))
        return false;
    images_[slot] = render::loadPngResource(module, resourceId);
    changed();
    return images_[slot] != nullptr;
}

void SkinImages::loadBuiltInLook(HMODULE module, const SkinResourceIds& ids) {
    loadPngResource(module, ids.face, FaceSlot);
    loadPngResource(module, ids.hour, HourSlot);
    loadPngResource(module, ids.minute, MinuteSlot);
    loadPngResource(module, ids.second, SecondSlot);
    loadPngResource(module, ids.caseImage, CaseSlot);
}

void SkinImages::loadFile(const std::wstring& path, SkinSlot slot) {
    images_[slot] = loadImageFile(path);
    changed();
}

void SkinImages::release(SkinSlot slot) {
    images_[slot].reset();
    changed();
}

void SkinImages::changed() {
    // Unique across all looks of the process, so a drawing made from another object's images
    // never passes for current.
    static std::atomic<std::uint64_t> lastGeneration{0};
    generation_ = ++lastGeneration;
}

void SkinImages::recordSizes() {
    for (int slot = FaceSlot; slot < CaseSlot; ++slot) {
        Gdiplus::Image* picture = images_[slot].get();
        sizes_[slot].width = picture ? static_cast<int>(picture->GetWidth()) : 0;
        sizes_[slot].height = picture ? static_cast<int>(picture->GetHeight()) : 0;
    }
    changed();
}

int SkinImages::applyStyle(HMODULE module, int styleIndex, const core::ClockSettings& settings) {
    const int look = core::resolvedStyleIndex(styleIndex, settings.customFacePath.empty());
    bool customFaceLoaded = false;
    if (look == core::CustomStyleIndex) {
        for (int slot = FaceSlot; slot < SlotCount; ++slot)
            loadFile(win::ansiToWide(settings.*core::CustomLookPaths[slot]),
                     static_cast<SkinSlot>(slot));
        customFaceLoaded = image(FaceSlot) != nullptr;
    }
    doubleArt_.reset();
    if (!customFaceLoaded) {
        const int builtIn = look == core::CustomStyleIndex ? 0 : look;
        loadBuiltInLook(module, builtInSkin(builtIn));
        recordSizes();
        loadDoubleArt(module, builtIn);
    } else {
        recordSizes();
    }
    return look;
}

void SkinImages::loadDoubleArt(HMODULE module, int look) {
    auto art = std::make_unique<SkinImages>();
    art->loadBuiltInLook(module, builtInSkinDoubleArt(look));
    art->recordSizes();
    // Art that does not match would put the hands off the dial's centre: the 1x art is drawn.
    if (art->image(FaceSlot) && scaledBy(*art, core::DoubleArtScale))
        doubleArt_ = std::move(art);
}

bool SkinImages::scaledBy(const SkinImages& other, int factor) const {
    for (int slot = FaceSlot; slot < CaseSlot; ++slot) {
        if (other.sizes_[slot].width != sizes_[slot].width * factor ||
            other.sizes_[slot].height != sizes_[slot].height * factor)
            return false;
    }
    return true;
}

void SkinImages::releaseAll() {
    for (auto& picture : images_)
        picture.reset();
    doubleArt_.reset();
    changed();
}

Gdiplus::Image* SkinImages::previewBackground(HMODULE module, bool doubleArt) {
    std::unique_ptr<Gdiplus::Image>& background = previewBackgrounds_[doubleArt];
    if (!background)
        background = render::loadPngResource(module, IDR_PNG_CHECKERBOARD +
                                                         (doubleArt ? DOUBLE_ART_ID_OFFSET : 0));
    return background.get();
}

} // namespace render
