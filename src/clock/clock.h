#pragma once
// The clock's behaviour, without a window: its settings and when they are saved, the check of
// each second (alarms, the shutdown), the hourly chime, the hover fade, the window modes and
// what the tray tip says. It learns the time from the source it is handed and acts through the
// ports; the window only turns messages into calls on it.
#include "clock/alarm_ringing.h"
#include "clock/alarm_wake.h"
#include "clock/clock_check.h"
#include "clock/hourly_chime.h"
#include "clock/hover_fade.h"
#include "clock/ports.h"
#include "clock/settings_keeper.h"
#include "clock/snoozes.h"
#include "clock/tray_tip.h"
#include "clock/user_calendar.h"

namespace clockwork {

class Clock {
public:
    explicit Clock(const Ports& ports);
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;

    // Before the window is there: the stored settings, or the defaults when there are none,
    // and the user's calendar.
    bool load();
    // The window is there: the stored look and opacity, the first frame, the first wake.
    void start();
    // The one timer the clock asks for (View::wakeAfter) has fired.
    void onWake();
    // Sleep ended or the system clock was changed: settle what the jump passed over and show
    // the new time at once.
    void onTimeChanged();
    // The computer woke from sleep: a shutdown countdown still showing is cancelled, then as
    // above.
    void onResumed();
    // The computer is about to sleep: the wake timer is set afresh, also for an alarm within
    // the minute.
    void onSuspending();

    // The user answered the ringing window: the alarms it lists ring again in `minutes`, or
    // not.
    void snooze(int minutes);
    void dismissRinging();
    // The alarm dialog was accepted over the table `before`: snoozes of alarms that were
    // switched off or deleted end.
    void onAlarmsEdited(const core::AlarmTable& before);

    // Whether anyone can see the clock; no frames are drawn while nobody can.
    void setDisplayOn(bool on);
    void setSessionLocked(bool locked);

    void onHover();
    void onLeave();

    // The clock menu's commands.
    void chooseStyle(int styleIndex);
    void chooseOpacity(int opacityIndex);
    void toggleAlwaysOnTop();
    // Locking and unlocking both record where the clock stands; dragging never does.
    void toggleLockPosition();
    void toggleClickThrough();
    // The user looks at the clock (its menu, its alarms): what a jump left undone has been seen.
    void onLookedAt();

    // The pointer rests on the tray icon: its tip shows today's date.
    void onTrayPointed();
    std::wstring trayTip() { return tip_.text(ports_.time.now()); }

    // Shows the current time at the displayed opacity (after a change that shows).
    void redraw();
    bool save() { return keeper_.save(); }

    const core::WorkCalendar& calendar() const { return calendar_.calendar(); }
    core::ClockSettings& settings() { return keeper_.settings(); }
    const core::ClockSettings& settings() const { return keeper_.settings(); }
    int displayedOpacity() const { return fade_.displayedOpacity(); }
    bool shutdownPending() const { return check_.shutdownPending(); }

private:
    void showFrame(const core::LocalTime& now, int opacity);
    void wakeNext(const core::LocalTime& now);
    void applyLook();
    void afterCheck(const std::vector<Ring>& rung, const core::LocalTime& now);
    void planWake(const core::LocalTime& now) { wake_.plan(settings(), snoozes_, now); }
    // The tip's notice about China's calendar, after a change of the alarms or of the date.
    void refreshNotice(const core::LocalTime& now);
    // One of the reasons nobody can see the clock comes or goes.
    void setHidden(bool& reason, bool hidden);
    bool seen() const { return !displayOff_ && !sessionLocked_; }

    Ports ports_;
    SettingsKeeper keeper_;
    UserCalendar calendar_;
    Snoozes snoozes_;
    TrayTip tip_;
    ClockCheck check_;
    AlarmRinging ringing_;
    AlarmWake wake_;
    HourlyChime chime_;
    HoverFade fade_;
    bool displayOff_ = false, sessionLocked_ = false;
    // UTC second of the last resume from sleep; -1: none.
    long long resumedUtc_ = -1;
    // What "Holidays.txt" could not read, told once the tray is there.
    std::wstring holidaysTrouble_;
    long long noticeDay_ = -1;
};

} // namespace clockwork
