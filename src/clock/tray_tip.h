#pragma once
// The tray icon's tip: today's date, the alarms put off for later and, until the user has looked at
// the clock's menu or its alarms, what a jump left undone, each line once.
#include "clock/ports.h"
#include "clock/snoozes.h"

namespace clockwork {

struct MissedLine {
    long long day; // days since 1970 of the local date it was due
    std::wstring text;
    bool operator==(const MissedLine& other) const {
        return day == other.day && text == other.text;
    }
};

class TrayTip {
public:
    TrayTip(Tray& tray, const Snoozes& snoozes) : tray_(tray), snoozes_(snoozes) {}

    std::wstring text(const core::LocalTime& now) const;
    void refresh(const core::LocalTime& now) { tray_.setTip(text(now)); }
    void addMissed(const std::vector<MissedLine>& lines, const core::LocalTime& now);
    void clearMissed(const core::LocalTime& now);
    // A line under the date that stays until it is replaced (empty: none).
    void setNotice(const std::wstring& notice, const core::LocalTime& now);

private:
    Tray& tray_;
    const Snoozes& snoozes_;
    std::vector<MissedLine> missed_;
    std::wstring notice_;
};

// The lines as shown on `now`'s date: with their own date when it is another.
std::vector<std::wstring> shownLines(const std::vector<MissedLine>& lines,
                                     const core::LocalTime& now);

} // namespace clockwork
