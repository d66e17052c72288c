// Reads and writes "Settings.def" through the clock's own codec, for the end-to-end tests and
// for anyone who wants to look into a settings file:
//   veltrano-settings size             the size of a settings file in bytes
//   veltrano-settings decode FILE      one "name=value" line per field
//   veltrano-settings encode FILE      reads such lines on standard input and writes FILE
// Integers are decimal; texts are the hex of their code-page-936 bytes; the zoom is the hex of
// its IEEE single-precision bits, so NaN and infinities pass unchanged. Each alarm of the stored
// count (clamped to the table) is a line "alarm=ENABLED TIMEHEX REMINDERHEX"; alarmCount is the
// count as stored. Fields missing from the input keep their defaults.
#include "core/settings.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using IntField = std::int32_t core::ClockSettings::*;
using TextField = std::string core::ClockSettings::*;

const std::map<std::string, IntField>& intFields() {
    static const std::map<std::string, IntField> fields = {
        {"styleIndex", &core::ClockSettings::styleIndex},
        {"opacityIndex", &core::ClockSettings::opacityIndex},
        {"alwaysOnTop", &core::ClockSettings::alwaysOnTop},
        {"lockPosition", &core::ClockSettings::lockPosition},
        {"hourlyChime", &core::ClockSettings::hourlyChime},
        {"showSecondHand", &core::ClockSettings::showSecondHand},
        {"startWithSystem", &core::ClockSettings::startWithSystem},
        {"clickThrough", &core::ClockSettings::clickThrough},
        {"windowLeft", &core::ClockSettings::windowLeft},
        {"windowTop", &core::ClockSettings::windowTop},
        {"alarmSoundSeconds", &core::ClockSettings::alarmSoundSeconds},
    };
    return fields;
}

const std::map<std::string, TextField>& textFields() {
    static const std::map<std::string, TextField> fields = {
        {"alarmSoundPath", &core::ClockSettings::alarmSoundPath},
        {"customFacePath", &core::ClockSettings::customFacePath},
        {"customHourPath", &core::ClockSettings::customHourPath},
        {"customMinutePath", &core::ClockSettings::customMinutePath},
        {"customSecondPath", &core::ClockSettings::customSecondPath},
        {"customCasePath", &core::ClockSettings::customCasePath},
    };
    return fields;
}

std::string toHex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (const unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 0xF];
    }
    return hex;
}

std::string fromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::uint32_t floatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatFromBits(std::uint32_t bits) {
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int decode(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "cannot read " << path << "\n";
        return 1;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                          std::istreambuf_iterator<char>());
    core::ClockSettings s;
    core::decodeSettings(bytes.data(), bytes.size(), s);
    for (const auto& [name, field] : intFields())
        std::cout << name << "=" << s.*field << "\n";
    for (const auto& [name, field] : textFields())
        std::cout << name << "=" << toHex(s.*field) << "\n";
    std::cout << "shutdownEnabled=" << s.shutdown.shutdownEnabled << "\n"
              << "shutdownRepeat=" << s.shutdown.shutdownRepeat << "\n"
              << "shutdownTime=" << toHex(s.shutdown.shutdownTime) << "\n"
              << "alarmWakeFlags=" << static_cast<int>(s.alarmWakeFlags) << "\n";
    char zoom[16];
    std::snprintf(zoom, sizeof zoom, "%08x", static_cast<unsigned>(floatBits(s.zoom)));
    std::cout << "zoom=" << zoom << "\n";
    std::cout << "alarmCount=" << s.alarms.storedCount() << "\n";
    for (int i = 0; i < s.alarms.count(); ++i) {
        const core::AlarmEntry entry = s.alarms.entry(i);
        std::cout << "alarm=" << entry.enabled << " " << toHex(entry.time) << " "
                  << toHex(entry.reminder);
        if (entry.repeat != 0)
            std::cout << " " << static_cast<int>(entry.repeat);
        std::cout << "\n";
    }
    return 0;
}

int encode(const char* path) {
    core::ClockSettings s;
    std::vector<core::AlarmEntry> alarms;
    bool countGiven = false;
    std::int32_t count = 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string name = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (intFields().count(name)) {
            s.*intFields().at(name) = static_cast<std::int32_t>(std::stoll(value));
        } else if (textFields().count(name)) {
            s.*textFields().at(name) = fromHex(value);
        } else if (name == "shutdownEnabled") {
            s.shutdown.shutdownEnabled = static_cast<std::int32_t>(std::stoll(value));
        } else if (name == "shutdownRepeat") {
            s.shutdown.shutdownRepeat = static_cast<std::int32_t>(std::stoll(value));
        } else if (name == "shutdownTime") {
            s.shutdown.shutdownTime = fromHex(value);
        } else if (name == "alarmWakeFlags") {
            s.alarmWakeFlags = static_cast<std::uint8_t>(std::stoi(value));
        } else if (name == "zoom") {
            s.zoom = floatFromBits(static_cast<std::uint32_t>(std::stoul(value, nullptr, 16)));
        } else if (name == "alarmCount") {
            countGiven = true;
            count = static_cast<std::int32_t>(std::stoll(value));
        } else if (name == "alarm") {
            std::istringstream parts(value);
            core::AlarmEntry entry;
            std::string time, reminder;
            int repeat = 0; // the rule, when given: every day otherwise
            parts >> entry.enabled >> time >> reminder >> repeat;
            entry.repeat = static_cast<std::uint8_t>(repeat);
            entry.time = fromHex(time);
            entry.reminder = fromHex(reminder);
            alarms.push_back(entry);
        } else {
            std::cerr << "unknown field: " << name << "\n";
            return 2;
        }
    }
    s.alarms.assign(alarms, core::isGbkLeadByte);
    if (countGiven)
        s.alarms.setStoredCount(count);
    const std::vector<std::uint8_t> bytes = core::encodeSettings(s, core::isGbkLeadByte);
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return file ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "size" && argc == 2) {
        std::cout << core::SettingsFileSize << "\n";
        return 0;
    }
    if (command == "decode" && argc == 3)
        return decode(argv[2]);
    if (command == "encode" && argc == 3)
        return encode(argv[2]);
    std::cerr << "usage: veltrano-settings size | decode FILE | encode FILE < fields\n";
    return 2;
}
