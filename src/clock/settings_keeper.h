#pragma once
// The clock's settings in memory, which are the master copy, and the one way to save them: the
// whole record after every change. A save that fails is reported once, and again only after a
// save has succeeded in between, so a read-only folder does not nag on every change.
#include "clock/ports.h"

namespace clockwork {

class SettingsKeeper {
public:
    SettingsKeeper(Store& store, Tray& tray, CodePage codePage)
        : store_(store), tray_(tray), codePage_(codePage) {}

    core::ClockSettings& settings() { return settings_; }
    const core::ClockSettings& settings() const { return settings_; }
    const CodePage& codePage() const { return codePage_; }

    // False when there is no file to read; the defaults stay.
    bool load();
    // On failure the clock runs on with its settings in memory.
    bool save();

private:
    Store& store_;
    Tray& tray_;
    CodePage codePage_;
    core::ClockSettings settings_;
    bool failureReported_ = false;
};

extern const wchar_t* const NoticeTitle;

} // namespace clockwork
