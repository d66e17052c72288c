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
// The time's text ends at the field's ninth byte; its tenth holds the alarm wake flags.
constexpr std::size_t ShutdownTimeTextSize = ShutdownTimeFieldSize - 1;
constexpr std::size_t OffAlarmWakeFlags = OffShutdownTime + ShutdownTimeTextSize;
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

static_assert(OffShutdownEnabled == 13636 && OffAlarmWakeFlags == 13653 && OffWindowLeft == 13654 &&
                  OffZoom == 13662 && OffAlarmSoundPath == 13670 && OffCustomCasePath == 14950,
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
    void byte(std::size_t offset, std::uint8_t value) { bytes_[offset] = value; }
    void real(std::size_t offset, float value) {
        byte_io::writeUint32(bytes_.data() + offset, floatBits(value));
    }
    void text(std::size_t offset, std::size_t fieldSize, const std::string& value) {
        byte_io::putText(bytes_.data() + offset, cutAnsi(value, fieldSize - 1, isLead_));
    }
    template <std::size_t N>
    void raw(std::size_t offset, const std::array<std::uint8_t, N>& value) {
        std::copy(value.begin(), value.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
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
    void byte(std::size_t offset, std::uint8_t& value) const {
        if (inside(offset, 1)) {
            value = data_[offset];
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

// The file's fields in file order, for the writer and the reader alike, so the layout is
// written down once.
template <typename Io, typename Settings> void eachField(Io& io, Settings& s) {
    io.int32(OffStyleIndex, s.styleIndex);
    io.int32(OffOpacityIndex, s.opacityIndex);
    io.int32(OffAlwaysOnTop, s.alwaysOnTop);
    io.int32(OffLockPosition, s.lockPosition);
    io.int32(OffHourlyChime, s.hourlyChime);
    io.int32(OffShowSecondHand, s.showSecondHand);
    io.int32(OffStartWithSystem, s.startWithSystem);
    io.int32(OffClickThrough, s.clickThrough);
    io.raw(OffAlarms, s.alarms.bytes());
    io.int32(OffShutdownEnabled, s.shutdown.shutdownEnabled);
    io.int32(OffShutdownRepeat, s.shutdown.shutdownRepeat);
    io.text(OffShutdownTime, ShutdownTimeTextSize, s.shutdown.shutdownTime);
    io.byte(OffAlarmWakeFlags, s.alarmWakeFlags);
    io.int32(OffWindowLeft, s.windowLeft);
    io.int32(OffWindowTop, s.windowTop);
    io.real(OffZoom, s.zoom);
    io.int32(OffAlarmSoundSeconds, s.alarmSoundSeconds);
    io.text(OffAlarmSoundPath, PathFieldSize, s.alarmSoundPath);
    io.text(OffCustomFacePath, PathFieldSize, s.customFacePath);
    io.text(OffCustomHourPath, PathFieldSize, s.customHourPath);
    io.text(OffCustomMinutePath, PathFieldSize, s.customMinutePath);
    io.text(OffCustomSecondPath, PathFieldSize, s.customSecondPath);
    io.text(OffCustomCasePath, PathFieldSize, s.customCasePath);
}

} // namespace

std::vector<std::uint8_t> encodeSettings(const ClockSettings& s, LeadBytePredicate isLead) {
    Writer w(isLead);
    eachField(w, s);
    return w.take();
}

void decodeSettings(const std::uint8_t* data, std::size_t size, ClockSettings& s) {
    const Reader r(data, size);
    eachField(r, s);
}

} // namespace core
