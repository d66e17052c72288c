// The control layer: a control attached to a dialog item handles the notifications its parent
// hands back to it, and lets go of its window when the window goes.
#include "win/control.h"
#include "win/dialog.h"

#include "resource.h"

#include <gtest/gtest.h>

namespace {

class ClickCounter : public win::Control {
public:
    int clicks = 0;
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));

protected:
    bool handleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            ++clicks;
            return true;
        }
        if (message == WM_CTLCOLORBTN) {
            result = reinterpret_cast<LRESULT>(brush);
            return true;
        }
        return false;
    }
};

class HostDialog : public win::Dialog {
public:
    HostDialog() : Dialog(GetModuleHandleW(nullptr), IDD_SHUTDOWN_COUNTDOWN) {}
    ClickCounter button;
    int oks = 0;

protected:
    bool onInitDialog() override {
        button.attach(hwnd(), IDOK);
        return true;
    }
    void onOK() override { ++oks; }
};

} // namespace

TEST(Control, HandlesTheNotificationsItsParentHandsBack) {
    HostDialog dialog;
    dialog.createModeless(nullptr);
    const HWND item = GetDlgItem(dialog.hwnd(), IDOK);
    ASSERT_EQ(win::Control::fromWindow(item), &dialog.button);

    SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(dialog.button.clicks, 1);
    EXPECT_EQ(dialog.oks, 0); // the control took it; the dialog's own route did not run
    const LRESULT brush =
        SendMessageW(dialog.hwnd(), WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(dialog.button.brush));
    // Enter still reaches the dialog: it names no control window.
    SendMessageW(dialog.hwnd(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_EQ(dialog.oks, 1);

    DestroyWindow(dialog.hwnd());
    EXPECT_EQ(dialog.button.hwnd(), nullptr);
}
