#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/alarm_editing.h"
#include "core/holidays_file.h"
#include "core/repeat_rule.h"
#include "core/settings.h"

namespace {

using core::CivilDate;
using Bytes = std::vector<std::uint8_t>;

// One column per rule: every day, Mon-Fri, weekend, all seven days, once, China's working days,
// China's rest days, Mon+Wed+Fri, a value without a meaning.
const std::uint8_t Rules[] = {0x00, 0x1F, 0x60, 0x7F, 0x80, 0x81, 0x82, 0x15, 0x90};

TEST(RepeatRule, RingsOnTheDaysOfItsRule) {
    const struct {
        CivilDate date;
        const char* rings; // one digit per rule above
    } cases[] = {
        {{2026, 10, 1}, "110110101"},  // National Day, a Thursday
        {{2026, 10, 10}, "101111001"}, // a makeup working Saturday
        {{2026, 10, 12}, "110111011"}, // an ordinary Monday
        {{2026, 12, 31}, "110111001"}, // Thursday, last day of a known year
        {{2027, 1, 1}, "110111011"},   // a Friday of a year without data: Mon-Fri
        {{2027, 1, 2}, "101110101"},   // and its Saturday
    };
    const core::WorkCalendar calendar;
    for (const auto& c : cases) {
        for (std::size_t r = 0; r < sizeof(Rules); ++r) {
            EXPECT_EQ(core::ringsOn(Rules[r], c.date, calendar), c.rings[r] == '1')
                << c.date.year << "-" << c.date.month << "-" << c.date.day << " rule " << +Rules[r];
        }
    }
    EXPECT_EQ(core::nextRingDay(0x81, core::daysFromCivil(2026, 10, 1), calendar),
              core::daysFromCivil(2026, 10, 8));
}

TEST(RepeatRule, TextsAndNoticesOfUnknownYears) {
    EXPECT_EQ(core::repeatText(0x7F), L"每天");
    EXPECT_EQ(core::repeatText(0x90), L"每天");
    EXPECT_EQ(core::repeatText(0x15), L"一 三 五");
    EXPECT_EQ(core::repeatText(0x41), L"一 日");
    const core::WorkCalendar calendar;
    EXPECT_EQ(core::chinaCalendarNotice(0x81, {2026, 6, 1}, calendar), L"");
    EXPECT_EQ(core::chinaCalendarNotice(0x82, {2026, 12, 9}, calendar),
              L"2027 年的法定节假日安排未知，按周一至周五计算；可在 Holidays.txt 中补充。");
    EXPECT_EQ(core::chinaCalendarNotice(0x00, {2027, 6, 1}, calendar), L"");
    EXPECT_EQ(core::chinaCalendarNotice(0x81, {2030, 6, 1}, calendar).substr(0, 4), L"2030");
}

TEST(RepeatRule, EveryDialogChoiceComesBackFromItsRule) {
    for (int i = 0; i < core::RuleChoiceCount; ++i) {
        const auto choice = static_cast<core::RuleChoice>(i);
        const std::optional<std::uint8_t> rule = core::ruleOfChoice(choice, 0x15);
        ASSERT_TRUE(rule);
        EXPECT_EQ(core::ruleChoiceOf(*rule), choice);
    }
    EXPECT_EQ(core::ruleOfChoice(core::RuleChoice::ChosenDays, 0x7F), 0x00);
    EXPECT_FALSE(core::ruleOfChoice(core::RuleChoice::ChosenDays, 0x00));
}

// GBK's 休 and 班, the only non-ASCII bytes the ANSI files below hold.
std::wstring fakeAnsiToWide(const std::string& bytes) {
    std::wstring wide;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes.compare(i, 2, "\xD0\xDD") == 0 || bytes.compare(i, 2, "\xB0\xE0") == 0) {
            wide += bytes[i] == '\xD0' ? L'休' : L'班';
            ++i;
        } else {
            wide += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
        }
    }
    return wide;
}

