#pragma once
// The dialog keys (Tab, Enter, Escape, the arrows) for a modeless dialog. A message loop hands
// keys to the dialog manager only for the dialog it runs, and the clock's one loop is the clock
// window's own: a modeless dialog gets its keys from a hook on this thread's messages instead.
#include <windows.h>

namespace win {

class ModelessKeys {
public:
    ModelessKeys() = default;
    ~ModelessKeys() { stop(); }
    ModelessKeys(const ModelessKeys&) = delete;
    ModelessKeys& operator=(const ModelessKeys&) = delete;

    // Until stop(), the keys typed into `dialog` or its controls work as in a modal dialog,
    // whichever loop takes them from the queue.
    void start(HWND dialog);
    void stop();

private:
    static LRESULT CALLBACK onMessage(int code, WPARAM wParam, LPARAM lParam);

    HWND dialog_ = nullptr;
    HHOOK hook_ = nullptr;
};

} // namespace win
