#pragma once
// The last twenty seconds before an automatic shutdown, in large red digits.
#include "win/dialog.h"

namespace dialogs {

class ShutdownCountdownDialog : public win::Dialog {
public:
    static constexpr unsigned StartSeconds = 20;

    explicit ShutdownCountdownDialog(HINSTANCE module);

    unsigned remainingSeconds() const { return remainingSeconds_; }
    // After the dialog ended with IDOK: whether the system took the shutdown request.
    bool shutdownAccepted() const { return shutdownAccepted_; }
    // Ends the countdown without a shutdown: the computer slept or its clock jumped meanwhile.
    void interrupt();
    bool interrupted() const { return interrupted_; }
    // The remaining seconds in the dialog's client coordinates, onto any DC.
    void drawNumber(HDC dc) const;

protected:
    win::Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;
    bool onInitDialog() override;
    void onTimer(UINT_PTR id) override;
    void onOK() override;
    void onCancel() override;

private:
    void onPaint();
    void countDown();
    int digitsLeft(int digitsWidth) const;

    unsigned remainingSeconds_ = StartSeconds;
    bool shutdownAccepted_ = false;
    bool interrupted_ = false;
    // GetTickCount of the last step; it runs on through sleep, which the steps do not.
    DWORD lastStep_ = 0;
};

} // namespace dialogs
