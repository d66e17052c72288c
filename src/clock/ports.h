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

protected:
    ~Store() = default;
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
    CodePage codePage;
};

} // namespace clockwork
