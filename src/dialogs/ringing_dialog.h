#pragma once
// "闹铃": the alarms that ring, listed beside the clock above every window until the user puts
// them off for a few minutes or closes them. It opens without taking the keyboard from whatever
// the user is typing into; clicked or switched to, it is an ordinary dialog.
#include "clock/ports.h"
#include "win/dialog.h"
#include "win/modeless_keys.h"

#include <vector>

namespace dialogs {

// What the user answered; the window has hidden itself by then.
class RingingAnswer {
public:
    virtual void snooze(int minutes) = 0;
    virtual void dismiss() = 0;

protected:
    ~RingingAnswer() = default;
};

class RingingDialog : public win::Dialog, public clockwork::RingingView {
public:
    // The window is made on the first showRinging and kept, hidden in between, until this
    // object goes.
    RingingDialog(HINSTANCE module, RingingAnswer& answer);
    // `clock`: the clock's window, which owns this one and which it opens beside.
    void attach(HWND clock) { clock_ = clock; }

    bool showRinging(const std::vector<clockwork::RingingLine>& lines, bool soundOff) override;
    void closeRinging() override;

protected:
    win::Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;
    bool onInitDialog() override;
    // "稍后提醒" and Enter.
    void onOK() override;
    // "关闭", Escape and the close box.
    void onCancel() override;

private:
    void openBesideClock();
    // The minutes "稍后提醒" puts the alarms off by.
    int snoozeMinutes() const;
    void placeBesideClock();
    void chooseSnoozeMinutes(int minutes);
    void flash(bool on);
    void focusFirstControl();

    HWND clock_ = nullptr;
    RingingAnswer& answer_;
    win::ModelessKeys keys_;
    bool flashing_ = false;
};

} // namespace dialogs
