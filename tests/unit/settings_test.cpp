#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/settings.h"

namespace {

using core::ClockSettings;
using core::decodeSettings;
using core::encodeSettings;
using core::SettingsFileSize;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t OffShutdownTime = 13644;
constexpr std::size_t OffWindowLeft = 13654;
constexpr std::size_t OffZoom = 13662;
constexpr std::size_t OffSoundSeconds = 13666;
constexpr std::size_t OffSoundPath = 13670;
constexpr std::size_t OffFacePath = 13926;
constexpr std::size_t OffCasePath = 14950;

Bytes encodeDefaults() {
    return encodeSettings(ClockSettings{}, core::isGbkLeadByte);
}

Bytes at(const Bytes& b, std::size_t offset, std::size_t n) {
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(offset),
                 b.begin() + static_cast<std::ptrdiff_t>(offset + n));
}

std::string textAt(const Bytes& b, std::size_t offset) {
    return std::string(reinterpret_cast<const char*>(&b[offset]));
}

ClockSettings distinctive() {
    ClockSettings s;
    s.styleIndex = 3;
    s.opacityIndex = 4;
    s.alwaysOnTop = 1;
    s.lockPosition = 1;
    s.hourlyChime = 0;
    s.showSecondHand = 0;
    s.startWithSystem = 1;
    s.clickThrough = -2;
    s.alarms.assign({{1, "06:45:00", "\xC6\xF0\xB4\xB2 get up"}, {0, "18:00:00", "off"}},
                    core::isGbkLeadByte);
    s.shutdown.shutdownEnabled = 1;
    s.shutdown.shutdownRepeat = 7;
    s.shutdown.shutdownTime = "23:15:00";
    s.alarmWakeFlags = 0x81; // the wake bit and one this version does not know
    s.windowLeft = -123456;
    s.windowTop = 0x12345678;
    s.zoom = 1.75f;
    s.alarmSoundSeconds = 90;
    s.alarmSoundPath = "C:\\Sounds\\\xC4\xD6\xD6\xD3.wav";
    s.customFacePath = "D:\\face.png";
    s.customHourPath = "D:\\hour.png";
    s.customMinutePath = "D:\\minute.png";
    s.customSecondPath = "D:\\second.png";
    s.customCasePath = "D:\\case.png";
    return s;
}

// Every field by its name, as text (the zoom by its bits), so settings compare field by field.
using Fields = std::map<std::string, std::string>;
Fields fieldsOf(const ClockSettings& s) {
    std::uint32_t zoomBits = 0;
    std::memcpy(&zoomBits, &s.zoom, sizeof zoomBits);
    const auto n = [](std::int64_t value) { return std::to_string(value); };
    return {{"styleIndex", n(s.styleIndex)},
            {"opacityIndex", n(s.opacityIndex)},
            {"alwaysOnTop", n(s.alwaysOnTop)},
            {"lockPosition", n(s.lockPosition)},
            {"hourlyChime", n(s.hourlyChime)},
            {"showSecondHand", n(s.showSecondHand)},
            {"startWithSystem", n(s.startWithSystem)},
            {"clickThrough", n(s.clickThrough)},
            {"alarms", std::string(s.alarms.bytes().begin(), s.alarms.bytes().end())},
            {"shutdownEnabled", n(s.shutdown.shutdownEnabled)},
            {"shutdownRepeat", n(s.shutdown.shutdownRepeat)},
            {"shutdownTime", s.shutdown.shutdownTime},
            {"alarmWakeFlags", n(s.alarmWakeFlags)},
            {"windowLeft", n(s.windowLeft)},
            {"windowTop", n(s.windowTop)},
            {"zoom", n(zoomBits)},
            {"alarmSoundSeconds", n(s.alarmSoundSeconds)},
            {"alarmSoundPath", s.alarmSoundPath},
            {"customFacePath", s.customFacePath},
            {"customHourPath", s.customHourPath},
            {"customMinutePath", s.customMinutePath},
            {"customSecondPath", s.customSecondPath},
            {"customCasePath", s.customCasePath}};
}

