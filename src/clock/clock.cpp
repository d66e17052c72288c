#include "clock/clock.h"

#include "core/clock_timers.h"
#include "core/time_jump.h"

namespace clockwork {

Clock::Clock(const Ports& ports)
    : ports_(ports), keeper_(ports_.store, ports_.tray, ports_.codePage),
      calendar_(ports_.store, ports_.codePage), tip_(ports_.tray, snoozes_),
      check_(keeper_, tip_, snoozes_, calendar_.calendar(), ports_),
      ringing_(ports_.ringing, ports_.sound, ports_.machine),
      wake_(ports_.machine, calendar_.calendar()) {}

bool Clock::load() {
    const bool loaded = keeper_.load();
    holidaysTrouble_ = calendar_.load();
    return loaded;
}

void Clock::refreshNotice(const core::LocalTime& now) {
    noticeDay_ = core::daysFromCivil(now.year, now.month, now.day);
    tip_.setNotice(calendar_.notice(settings().alarms, now), now);
}

namespace {

long long utcSeconds(const core::LocalTime& t) {
    return core::localSeconds(t) - t.utcOffsetSeconds;
}

} // namespace

void Clock::start() {
    applyLook();
    fade_.setLevel(settings().opacityIndex);
    save();
    const core::LocalTime now = ports_.time.now();
    showFrame(now, displayedOpacity());
    wakeNext(now);
    planWake(now);
    refreshNotice(now);
    if (!holidaysTrouble_.empty())
        ports_.tray.showBalloon(holidaysTrouble_, NoticeTitle);
}

void Clock::onWake() {
    const core::LocalTime now = ports_.time.now();
    if (fade_.running()) {
        if (const auto opacity = fade_.step(settings().opacityIndex))
            showFrame(now, *opacity);
    } else {
        showFrame(now, displayedOpacity());
    }
    // Asked for before the check: a countdown it opens keeps the clock running inside it.
    wakeNext(now);
    ports_.sound.limitAlarm(settings().alarmSoundSeconds);
    ringing_.onTime(utcSeconds(now));
    afterCheck(check_.onTime(now), now);
    if (core::daysFromCivil(now.year, now.month, now.day) != noticeDay_)
        refreshNotice(now);
}

void Clock::onTimeChanged() {
    const core::LocalTime now = ports_.time.now();
    afterCheck(check_.onTime(now), now);
    showFrame(now, displayedOpacity());
    wakeNext(ports_.time.now());
    planWake(ports_.time.now());
}

void Clock::onResumed() {
    resumedUtc_ = utcSeconds(ports_.time.now());
    check_.onResumed();
    onTimeChanged();
}

void Clock::onSuspending() {
    planWake(ports_.time.now());
}

void Clock::afterCheck(const std::vector<Ring>& rung, const core::LocalTime& now) {
    if (rung.empty())
        return;
    // An alarm that rings soon after a resume is what woke the computer (or found it woken).
    const bool woken = core::wakesForAlarms(settings()) && resumedUtc_ >= 0 &&
                       utcSeconds(now) - resumedUtc_ <= core::LateAlarmLimitSeconds;
    ringing_.ring(rung, woken, utcSeconds(now));
    planWake(now);
}

void Clock::snooze(int minutes) {
    const core::LocalTime now = ports_.time.now();
    snoozes_.add(ringing_.answer(), core::localSeconds(now) + minutes * 60LL);
    tip_.refresh(now);
    planWake(now);
}

void Clock::dismissRinging() {
    ringing_.answer();
}

void Clock::onAlarmsEdited(const core::AlarmTable& before) {
    const core::LocalTime now = ports_.time.now();
    snoozes_.onTableEdited(before, settings().alarms);
    refreshNotice(now);
    tip_.refresh(now);
    planWake(now);
}

void Clock::wakeNext(const core::LocalTime& now) {
    ports_.view.wakeAfter(fade_.running() ? core::FadePeriodMs
                                          : core::millisecondsToNextSecond(now.milliseconds));
}

void Clock::showFrame(const core::LocalTime& now, int opacity) {
    const long long hour = core::localSeconds(now) / core::SecondsPerHour * core::SecondsPerHour;
    // The alarms are looked up only in the seconds the chime may still sound in.
    const bool nearHour = core::localSeconds(now) - hour <= core::ChimeLateLimitSeconds;
    const bool alarmAtTheHour = nearHour && (snoozes_.dueAt(hour) || check_.ringsAt(hour));
    // Asked only when the chime is due; a presentation or a full-screen game is not disturbed.
    if (chime_.onFrame(now, settings(), alarmAtTheHour) && !ports_.machine.userBusy())
        ports_.sound.playChime();
    // No frames while nobody can see them: the display is off or the session locked.
    if (!seen())
        return;
    ports_.view.showFrame({now, settings().zoom, settings().showSecondHand != 0, opacity});
}

void Clock::redraw() {
    showFrame(ports_.time.now(), displayedOpacity());
}

void Clock::setDisplayOn(bool on) {
    setHidden(displayOff_, !on);
}

void Clock::setSessionLocked(bool locked) {
    setHidden(sessionLocked_, locked);
}

void Clock::setHidden(bool& reason, bool hidden) {
    const bool wasSeen = seen();
    reason = hidden;
    // Seen again: the current time at once, not the frame from before.
    if (seen() && !wasSeen)
        redraw();
}

void Clock::onHover() {
    if (fade_.onHover())
        wakeNext(ports_.time.now());
}

void Clock::onLeave() {
    if (fade_.onLeave(settings().opacityIndex))
        wakeNext(ports_.time.now());
}

void Clock::applyLook() {
    settings().styleIndex = ports_.view.applyLook(settings());
    ports_.view.setTopmost(settings().alwaysOnTop != 0);
}

void Clock::chooseStyle(int styleIndex) {
    settings().styleIndex = styleIndex;
    applyLook();
    save();
    redraw();
}

void Clock::chooseOpacity(int opacityIndex) {
    settings().opacityIndex = opacityIndex;
    fade_.setLevel(opacityIndex);
    save();
    redraw();
}

void Clock::toggleAlwaysOnTop() {
    settings().alwaysOnTop = !settings().alwaysOnTop;
    ports_.view.setTopmost(settings().alwaysOnTop != 0);
    save();
}

void Clock::toggleLockPosition() {
    settings().lockPosition = !settings().lockPosition;
    const core::WindowPosition place = ports_.view.place();
    settings().windowLeft = place.left;
    settings().windowTop = place.top;
    save();
}

void Clock::toggleClickThrough() {
    settings().clickThrough = !settings().clickThrough;
    ports_.view.setClickThrough(settings().clickThrough != 0);
    save();
}

void Clock::onLookedAt() {
    tip_.clearMissed(ports_.time.now());
}

void Clock::onTrayPointed() {
    tip_.refresh(ports_.time.now());
}

} // namespace clockwork
