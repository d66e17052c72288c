#include "ui/date_time_settings.h"

#include <windows.h>

namespace ui {

void openDateTimeSettings() {
    // WinExec is the ANSI call the control panel line was always started with; the line is ASCII.
    WinExec("rundll32.exe   shell32.dll,Control_RunDLL   timedate.cpl", SW_RESTORE);
}

} // namespace ui
