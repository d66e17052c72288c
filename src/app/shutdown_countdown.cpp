#include "app/shutdown_countdown.h"

namespace app {

clockwork::CountdownEnd ShutdownCountdown::run() {
    dialogs::ShutdownCountdownDialog countdown(module_);
    showing_ = &countdown;
    const INT_PTR result = countdown.doModal(owner_);
    showing_ = nullptr;
    if (countdown.interrupted())
        return clockwork::CountdownEnd::Interrupted;
    if (result == IDCANCEL)
        return clockwork::CountdownEnd::Cancelled;
    return countdown.shutdownAccepted() ? clockwork::CountdownEnd::ShutDown
                                        : clockwork::CountdownEnd::Refused;
}

void ShutdownCountdown::interrupt() {
    if (showing_)
        showing_->interrupt();
}

} // namespace app
