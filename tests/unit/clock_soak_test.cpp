// The soak's days against fakes, one wake a second: every balloon the clock shows is the one the
// alarm table says is due in its second, each due second shows one, the countdown opens once a
// day and nothing is saved after the start. The Win32 soak runs the same days through the
// real window, where the balloons cannot be read back.
#include "clock_fakes.h"
#include "soak_plan.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using soak_plan::PlannedAlarm;

// The second day is a new date, on which every alarm rings again.
constexpr int SimulatedDays = 2;
// Only the first mismatches are reported one by one; all of them are counted.
constexpr int ReportedMismatches = 20;

// What the tray shows in each second: one balloon listing every alarm due then, in table order;
// nothing in any other second.
class ExpectedBalloons {
public:
    explicit ExpectedBalloons(const std::vector<PlannedAlarm>& alarms) {
        std::set<std::pair<std::string, std::wstring>> seen;
        for (const PlannedAlarm& alarm : alarms) {
            if (alarm.enabled != 1 || !seen.insert({alarm.time, alarm.reminder}).second)
                continue;
            const std::wstring time(alarm.time.begin(), alarm.time.end());
            std::wstring& text = texts_[soak_plan::secondOfDayOf(alarm.time)];
            text = text.empty() ? L"现在是北京时间：" + time + L"\n\n" + alarm.reminder
                                : text + L"\n" + alarm.reminder;
        }
    }
    const std::wstring& at(int secondOfDay) const {
        static const std::wstring none;
        const auto found = texts_.find(secondOfDay);
        return found == texts_.end() ? none : found->second;
    }
    int dueSeconds() const { return static_cast<int>(texts_.size()); }

private:
    std::map<int, std::wstring> texts_;
};

std::wstring oneLine(std::wstring text) {
    for (std::size_t at = text.find(L'\n'); at != std::wstring::npos; at = text.find(L'\n', at))
        text.replace(at, 1, L"\\n");
    return text;
}

core::ClockSettings soakSettings(const std::vector<PlannedAlarm>& alarms) {
    std::vector<core::AlarmEntry> rows;
    for (const PlannedAlarm& alarm : alarms)
        rows.push_back({alarm.enabled, alarm.time, fakes::toUtf8(alarm.reminder)});
    core::ClockSettings settings = fakes::withAlarms(rows);
    settings.shutdown = {1, 1, soak_plan::ShutdownTime};
    return settings;
}

class ClockSoak : public ::testing::Test {
protected:
    ClockSoak() {
        c.countdown.meanwhile = [this] { answerCountdown(); };
        savesAfterStart = c.store.saves;
        look(); // the start's own wake, at midnight
    }

    // Seconds from midnight of the first day.
    void wakeAt(long long at) {
        now = at;
        core::LocalTime& t = c.time.t;
        const int day = static_cast<int>(at / core::SecondsPerDay);
        t.day = 7 + day; // December has room for the few days of the soak
        t.dayOfWeek = (1 + day) % 7;
        c.time.set(static_cast<int>(at / 3600 % 24), static_cast<int>(at / 60 % 60),
                   static_cast<int>(at % 60));
        c.clock.onWake();
        look();
    }

    // What this wake left on the tray. A due second shows its balloon once, on whichever of its
    // wakes sees it first (the one inside the countdown for the shutdown's second).
    void look() {
        const int shown = c.tray.balloons - balloonsSeen;
        if (shown == 0)
            return;
        balloonsSeen = c.tray.balloons;
        const int second = static_cast<int>(now % core::SecondsPerDay);
        const std::wstring& expected = balloons.at(second);
        const bool again = !shownAt.insert(now).second;
        const bool wrong =
            shown != 1 || c.tray.balloon != expected || c.tray.title != core::BalloonTitle;
        if ((again || wrong) && ++mismatches <= ReportedMismatches)
            ADD_FAILURE() << "day " << now / core::SecondsPerDay + 1 << ", "
                          << core::timeOfDayText(second) << ": " << shown
                          << " balloon(s), the last \"" << oneLine(c.tray.balloon)
                          << "\", expected \"" << oneLine(expected) << "\""
                          << (again ? " (its second had shown one already)" : "");
    }

    // The clock is woken on inside the countdown, then the user cancels it.
    void answerCountdown() {
        EXPECT_TRUE(c.clock.shutdownPending());
        EXPECT_EQ(core::timeOfDayText(static_cast<int>(now % core::SecondsPerDay)),
                  soak_plan::ShutdownTime);
        wakeAt(now);
        for (int i = 0; i < soak_plan::CountdownSeconds; ++i)
            wakeAt(now + 1);
    }

    const std::vector<PlannedAlarm> alarms = soak_plan::plannedAlarms();
    const ExpectedBalloons balloons{alarms};
    fakes::ClockOnFakes c{soakSettings(alarms), 0, 0, 0};
    long long now = 0;
    int balloonsSeen = 0, mismatches = 0, savesAfterStart = 0;
    std::set<long long> shownAt;
};

TEST_F(ClockSoak, EverySecondShowsTheBalloonItsAlarmsCallFor) {
    ASSERT_EQ(c.clock.settings().alarms.count(), core::AlarmMaxCount);
    const long long end = 1LL * SimulatedDays * core::SecondsPerDay;
    while (now + 1 < end) {
        wakeAt(now + 1);
        if ((now + 1) % core::SecondsPerDay == 0) {
            const long long daysDone = (now + 1) / core::SecondsPerDay;
            ASSERT_EQ(c.countdown.shown, daysDone) << "one countdown a day";
            EXPECT_FALSE(c.clock.shutdownPending());
            // The fake frames would pile up over the days.
            c.view.frames.clear();
            c.view.wakes.clear();
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(balloonsSeen, balloons.dueSeconds() * SimulatedDays);
    EXPECT_EQ(c.sound.alarms, balloonsSeen);
    EXPECT_EQ(c.countdown.shown, SimulatedDays);
    EXPECT_FALSE(c.clock.shutdownPending());
    EXPECT_EQ(c.store.saves, savesAfterStart) << "saved after the start";
}

} // namespace
