#pragma once
// COM for the clock's one thread, and owners of the interfaces it is handed.
#include <windows.h>

#include <objbase.h>

namespace win {

// A single-threaded apartment for the thread that constructs it, as a window's thread wants
// one; given back by the same thread. Nested starts only count up, so it can be held beside
// anyone else's.
class ComApartment {
public:
    ComApartment() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComApartment() {
        if (started_)
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool started_;
};

// Releases the interface it holds. `put()` lets a call fill it in place, and `putVoid()` one
// that is handed the interface's id beside it: `CoCreateInstance(..., id, putVoid())`.
template <typename Interface> class ComReference {
public:
    ComReference() = default;
    ~ComReference() { reset(); }
    ComReference(const ComReference&) = delete;
    ComReference& operator=(const ComReference&) = delete;

    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    Interface** put() {
        reset();
        return &pointer_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (pointer_)
            pointer_->Release();
        pointer_ = nullptr;
    }

private:
    Interface* pointer_ = nullptr;
};

} // namespace win