TEST(SettingsEncode, DefaultsProduceTheKnownImage) {
    const Bytes b = encodeDefaults();
    ASSERT_EQ(b.size(), SettingsFileSize);
    Bytes head(32, 0);
    head[16] = 1;
    head[20] = 1;
    EXPECT_EQ(at(b, 0, 32), head);
    EXPECT_TRUE(std::all_of(b.begin() + 32, b.begin() + OffShutdownTime + 10,
                            [](std::uint8_t v) { return v == 0; }));
    EXPECT_EQ(at(b, OffWindowLeft, 8), Bytes(8, 0xFF));
    EXPECT_EQ(at(b, OffZoom, 4), (Bytes{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(at(b, OffSoundSeconds, 4), (Bytes{0x1E, 0, 0, 0}));
    EXPECT_TRUE(
        std::all_of(b.begin() + OffSoundPath, b.end(), [](std::uint8_t v) { return v == 0; }));
}

TEST(SettingsEncode, IntegersAreLittleEndianAtTheirOffsets) {
    ClockSettings s;
    s.windowTop = 0x12345678;
    s.alarmSoundSeconds = -2;
    s.zoom = -2.5f; // 0xC0200000
    const Bytes b = encodeSettings(s, core::isGbkLeadByte);
    EXPECT_EQ(at(b, 13658, 4), (Bytes{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(at(b, OffSoundSeconds, 4), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(at(b, OffZoom, 4), (Bytes{0x00, 0x00, 0x20, 0xC0}));
}

TEST(SettingsEncode, AlarmBlockIsCopiedVerbatim) {
    ClockSettings s;
    for (std::size_t i = 0; i < core::AlarmTableSize; ++i)
        s.alarms.bytes()[i] = static_cast<std::uint8_t>(i * 7 + 1);
    const Bytes b = encodeSettings(s, core::isGbkLeadByte);
    EXPECT_TRUE(std::equal(s.alarms.bytes().begin(), s.alarms.bytes().end(), b.begin() + 32));
    EXPECT_EQ(b[13636], 0); // shutdownEnabled follows untouched
}

TEST(SettingsRoundTrip, EveryFieldSurvives) {
    const ClockSettings original = distinctive();
    const Bytes b = encodeSettings(original, core::isGbkLeadByte);
    ASSERT_EQ(b.size(), SettingsFileSize);
    ClockSettings decoded;
    decodeSettings(b.data(), b.size(), decoded);
    EXPECT_EQ(fieldsOf(decoded), fieldsOf(original));
    EXPECT_EQ(encodeSettings(decoded, core::isGbkLeadByte), b);
}

TEST(SettingsRoundTrip, DecodeOverwritesEarlierValues) {
    const Bytes b = encodeDefaults();
    ClockSettings s = distinctive();
    decodeSettings(b.data(), b.size(), s);
    EXPECT_EQ(fieldsOf(s), fieldsOf(ClockSettings{}));
}

TEST(SettingsPaths, A255BytePathFillsItsFieldUpToTheTerminator) {
    ClockSettings s;
    s.customFacePath = std::string(255, 'p');
    const Bytes b = encodeSettings(s, core::isGbkLeadByte);
    EXPECT_EQ(at(b, OffFacePath, 255), Bytes(255, 'p'));
    EXPECT_EQ(b[OffFacePath + 255], 0);
    EXPECT_EQ(b[OffFacePath + 256], 0); // next field untouched
    ClockSettings d;
    decodeSettings(b.data(), b.size(), d);
    EXPECT_EQ(d.customFacePath, s.customFacePath);
}

TEST(SettingsPaths, LongerPathsAreCutTo255Bytes) {
    for (const std::size_t length : {std::size_t{256}, std::size_t{300}}) {
        ClockSettings s;
        s.alarmSoundPath = std::string(length, 'a');
        s.customFacePath = std::string(length, 'f');
        const Bytes b = encodeSettings(s, core::isGbkLeadByte);
        ASSERT_EQ(b.size(), SettingsFileSize);
        EXPECT_EQ(textAt(b, OffSoundPath), std::string(255, 'a'));
        EXPECT_EQ(b[OffSoundPath + 255], 0);
        EXPECT_EQ(textAt(b, OffFacePath), std::string(255, 'f'));
    }
}

TEST(SettingsPaths, LastPathFieldEndsTheFileWithItsTerminator) {
    ClockSettings s;
    s.customCasePath = std::string(400, 'c');
    const Bytes b = encodeSettings(s, core::isGbkLeadByte);
    ASSERT_EQ(b.size(), SettingsFileSize);
    EXPECT_EQ(at(b, OffCasePath, 255), Bytes(255, 'c'));
    EXPECT_EQ(b.back(), 0);
}

TEST(SettingsPaths, DoubleByteCharacterStraddlingTheEndIsDropped) {
    ClockSettings s;
    // 254 ASCII bytes then a GBK character occupying bytes 254 and 255.
    s.customHourPath = std::string(254, 'h') + "\xBA\xBA";
    const Bytes b = encodeSettings(s, core::isGbkLeadByte);
    EXPECT_EQ(textAt(b, 14182), std::string(254, 'h'));
    EXPECT_EQ(b[14182 + 254], 0);
    EXPECT_EQ(b[14182 + 255], 0);
}

TEST(SettingsShutdownTime, LongerThanEightBytesIsCutBeforeTheWakeFlags) {
    ClockSettings s;
    s.shutdown.shutdownTime = "12:34:56789XYZ";
    core::setWakeForAlarms(s, true);
    const Bytes b = encodeSettings(s, core::isGbkLeadByte);
    EXPECT_EQ(at(b, OffShutdownTime, 10), (Bytes{'1', '2', ':', '3', '4', ':', '5', '6', 0, 1}));
    EXPECT_EQ(at(b, OffWindowLeft, 4), Bytes(4, 0xFF));
}

TEST(SettingsDecode, EmptyOrNullDataKeepsEverything) {
    const ClockSettings original = distinctive();
    ClockSettings s = original;
    decodeSettings(nullptr, 0, s);
    EXPECT_EQ(fieldsOf(s), fieldsOf(original));
    const std::uint8_t one = 9;
    decodeSettings(&one, 0, s);
    EXPECT_EQ(fieldsOf(s), fieldsOf(original));
}

// Data that stops partway: fields wholly inside are read, the rest keep their values.
struct ShortFile {
    const char* name;
    std::size_t size;
    std::vector<std::string> read, kept;
};

std::ostream& operator<<(std::ostream& out, const ShortFile& cut) {
    return out << cut.name;
}

class SettingsDecodeShort : public ::testing::TestWithParam<ShortFile> {};

TEST_P(SettingsDecodeShort, ReadsTheFieldsWhollyInside) {
    const Bytes full = encodeSettings(distinctive(), core::isGbkLeadByte);
    // Copied into an exact-size buffer so AddressSanitizer catches any read past the size.
    const Bytes prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(GetParam().size));
    ClockSettings s;
    decodeSettings(prefix.data(), prefix.size(), s);
    const Fields decoded = fieldsOf(s), values = fieldsOf(distinctive()),
                 defaults = fieldsOf(ClockSettings{});
    for (const std::string& name : GetParam().read)
        EXPECT_EQ(decoded.at(name), values.at(name)) << name;
    for (const std::string& name : GetParam().kept)
        EXPECT_EQ(decoded.at(name), defaults.at(name)) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Cuts, SettingsDecodeShort,
    ::testing::Values(
        // showSecondHand would need bytes 20..23.
        ShortFile{"TwentyBytes",
                  20,
                  {"styleIndex", "hourlyChime"},
                  {"showSecondHand", "startWithSystem", "alarms", "zoom"}},
        ShortFile{"IntegerCutInHalfKeepsItsValue", 22, {}, {"showSecondHand"}},
        // The alarms and shutdownEnabled inside, shutdownRepeat not.
        ShortFile{"ThirteenThousandSixHundredForty",
                  13640,
                  {"clickThrough", "alarms", "shutdownEnabled"},
                  {"shutdownRepeat", "shutdownTime", "windowLeft"}},
        ShortFile{"AlarmBlockOneByteShortIsNotTaken",
                  32 + core::AlarmTableSize - 1,
                  {"clickThrough"},
                  {"alarms"}},
        // Up to alarmSoundSeconds; the sound path field is cut.
        ShortFile{"ThirteenThousandSevenHundred",
                  13700,
                  {"shutdownTime", "windowLeft", "windowTop", "zoom", "alarmSoundSeconds"},
                  {"alarmSoundPath", "customCasePath"}},
        ShortFile{"LastFieldNeedsItsWholeField",
                  SettingsFileSize - 1,
                  {"customSecondPath"},
                  {"customCasePath"}}),
    [](const ::testing::TestParamInfo<ShortFile>& info) { return std::string(info.param.name); });

TEST(SettingsDecode, BytesPastTheEndAreIgnored) {
    Bytes b = encodeSettings(distinctive(), core::isGbkLeadByte);
    b.resize(SettingsFileSize + 500, 0x5A);
    ClockSettings s;
    decodeSettings(b.data(), b.size(), s);
    EXPECT_EQ(fieldsOf(s), fieldsOf(distinctive()));
}

TEST(SettingsDecode, UnterminatedTextKeepsItsValue) {
    Bytes b = encodeSettings(distinctive(), core::isGbkLeadByte);
    std::fill(b.begin() + OffFacePath, b.begin() + OffFacePath + 256, std::uint8_t{'x'});
    std::memcpy(&b[OffShutdownTime], "0123456789", 10);
    ClockSettings s;
    s.customFacePath = "kept";
    s.shutdown.shutdownTime = "kept too";
    decodeSettings(b.data(), b.size(), s);
    EXPECT_EQ(s.customFacePath, "kept");
    EXPECT_EQ(s.shutdown.shutdownTime, "kept too");
    EXPECT_EQ(s.customHourPath, distinctive().customHourPath); // its neighbour is still read
}

TEST(SettingsDecode, ValuesAreNotRangeChecked) {
    ClockSettings odd;
    odd.styleIndex = 99;
    odd.opacityIndex = -7;
    odd.alarmSoundSeconds = 0;
    odd.zoom = -3.0f;
    const Bytes b = encodeSettings(odd, core::isGbkLeadByte);
    ClockSettings s;
    decodeSettings(b.data(), b.size(), s);
    EXPECT_EQ(s.styleIndex, 99);
    EXPECT_EQ(s.opacityIndex, -7);
    EXPECT_EQ(s.alarmSoundSeconds, 0);
    EXPECT_EQ(s.zoom, -3.0f);
}

} // namespace
