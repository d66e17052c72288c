#include "clock/tray_tip.h"

#include "core/time_jump.h"

#include <algorithm>

namespace clockwork {

std::vector<std::wstring> shownLines(const std::vector<MissedLine>& lines,
                                     const core::LocalTime& now) {
    const long long today = core::daysFromCivil(now.year, now.month, now.day);
    std::vector<std::wstring> shown;
    for (const MissedLine& line : lines)
        shown.push_back(core::datedLine(line.text, line.day, today));
    return shown;
}

std::wstring TrayTip::text(const core::LocalTime& now) const {
    std::vector<std::wstring> lines = snoozes_.tipLines();
    if (!notice_.empty())
        lines.insert(lines.begin(), notice_);
    return core::trayTipText(now, shownLines(missed_, now), lines);
}

void TrayTip::addMissed(const std::vector<MissedLine>& lines, const core::LocalTime& now) {
    for (const MissedLine& line : lines) {
        // A line listed again (the clock set back and forward over it) moves to the end.
        missed_.erase(std::remove(missed_.begin(), missed_.end(), line), missed_.end());
        missed_.push_back(line);
    }
    refresh(now);
}

void TrayTip::setNotice(const std::wstring& notice, const core::LocalTime& now) {
    if (notice == notice_)
        return;
    notice_ = notice;
    refresh(now);
}

void TrayTip::clearMissed(const core::LocalTime& now) {
    if (missed_.empty())
        return;
    missed_.clear();
    refresh(now);
}

} // namespace clockwork
