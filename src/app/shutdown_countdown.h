#pragma once
// The countdown before an automatic shutdown, run as a modal dialog owned by the clock.
#include <windows.h>

#include "clock/ports.h"
#include "dialogs/shutdown_countdown_dialog.h"

namespace app {

class ShutdownCountdown : public clockwork::Countdown {
public:
    void attach(HWND owner, HINSTANCE module) {
        owner_ = owner;
        module_ = module;
    }
    clockwork::CountdownEnd run() override;
    void interrupt() override;

private:
    HWND owner_ = nullptr;
    HINSTANCE module_ = nullptr;
    dialogs::ShutdownCountdownDialog* showing_ = nullptr;
};

} // namespace app
