#include "core/settings.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <utility>

#include "core/byte_io.h"

namespace core {

namespace {

static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4,
              "zoom is stored as an IEEE-754 single");

constexpr std::size_t PathFieldSize = 256;
constexpr std::size_t ShutdownTimeFieldSize = 10;

constexpr std::size_t OffStyleIndex = 0;
constexpr std::size_t OffOpacityIndex = 4;
constexpr std::size_t OffAlwaysOnTop = 8;
constexpr std::size_t OffLockPosition = 12;
constexpr std::size_t OffHourlyChime = 16;
constexpr std::size_t OffShowSecondHand = 20;
constexpr std::size_t OffStartWithSystem = 24;
constexpr std::size_t OffClickThrough = 28;
constexpr std::size_t OffAlarms = 32;
constexpr std::size_t OffShutdownEnabled = OffAlarms + AlarmTableSize;
constexpr std::size_t OffShutdownRepeat = OffShutdownEnabled + 4;
constexpr std::size_t OffShutdownTime = OffShutdownRepeat + 4;
constexpr std::size_t OffWindowLeft = OffShutdownTime + ShutdownTimeFieldSize;
constexpr std::size_t OffWindowTop = OffWindowLeft + 4;
constexpr std::size_t OffZoom = OffWindowTop + 4;
constexpr std::size_t OffAlarmSoundSeconds = OffZoom + 4;
constexpr std::size_t OffAlarmSoundPath = OffAlarmSoundSeconds + 4;
constexpr std::size_t OffCustomFacePath = OffAlarmSoundPath + PathFieldSize;
constexpr std::size_t OffCustomHourPath = OffCustomFacePath + PathFieldSize;
constexpr std::size_t OffCustomMinutePath = OffCustomHourPath + PathFieldSize;
constexpr std::size_t OffCustomSecondPath = OffCustomMinutePath + PathFieldSize;
constexpr std::size_t OffCustomCasePath = OffCustomSecondPath + PathFieldSize;

static_assert(OffShutdownEnabled == 13636 && OffWindowLeft == 13654 && OffZoom == 13662 &&
                  OffAlarmSoundPath == 13670 && OffCustomCasePath == 14950,
              "field offsets are fixed by the file format");
static_assert(OffCustomCasePath + PathFieldSize == SettingsFileSize,
              "the last field ends the file");

std::uint32_t floatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatFromBits(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

class Writer {
public:
    explicit Writer(LeadBytePredicate isLead) : bytes_(SettingsFileSize, 0), isLead_(isLead) {}

    void int32(std::size_t offset, std::int32_t value) {
        byte_io::writeInt32(bytes_.data() + offset, value);
    }
    void real(std::size_t offset, float value) {
        byte_io::writeUint32(bytes_.data() + offset, floatBits(value));
    }
    void text(std::size_t offset, std::size_t fieldSize, const std::string& value) {
        byte_io::putText(bytes_.data() + offset, cutAnsi(value, fieldSize - 1, isLead_));
    }
    void raw(std::size_t offset, const std::uint8_t* data, std::size_t size) {
        std::copy(data, data + size, bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
    }

    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
    LeadBytePredicate isLead_;
};

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size)
        : data_(data), size_(data == nullptr ? 0 : std::min(size, SettingsFileSize)) {}

    bool inside(std::size_t offset, std::size_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    void int32(std::size_t offset, std::int32_t& value) const {
        if (inside(offset, 4)) {
            value = byte_io::readInt32(data_ + offset);
        }
    }
    void real(std::size_t offset, float& value) const {
        if (inside(offset, 4)) {
            value = floatFromBits(byte_io::readUint32(data_ + offset));
        }
    }
    void text(std::size_t offset, std::size_t fieldSize, std::string& value) const {
        if (!inside(offset, fieldSize)) {
            return;
        }
        const std::uint8_t* field = data_ + offset;
        if (std::find(field, field + fieldSize, std::uint8_t{0}) == field + fieldSize) {
            return; // unterminated: keep what we had rather than guess
        }
        value = byte_io::fieldText(field, fieldSize);
    }
    template <std::size_t N>
    void raw(std::size_t offset, std::array<std::uint8_t, N>& value) const {
        if (inside(offset, N)) {
            std::copy(data_ + offset, data_ + offset + N, value.begin());
        }
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

} // namespace

std::vector<std::uint8_t> encodeSettings(const ClockSettings& s, LeadBytePredicate isLead) {
    Writer w(isLead);
    w.int32(OffStyleIndex, s.styleIndex);
    w.int32(OffOpacityIndex, s.opacityIndex);
    w.int32(OffAlwaysOnTop, s.alwaysOnTop);
    w.int32(OffLockPosition, s.lockPosition);
    w.int32(OffHourlyChime, s.hourlyChime);
    w.int32(OffShowSecondHand, s.showSecondHand);
    w.int32(OffStartWithSystem, s.startWithSystem);
    w.int32(OffClickThrough, s.clickThrough);
    w.raw(OffAlarms, s.alarms.bytes().data(), AlarmTableSize);
    w.int32(OffShutdownEnabled, s.shutdown.shutdownEnabled);
    w.int32(OffShutdownRepeat, s.shutdown.shutdownRepeat);
    w.text(OffShutdownTime, ShutdownTimeFieldSize, s.shutdown.shutdownTime);
    w.int32(OffWindowLeft, s.windowLeft);
    w.int32(OffWindowTop, s.windowTop);
    w.real(OffZoom, s.zoom);
    w.int32(OffAlarmSoundSeconds, s.alarmSoundSeconds);
    w.text(OffAlarmSoundPath, PathFieldSize, s.alarmSoundPath);
    w.text(OffCustomFacePath, PathFieldSize, s.customFacePath);
    w.text(OffCustomHourPath, PathFieldSize, s.customHourPath);
    w.text(OffCustomMinutePath, PathFieldSize, s.customMinutePath);
    w.text(OffCustomSecondPath, PathFieldSize, s.customSecondPath);
    w.text(OffCustomCasePath, PathFieldSize, s.customCasePath);
    return w.take();
}

void decodeSettings(const std::uint8_t* data, std::size_t size, ClockSettings& s) {
    const Reader r(data, size);
    r.int32(OffStyleIndex, s.styleIndex);
    r.int32(OffOpacityIndex, s.opacityIndex);
    r.int32(OffAlwaysOnTop, s.alwaysOnTop);
    r.int32(OffLockPosition, s.lockPosition);
    r.int32(OffHourlyChime, s.hourlyChime);
    r.int32(OffShowSecondHand, s.showSecondHand);
    r.int32(OffStartWithSystem, s.startWithSystem);
    r.int32(OffClickThrough, s.clickThrough);
    r.raw(OffAlarms, s.alarms.bytes());
    r.int32(OffShutdownEnabled, s.shutdown.shutdownEnabled);
    r.int32(OffShutdownRepeat, s.shutdown.shutdownRepeat);
    r.text(OffShutdownTime, ShutdownTimeFieldSize, s.shutdown.shutdownTime);
    r.int32(OffWindowLeft, s.windowLeft);
    r.int32(OffWindowTop, s.windowTop);
    r.real(OffZoom, s.zoom);
    r.int32(OffAlarmSoundSeconds, s.alarmSoundSeconds);
    r.text(OffAlarmSoundPath, PathFieldSize, s.alarmSoundPath);
    r.text(OffCustomFacePath, PathFieldSize, s.customFacePath);
    r.text(OffCustomHourPath, PathFieldSize, s.customHourPath);
    r.text(OffCustomMinutePath, PathFieldSize, s.customMinutePath);
    r.text(OffCustomSecondPath, PathFieldSize, s.customSecondPath);
    r.text(OffCustomCasePath, PathFieldSize, s.customCasePath);
}

} // namespace core
