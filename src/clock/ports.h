#pragma once
// What the clock is handed: where it learns the time, and the few things it acts through. Each
// is a handful of calls with plain types, so the clock runs as well against fakes as against
// the window, the notification area and the sound device.
#include "core/clock_time.h"
#include "core/codepage.h"
#include "core/position.h"
#include "core/settings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace clockwork {

class TimeSource {
public:
    virtual core::LocalTime now() = 0;

protected:
    ~TimeSource() = default;
};

struct Frame {
    core::LocalTime time;
    float zoom = 1.0f;
    bool showSecondHand = true;
    int opacityPercent = 100;
};

class View {
public:
    // False when the frame could not be shown.
    virtual bool showFrame(const Frame& frame) = 0;
    // Loads the images of the look the settings name; the look actually shown (the first one
    // when the chosen look cannot be loaded).
    virtual int applyLook(const core::ClockSettings& settings) = 0;
    // Above all windows, or at the very bottom of the window order.
    virtual void setTopmost(bool topmost) = 0;
    virtual void setClickThrough(bool clickThrough) = 0;
    // Where the clock stands now.
    virtual core::WindowPosition place() const = 0;
    // The clock needs to run again this many milliseconds from now; replaces an earlier request.
    virtual void wakeAfter(unsigned milliseconds) = 0;
    // A message the user must acknowledge.
    virtual void tell(const std::wstring& message) = 0;

protected:
    ~View() = default;
};

class Tray {
public:
    virtual void setTip(const std::wstring& tip) = 0;
    virtual void showBalloon(const std::wstring& text, const std::wstring& title) = 0;

protected:
    ~Tray() = default;
};

class Sound {
public:
    // The built-in alarm, or the user's file unless it already plays; never silent.
    virtual void playAlarm() = 0;
    virtual void playChime() = 0;
    // Stops a playing file that has played this many whole seconds (0: never), in case the
    // device did not stop it itself.
    virtual void limitAlarm(int seconds) = 0;
    // The user answered the alarm: silence at once.
    virtual void stopAlarm() = 0;

protected:
    ~Sound() = default;
};

class Store {
public:
    // False when there is nothing to read; `bytes` then stays empty.
    virtual bool load(std::vector<std::uint8_t>& bytes) = 0;
    virtual bool save(const std::vector<std::uint8_t>& bytes) = 0;
    // Where saves go, as the user would look for it.
    virtual std::wstring location() const = 0;
    // "Holidays.txt" beside the settings: false when there is none.
    virtual bool loadHolidays(std::vector<std::uint8_t>& bytes) = 0;
    virtual std::wstring holidaysLocation() const = 0;

protected:
    ~Store() = default;
};

// One ringing alarm as its window lists it: "07:00:00", its reminder, and for a late alarm the
// line that says how late.
struct RingingLine {
    std::wstring time;
    std::wstring reminder;
    std::wstring lateness;
};

// The window that holds ringing alarms until the user answers them.
class RingingView {
public:
    // Opens the window beside the clock without taking the keyboard from the user, or replaces
    // its list while it is open. `soundOff`: the system's sound is muted, so it says so. False
    // when it cannot be shown; the balloon and the sound still tell.
    virtual bool showRinging(const std::vector<RingingLine>& lines, bool soundOff) = 0;
    virtual void closeRinging() = 0;

protected:
    ~RingingView() = default;
};

// What the clock asks of the computer around an alarm.
class Machine {
public:
    // False when the default playback device is muted or at volume 0; true when unknown.
    virtual bool soundAudible() = 0;
    // A full-screen program, a presentation or quiet time.
    virtual bool userBusy() = 0;
    // Wakes the computer from sleep at this UTC second (since 1970); replaces an earlier one.
    // A timer that cannot be set leaves the alarms as they are.
    virtual void setWakeTimer(long long utcSeconds) = 0;
    virtual void cancelWakeTimer() = 0;
    // Keeps the system and the display on while set.
    virtual void keepAwake(bool on) = 0;

protected:
    ~Machine() = default;
};

// Interrupted: the computer slept or the clock jumped while it showed.
enum class CountdownEnd { Cancelled, ShutDown, Refused, Interrupted };

class Countdown {
public:
    // Shows the last seconds before a shutdown and returns how they ended. The clock keeps
    // being woken meanwhile.
    virtual CountdownEnd run() = 0;
    // Ends a countdown that is showing as Interrupted; nothing when none shows.
    virtual void interrupt() = 0;

protected:
    ~Countdown() = default;
};

// The texts of "Settings.def" are bytes of the ANSI code page; these read and cut them.
struct CodePage {
    core::LeadBytePredicate isLead = nullptr;
    std::wstring (*toWide)(const std::string& bytes) = nullptr;
};

struct Ports {
    TimeSource& time;
    Store& store;
    View& view;
    Tray& tray;
    Sound& sound;
    Countdown& countdown;
    RingingView& ringing;
    Machine& machine;
    CodePage codePage;
};

} // namespace clockwork
