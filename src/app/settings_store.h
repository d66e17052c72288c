#pragma once
// The clock's settings in memory, which are the master copy, and the one way to save them.
#include "app/settings_file.h"
#include "core/settings.h"

#include <functional>
#include <string>

namespace app {

class SettingsStore {
public:
    // Receives the file's path when a save fails; called once, and again only after a save has
    // succeeded in between, so a read-only folder does not nag on every change.
    using FailureReport = std::function<void(const std::wstring& path)>;

    explicit SettingsStore(std::wstring startDirectory) : file_(std::move(startDirectory)) {}

    core::ClockSettings& settings() { return settings_; }
    const core::ClockSettings& settings() const { return settings_; }

    // False when there is no file to read; the defaults stay.
    bool load() { return file_.load(settings_); }
    // Writes every setting; on failure the clock runs on with its settings in memory.
    bool save();
    void setFailureReport(FailureReport report) { report_ = std::move(report); }

    const SettingsFile& file() const { return file_; }

private:
    core::ClockSettings settings_;
    SettingsFile file_;
    FailureReport report_;
    bool failureReported_ = false;
};

} // namespace app
