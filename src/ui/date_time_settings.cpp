#include "ui/date_time_settings.h"

#include "win/process_start.h"

#include <windows.h>

namespace ui {

void openDateTimeSettings() {
    // Nothing is reported when the settings do not open.
    win::startSystemProgram(L"rundll32.exe", L"shell32.dll,Control_RunDLL timedate.cpl",
                            SW_RESTORE);
}

} // namespace ui
