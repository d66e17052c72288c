#pragma once
// The system's date and time settings, opened from the tray icon and from the clock itself.

namespace ui {

void openDateTimeSettings();

} // namespace ui
