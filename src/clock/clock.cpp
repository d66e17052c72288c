#include "clock/clock.h"

#include "core/clock_timers.h"
#include "core/time_jump.h"

namespace clockwork {

Clock::Clock(const Ports& ports)
    : ports_(ports), keeper_(ports_.store, ports_.tray, ports_.codePage), tip_(ports_.tray),
      check_(keeper_, tip_, ports_) {}

void Clock::start() {
    applyLook();
    fade_.setLevel(settings().opacityIndex);
    save();
    const core::LocalTime now = ports_.time.now();
    showFrame(now, displayedOpacity());
    wakeNext(now);
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
    check_.onTime(now);
}

void Clock::onTimeChanged() {
    const core::LocalTime now = ports_.time.now();
    check_.onTime(now);
    showFrame(now, displayedOpacity());
    wakeNext(ports_.time.now());
}

void Clock::onResumed() {
    check_.onResumed();
    onTimeChanged();
}

void Clock::wakeNext(const core::LocalTime& now) {
    ports_.view.wakeAfter(fade_.running() ? core::FadePeriodMs
                                          : core::millisecondsToNextSecond(now.milliseconds));
}

void Clock::showFrame(const core::LocalTime& now, int opacity) {
    if (chime_.onFrame(now, settings()))
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
