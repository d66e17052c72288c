// What the clock asks of the computer, as far as Wine can show it: the resume timer falls due at
// the absolute time it was set to last, and the rest answers without a sound device's mute or a
// shell state to go by.
#include "app/clock_machine.h"
#include "app/resume_timer.h"

#include <gtest/gtest.h>

#include <ctime>
#include <limits>

namespace {

long long utcNow() {
    return static_cast<long long>(std::time(nullptr));
}

bool fallsDueWithin(HANDLE timer, DWORD ms) {
    return WaitForSingleObject(timer, ms) == WAIT_OBJECT_0;
}

} // namespace

TEST(ResumeTimer, FallsDueAtTheTimeSetLastAndNotOnceCancelled) {
    app::ResumeTimer timer;
    ASSERT_TRUE(timer.set(utcNow() + 3600));
    EXPECT_FALSE(fallsDueWithin(timer.handle(), 300));
    ASSERT_TRUE(timer.set(utcNow() + 1));
    // A time the timer cannot take leaves the one before.
    EXPECT_FALSE(timer.set(std::numeric_limits<long long>::min()));
    EXPECT_TRUE(fallsDueWithin(timer.handle(), 10000));

    ASSERT_TRUE(timer.set(utcNow() + 1));
    EXPECT_FALSE(fallsDueWithin(timer.handle(), 0)); // set again, no longer due
    timer.cancel();
    EXPECT_FALSE(fallsDueWithin(timer.handle(), 2500));
}

TEST(ClockMachine, AnswersAndHoldsTheSystemAwakeUntilLetGo) {
    app::ClockMachine machine;
    // Wine's playback device is neither muted nor silent, and its shell is never busy.
    EXPECT_TRUE(machine.soundAudible());
    EXPECT_FALSE(machine.userBusy());

    // SetThreadExecutionState answers with the state it replaces.
    constexpr EXECUTION_STATE awake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;
    machine.keepAwake(true);
    EXPECT_EQ(SetThreadExecutionState(awake), awake);
    machine.keepAwake(false);
    EXPECT_EQ(SetThreadExecutionState(ES_CONTINUOUS), static_cast<EXECUTION_STATE>(ES_CONTINUOUS));
}