TEST(HolidaysFile, ReadsBothEncodingsAndNamesTheLinesItSkips) {
    const std::string rest = "\xE4\xBC\x91", work = "\xE7\x8F\xAD"; // UTF-8 休 and 班
    const struct {
        std::string bytes;
        std::size_t badCount;
        std::wstring firstBad;
    } files[] = {
        {"\xEF\xBB\xBF# 2027\r\n2027-01-01 " + rest + "\r\n2027-02-07 " + work +
             "  # makeup\r\n\r\n2027-13-01 " + rest + "\r\n2027-01-01 " + work + "\r\n",
         1, L"2027-13-01 休"},
        {"2027-01-01 " + rest + "\n2027/2/7\t" + work + "\nholiday\n\n2027-02-30 " + rest +
             "\n2027-1-1 " + work,
         2, L"holiday"},
        {"2027-01-01 \xD0\xDD\n2027-02-07 \xB0\xE0\n# \xD0\xDD\n2027-01-01 x\n2027-02-29 "
         "\xD0\xDD\n2027-01-01 \xB0\xE0\n",
         2, L"2027-01-01 x"},
    };
    for (const auto& f : files) {
        const core::HolidaysFile file = core::HolidaysFile::parse(f.bytes, fakeAnsiToWide);
        ASSERT_EQ(file.days.size(), 3u) << f.bytes;
        ASSERT_EQ(file.badLines.size(), f.badCount);
        EXPECT_EQ(file.badLines[0].text, f.firstBad);
        core::WorkCalendar calendar;
        calendar.setOverrides(file.days);
        // The date given twice: the later line wins.
        EXPECT_TRUE(calendar.isWorkday({2027, 1, 1}));
        EXPECT_TRUE(calendar.isWorkday({2027, 2, 7})); // a Sunday
        EXPECT_TRUE(calendar.knowsYear(2027));
        EXPECT_EQ(core::unknownYearNotice(2027, calendar), L"");
    }
    const core::HolidaysFile file = core::HolidaysFile::parse(files[1].bytes, fakeAnsiToWide);
    EXPECT_EQ(file.badLines[1].number, 5);
    const std::wstring balloon = core::badHolidaysLinesText(file.badLines);
    EXPECT_NE(balloon.find(L"Holidays.txt 第 3 行"), std::wstring::npos) << balloon.c_str();
    EXPECT_NE(balloon.find(L"holiday"), std::wstring::npos);
    EXPECT_NE(balloon.find(L"另有 1 行"), std::wstring::npos);
}

TEST(AlarmRules, StoredInTheSpareByteAndRoundTripByteForByte) {
    core::ClockSettings today;
    // A file of today: entries written before the rule existed hold 0 after the time.
    today.alarms.assign({{1, "07:00:00", "a"}, {1, "08:00:00", "b"}}, core::isGbkLeadByte);
    Bytes file = core::encodeSettings(today, core::isGbkLeadByte);
    constexpr std::size_t AlarmsOffset = 32, EntrySize = 272, RuleInEntry = 13;
    const std::size_t secondRule = AlarmsOffset + 4 + EntrySize + RuleInEntry;
    file[secondRule] = 0x90; // a rule from a later version
    core::ClockSettings read;
    core::decodeSettings(file.data(), file.size(), read);
    EXPECT_EQ(read.alarms.entry(0).repeat, 0);
    EXPECT_TRUE(core::ringsOn(read.alarms.repeatAt(0), {2026, 10, 3}, core::WorkCalendar()));
    EXPECT_EQ(read.alarms.entry(1).repeat, 0x90);
    EXPECT_EQ(read.alarms.entry(1).time, "08:00:00");
    EXPECT_EQ(core::encodeSettings(read, core::isGbkLeadByte), file);

    // Through the dialog's rows: the rule comes back, all seven days as every day, and the time
    // is cut so it never runs into the rule.
    core::storeAlarmRows(read.alarms,
                         {{true, "06:30:00", "x", 0x81}, {false, "123456789", "y", 0x7F}},
                         core::isGbkLeadByte);
    EXPECT_EQ(read.alarms.entry(0).repeat, 0x81);
    EXPECT_EQ(read.alarms.entry(1).repeat, 0x00);
    EXPECT_EQ(read.alarms.entry(1).time, "12345678");
}

} // namespace
