#pragma once
// Nothing thrown may cross a window procedure into the system: the procedures catch it here
// and report it to the debugger instead of swallowing it silently.
#include <exception>

namespace win {

// Reports the exception being handled (call only inside a catch block).
void reportCurrentException(const wchar_t* where) noexcept;

// Runs `body` and reports anything it throws; returns `fallback` then.
template <typename Result, typename Body>
Result guarded(const wchar_t* where, Result fallback, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        reportCurrentException(where);
        return fallback;
    }
}

} // namespace win
