#pragma once
// The dialog layer: a dialog object owns its window, and one handleMessage per class
// shows where every message and command goes.
#include <windows.h>

namespace win {

class Dialog {
public:
    Dialog(HINSTANCE module, int templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog in its own modal loop and returns the value it ended with.
    INT_PTR doModal(HWND parent);
    // Creates the dialog without a loop of its own; tests drive such windows by messages.
    HWND createModeless(HWND parent);

    HWND hwnd() const { return hwnd_; }
    HINSTANCE module() const { return module_; }
    bool isModal() const { return modal_; }
    INT_PTR endResult() const { return endResult_; }

protected:
    // Returns true when the message was handled; `result` is then its answer.
    virtual bool handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;
    // OK and Cancel end the dialog unless a class decides otherwise.
    virtual void onOK() { endDialog(IDOK); }
    virtual void onCancel() { endDialog(IDCANCEL); }
    void endDialog(INT_PTR result);

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE module_;
    int templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    INT_PTR endResult_ = 0;
};

} // namespace win
