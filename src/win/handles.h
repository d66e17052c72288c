#pragma once
// Scope guards for the handles and GDI objects the clock creates; the half-second redraw
// must give back everything it takes, so nothing is released by hand.
#include <windows.h>

#include <utility>

namespace win {

template <typename T, typename Traits> class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(T value) : value_(value) {}
    ~UniqueHandle() { reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    T get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::invalid(); }
    T release() {
        T value = value_;
        value_ = Traits::invalid();
        return value;
    }
    void reset(T value = Traits::invalid()) {
        if (value_ != Traits::invalid())
            Traits::close(value_);
        value_ = value;
    }

private:
    T value_ = Traits::invalid();
};

struct GdiObjectTraits {
    static HGDIOBJ invalid() { return nullptr; }
    static void close(HGDIOBJ object) { DeleteObject(object); }
};
template <typename T> struct TypedGdiTraits {
    static T invalid() { return nullptr; }
    static void close(T object) { DeleteObject(object); }
};
struct MemoryDcTraits {
    static HDC invalid() { return nullptr; }
    static void close(HDC dc) { DeleteDC(dc); }
};
struct KernelHandleTraits {
    static HANDLE invalid() { return nullptr; }
    static void close(HANDLE handle) { CloseHandle(handle); }
};
struct FileHandleTraits {
    static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
    static void close(HANDLE handle) { CloseHandle(handle); }
};
struct MenuTraits {
    static HMENU invalid() { return nullptr; }
    static void close(HMENU menu) { DestroyMenu(menu); }
};
// A window the system may already have destroyed with its owner.
struct WindowTraits {
    static HWND invalid() { return nullptr; }
    static void close(HWND window) {
        if (IsWindow(window))
            DestroyWindow(window);
    }
};
struct RegistryKeyTraits {
    static HKEY invalid() { return nullptr; }
    static void close(HKEY key) { RegCloseKey(key); }
};
struct ModuleTraits {
    static HMODULE invalid() { return nullptr; }
    static void close(HMODULE module) { FreeLibrary(module); }
};

using UniqueBitmap = UniqueHandle<HBITMAP, TypedGdiTraits<HBITMAP>>;
using UniqueFont = UniqueHandle<HFONT, TypedGdiTraits<HFONT>>;
using UniqueBrush = UniqueHandle<HBRUSH, TypedGdiTraits<HBRUSH>>;
using UniquePen = UniqueHandle<HPEN, TypedGdiTraits<HPEN>>;
using UniqueRegion = UniqueHandle<HRGN, TypedGdiTraits<HRGN>>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using UniqueFile = UniqueHandle<HANDLE, FileHandleTraits>;
using UniqueMenu = UniqueHandle<HMENU, MenuTraits>;
using UniqueModule = UniqueHandle<HMODULE, ModuleTraits>;
using UniqueWindow = UniqueHandle<HWND, WindowTraits>;
using UniqueRegistryKey = UniqueHandle<HKEY, RegistryKeyTraits>;

// A window's device context, released to the window it came from.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// Puts the previously selected object back before the DC or the object goes away.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~SelectGuard() {
        if (old_ && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Everything selected or set in a DC inside this scope (clipping included) is undone at its end.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), state_(SaveDC(dc)) {}
    ~SavedDcState() {
        if (state_)
            RestoreDC(dc_, state_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int state_;
};

class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

} // namespace win
