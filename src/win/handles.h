#pragma once
// Scope guards for the handles and GDI objects the clock creates; the half-second redraw
// must give back everything it takes, so nothing is released by hand.
#include <windows.h>

#include <utility>

namespace win {

// Owns one handle: `close` gives it back, and `invalid` (a handle's value as an integer, since
// INVALID_HANDLE_VALUE is no constant a template can take) means there is none.
template <typename T, typename Close, Close close, INT_PTR invalid = 0> class UniqueAny {
public:
    using pointer = T;

    UniqueAny() = default;
    explicit UniqueAny(T value) : value_(value) {}
    ~UniqueAny() { reset(); }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    static T invalidValue() { return reinterpret_cast<T>(invalid); }
    T get() const { return value_; }
    explicit operator bool() const { return value_ != invalidValue(); }
    T release() {
        T value = value_;
        value_ = invalidValue();
        return value;
    }
    void reset(T value = invalidValue()) {
        if (value_ != invalidValue())
            close(value_);
        value_ = value;
    }

private:
    T value_ = invalidValue();
};

// A window the system may already have destroyed with its owner.
inline void destroyLiveWindow(HWND window) {
    if (IsWindow(window))
        DestroyWindow(window);
}

using UniqueBitmap = UniqueAny<HBITMAP, decltype(&DeleteObject), DeleteObject>;
using UniqueFont = UniqueAny<HFONT, decltype(&DeleteObject), DeleteObject>;
using UniqueBrush = UniqueAny<HBRUSH, decltype(&DeleteObject), DeleteObject>;
using UniquePen = UniqueAny<HPEN, decltype(&DeleteObject), DeleteObject>;
using UniqueRegion = UniqueAny<HRGN, decltype(&DeleteObject), DeleteObject>;
using UniqueMemoryDc = UniqueAny<HDC, decltype(&DeleteDC), DeleteDC>;
using UniqueKernelHandle = UniqueAny<HANDLE, decltype(&CloseHandle), CloseHandle>;
using UniqueFile = UniqueAny<HANDLE, decltype(&CloseHandle), CloseHandle, -1>;
using UniqueMenu = UniqueAny<HMENU, decltype(&DestroyMenu), DestroyMenu>;
using UniqueModule = UniqueAny<HMODULE, decltype(&FreeLibrary), FreeLibrary>;
using UniqueWindow = UniqueAny<HWND, decltype(&destroyLiveWindow), destroyLiveWindow>;
using UniqueIcon = UniqueAny<HICON, decltype(&DestroyIcon), DestroyIcon>;
using UniqueRegistryKey = UniqueAny<HKEY, decltype(&RegCloseKey), RegCloseKey>;

// Lets a call that returns a handle through a pointer fill an owner in place:
// `RegOpenKeyExW(..., win::outParam(key))`. What the call wrote is taken over at the end of the
// statement, and whatever the owner held before is given back.
template <typename Unique> class OutParam {
public:
    explicit OutParam(Unique& owner) : owner_(owner) {}
    ~OutParam() { owner_.reset(value_); }
    OutParam(const OutParam&) = delete;
    OutParam& operator=(const OutParam&) = delete;
    operator typename Unique::pointer *() { return &value_; }

private:
    Unique& owner_;
    typename Unique::pointer value_ = Unique::invalidValue();
};

template <typename Unique> OutParam<Unique> outParam(Unique& owner) {
    return OutParam<Unique>(owner);
}

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
