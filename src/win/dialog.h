#pragma once
// The dialog layer: a dialog object owns its window; the base decodes each message once and
// calls a typed hook, so a class's message table reads as one short list of routes.
#include <windows.h>

#include <commctrl.h>

#include "win/handled.h"
#include "win/window_text.h"

#include <string>

namespace win {

class Dialog {
public:
    Dialog(HINSTANCE module, int templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog in its own modal loop and returns the value it ended with. The owner stays
    // disabled until the last of our modal dialogs it owns has ended, in whatever order they end.
    INT_PTR doModal(HWND parent);
    // Creates the dialog without a loop of its own; tests drive such windows by messages.
    HWND createModeless(HWND parent);

    HWND hwnd() const { return hwnd_; }
    HINSTANCE module() const { return module_; }
    bool isModal() const { return modal_; }
    INT_PTR endResult() const { return endResult_; }

protected:
    // Messages before the typed hooks below; `result` is the answer when it returns Handled::Yes.
    virtual Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // WM_INITDIALOG; true lets the system set the focus.
    virtual bool onInitDialog() { return true; }
    // BN_CLICKED from button `id` (Enter and Escape count as IDOK and IDCANCEL); true when handled.
    virtual bool onButtonClicked(int id);
    // WM_COMMAND from a menu, an accelerator or a control that does not handle it itself, and a
    // click that onButtonClicked did not handle. Unhandled IDOK and IDCANCEL go to onOK and
    // onCancel.
    virtual bool onCommand(int id, int code, HWND control);
    // WM_NOTIFY that no control handled itself.
    virtual bool onNotify(int id, NMHDR& header, LRESULT& result);
    // WM_TIMER; the default processing follows.
    virtual void onTimer(UINT_PTR id);
    // OK and Cancel end the dialog unless a class decides otherwise.
    virtual void onOK() { endDialog(IDOK); }
    virtual void onCancel() { endDialog(IDCANCEL); }
    void endDialog(INT_PTR result);

    // Dialog items.
    HWND item(int id) const { return GetDlgItem(hwnd_, id); }
    bool isChecked(int id) const;
    void setChecked(int id, bool checked);
    std::wstring itemText(int id) const;
    void setItemText(int id, const std::wstring& text);
    int itemInt(int id) const;
    void setItemInt(int id, int value);
    // True when the keyboard focus is on item `id` or on one of its inner parts.
    bool hasFocusWithin(int id) const;

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void holdOwner(HWND owner);
    void releaseOwner();

    HINSTANCE module_;
    int templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    INT_PTR endResult_ = 0;
    // The window this modal dialog keeps disabled, until it ends.
    HWND heldOwner_ = nullptr;
};

// WM_PAINT of a window that shows only its icon when minimised: paints the icon centred and
// returns true, or returns false for a window that is not minimised.
bool paintMinimisedIcon(HWND window, HICON icon);

} // namespace win
