#include "app/settings_store.h"

namespace app {

bool SettingsStore::save() {
    const bool saved = file_.save(settings_);
    if (saved) {
        failureReported_ = false;
    } else if (!failureReported_) {
        failureReported_ = true;
        if (report_)
            report_(file_.path());
    }
    return saved;
}

} // namespace app
