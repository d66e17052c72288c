#pragma once
// Fakes for the clock's ports: a time that steps and jumps at once, and records of what the
// clock showed, said, played and saved.
#include "clock/clock.h"
#include "core/clock_timers.h"
#include "core/time_jump.h"

#include <codecvt>
#include <functional>
#include <locale>
#include <string>
#include <vector>

namespace fakes {

// Reminders in these tests are UTF-8; the clock reads them as the ANSI code page.
inline std::wstring fromUtf8(const std::string& bytes) {
    return std::wstring_convert<std::codecvt_utf8<wchar_t>>().from_bytes(bytes);
}
inline std::string toUtf8(const std::wstring& text) {
    return std::wstring_convert<std::codecvt_utf8<wchar_t>>().to_bytes(text);
}

struct Time : clockwork::TimeSource {
    core::LocalTime t{2026, 12, 7, 1, 0, 0, 0, 10};
    core::LocalTime now() override { return t; }
    void set(int hour, int minute, int second) {
        t.hour = hour;
        t.minute = minute;
        t.second = second;
    }
};

struct View : clockwork::View {
    std::vector<clockwork::Frame> frames;
    std::vector<bool> topmost;
    std::vector<unsigned> wakes;
    std::vector<std::wstring> told;
    bool clickThrough = false;
    int lookShown = -1; // -1: the look asked for
    core::WindowPosition at{300, 200};
    bool showFrame(const clockwork::Frame& frame) override {
        frames.push_back(frame);
        return true;
    }
    int applyLook(const core::ClockSettings& s) override {
        return lookShown < 0 ? s.styleIndex : lookShown;
    }
    void setTopmost(bool on) override { topmost.push_back(on); }
    void setClickThrough(bool on) override { clickThrough = on; }
    core::WindowPosition place() const override { return at; }
    void wakeAfter(unsigned ms) override { wakes.push_back(ms); }
    void tell(const std::wstring& message) override { told.push_back(message); }
};

struct Tray : clockwork::Tray {
    std::wstring tip, balloon, title;
    int balloons = 0;
    void setTip(const std::wstring& text) override { tip = text; }
    void showBalloon(const std::wstring& text, const std::wstring& heading) override {
        balloon = text;
        title = heading;
        ++balloons;
    }
};

struct Sound : clockwork::Sound {
    int alarms = 0, chimes = 0, stops = 0;
    void playAlarm() override { ++alarms; }
    void playChime() override { ++chimes; }
    void limitAlarm(int) override {}
    void stopAlarm() override { ++stops; }
};

struct Ringing : clockwork::RingingView {
    std::vector<clockwork::RingingLine> lines;
    bool open = false, soundOff = false, fails = false;
    bool showRinging(const std::vector<clockwork::RingingLine>& shown, bool off) override {
        if (fails)
            return false;
        lines = shown;
        soundOff = off;
        open = true;
        return true;
    }
    void closeRinging() override { open = false; }
};

struct Machine : clockwork::Machine {
    bool audible = true, busy = false, awake = false;
    long long wakeUtc = -1; // -1: no timer
    bool soundAudible() override { return audible; }
    bool userBusy() override { return busy; }
    void setWakeTimer(long long utcSeconds) override { wakeUtc = utcSeconds; }
    void cancelWakeTimer() override { wakeUtc = -1; }
    void keepAwake(bool on) override { awake = on; }
};

struct Store : clockwork::Store {
    std::vector<std::uint8_t> bytes;
    bool fails = false;
    int saves = 0;
    bool load(std::vector<std::uint8_t>& out) override {
        out = bytes;
        return !bytes.empty();
    }
    bool save(const std::vector<std::uint8_t>& in) override {
        ++saves;
        if (!fails)
            bytes = in;
        return !fails;
    }
    std::wstring location() const override { return L"C:\\clock\\Settings.def"; }
    std::string holidays; // "Holidays.txt", when not empty
    bool loadHolidays(std::vector<std::uint8_t>& out) override {
        out.assign(holidays.begin(), holidays.end());
        return !holidays.empty();
    }
    std::wstring holidaysLocation() const override { return L"C:\\clock\\Holidays.txt"; }
    core::ClockSettings saved() const {
        core::ClockSettings s;
        core::decodeSettings(bytes.data(), bytes.size(), s);
        return s;
    }
};

struct Countdown : clockwork::Countdown {
    clockwork::CountdownEnd end = clockwork::CountdownEnd::Cancelled;
    std::function<void()> meanwhile;
    int shown = 0;
    bool showing = false, interrupted = false;
    clockwork::CountdownEnd run() override {
        ++shown;
        showing = true;
        interrupted = false;
        if (meanwhile)
            meanwhile();
        showing = false;
        return interrupted ? clockwork::CountdownEnd::Interrupted : end;
    }
    void interrupt() override { interrupted = showing; }
};

// A clock on fakes, started on the given settings.
struct ClockOnFakes {
    Time time;
    View view;
    Tray tray;
    Sound sound;
    Store store;
    Countdown countdown;
    Ringing ringing;
    Machine machine;
    clockwork::Clock clock{
        {time, store, view, tray, sound, countdown, ringing, machine, {nullptr, &fromUtf8}}};

    // `lookShown`: the look the view manages to show, when not the one asked for.
    explicit ClockOnFakes(const core::ClockSettings& settings = {}, int hour = 9, int minute = 0,
                          int second = 0, int lookShown = -1) {
        view.lookShown = lookShown;
        start(settings, hour, minute, second);
    }
    // Started on this date, beside this "Holidays.txt".
    ClockOnFakes(const core::ClockSettings& settings, core::CivilDate date, int hour, int minute,
                 int second, const std::string& holidays = {}) {
        onDate(date);
        store.holidays = holidays;
        start(settings, hour, minute, second);
    }
    void onDate(core::CivilDate date) {
        time.t.year = date.year;
        time.t.month = date.month;
        time.t.day = date.day;
    }
    void start(const core::ClockSettings& settings, int hour, int minute, int second) {
        store.bytes = core::encodeSettings(settings, nullptr);
        time.set(hour, minute, second);
        clock.load();
        clock.start();
        clock.onWake(); // the first wake sees the start time
    }
    // The wake at the given time.
    void at(int hour, int minute, int second) {
        time.set(hour, minute, second);
        clock.onWake();
    }
    // The clock ticks into a second from the one before it.
    void reach(int hour, int minute, int second) {
        const int before =
            (hour * 3600 + minute * 60 + second + core::SecondsPerDay - 1) % core::SecondsPerDay;
        at(before / 3600, before / 60 % 60, before % 60);
        at(hour, minute, second);
    }
    // The computer woke, or the system's clock was changed, to this time.
    void jumpTo(int hour, int minute, int second) {
        time.set(hour, minute, second);
        clock.onTimeChanged();
    }
};

inline core::ClockSettings withAlarms(const std::vector<core::AlarmEntry>& rows) {
    core::ClockSettings s;
    s.alarms.assign(rows, nullptr);
    return s;
}
inline core::ClockSettings withShutdown(std::int32_t repeat, const char* time,
                                        const std::vector<core::AlarmEntry>& rows = {}) {
    core::ClockSettings s = withAlarms(rows);
    s.shutdown = {1, repeat, time};
    return s;
}
inline core::ClockSettings dimmedTo(std::int32_t opacityIndex) {
    core::ClockSettings s;
    s.opacityIndex = opacityIndex;
    return s;
}

} // namespace fakes
