#pragma once
// A child control that handles its own notifications. It subclasses an existing dialog item and
// receives, handed back by its parent, the notifications the parent got about it, so everything
// a control does lives in its own class and it knows nothing of the dialog that uses it.
#include <windows.h>

#include "win/handled.h"

namespace win {

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Subclasses item `id` of `dialog`; false when there is no such item or it is taken.
    bool attach(HWND dialog, int id);
    bool attachWindow(HWND window);
    // Gives the window its own procedure back; also happens when the window goes.
    void detach();

    HWND hwnd() const { return hwnd_; }
    int id() const;

    // The control object attached to `window`, found through a property of that window.
    static Control* fromWindow(HWND window);
    // Hands a notification that a parent received (WM_NOTIFY, WM_COMMAND, WM_DRAWITEM,
    // WM_CTLCOLOR*, WM_HSCROLL, WM_VSCROLL) to the control it concerns. True when that control
    // handled it; `result` is then the answer for the parent to give.
    static bool reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // Messages of the control's own window; `result` is the answer when it returns Handled::Yes,
    // and otherwise the original procedure gets the message.
    virtual Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // A notification about this control, handed back by its parent.
    virtual bool handleReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Runs once the window is subclassed.
    virtual void onAttached() {}
    // The window's original procedure.
    LRESULT defaultProcedure(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR subclassId, DWORD_PTR self);
    LRESULT route(UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

// The window a parent's notification concerns, or null for one that names no child window.
HWND notifyingWindow(UINT message, WPARAM wParam, LPARAM lParam);

} // namespace win
