#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/alarm_table.h"
#include "core/codepage.h"

namespace core {

// The settings file is a fixed 15206-byte image; every integer is 32-bit signed little-endian
// and nothing is padded. Field offsets live in settings.cpp next to the code that uses them.
constexpr std::size_t SettingsFileSize = 15206;
// Each path is a zero-terminated field of this many bytes, so at most 255 bytes of text.
constexpr std::size_t PathFieldSize = 256;

struct ClockSettings {
    std::int32_t styleIndex = 0, opacityIndex = 0, alwaysOnTop = 0, lockPosition = 0,
                 hourlyChime = 1, showSecondHand = 1, startWithSystem = 0, clickThrough = 0;
    AlarmTable alarms;
    ShutdownSchedule shutdown;
    // Kept whole, so bits a later version sets survive; bit 0: wake the computer for alarms.
    std::uint8_t alarmWakeFlags = 0;
    std::int32_t windowLeft = -1, windowTop = -1;
    float zoom = 1.0f;
    std::int32_t alarmSoundSeconds = 30;
    // Paths are bytes in the ANSI code page.
    std::string alarmSoundPath, customFacePath, customHourPath, customMinutePath, customSecondPath,
        customCasePath;
};

constexpr std::uint8_t WakeForAlarmsBit = 0x01;
inline bool wakesForAlarms(const ClockSettings& s) {
    return (s.alarmWakeFlags & WakeForAlarmsBit) != 0;
}
inline void setWakeForAlarms(ClockSettings& s, bool on) {
    s.alarmWakeFlags = static_cast<std::uint8_t>(on ? s.alarmWakeFlags | WakeForAlarmsBit
                                                    : s.alarmWakeFlags & ~WakeForAlarmsBit);
}

// The custom look's image paths in the order its layers are named: face, hour, minute and second
// hand, case.
constexpr std::string ClockSettings::*CustomLookPaths[] = {
    &ClockSettings::customFacePath, &ClockSettings::customHourPath,
    &ClockSettings::customMinutePath, &ClockSettings::customSecondPath,
    &ClockSettings::customCasePath};

// Always exactly SettingsFileSize bytes. Texts are zero-terminated and zero-padded; one too long
// for its field is cut on a character boundary with `isLead`.
std::vector<std::uint8_t> encodeSettings(const ClockSettings& s, LeadBytePredicate isLead);

// Overlays `size` bytes on `s`, which holds defaults or earlier values. A field that is not wholly
// inside the data, or a text without a terminator inside its field, keeps its value. Bytes past
// SettingsFileSize are ignored. Values are not range-checked here; each user corrects its own.
void decodeSettings(const std::uint8_t* data, std::size_t size, ClockSettings& s);

} // namespace core
