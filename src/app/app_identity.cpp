#include "app/app_identity.h"

#include "win/system_library.h"

#include <windows.h>

namespace app {

namespace {

using SetAppIdFunction = HRESULT(WINAPI*)(const wchar_t*);

} // namespace

void claimAppUserModelId() {
    // shell32 is one of the program's own imports, so it is loaded already.
    const auto setAppId = win::systemFunction<SetAppIdFunction>(
        GetModuleHandleW(L"shell32.dll"), "SetCurrentProcessExplicitAppUserModelID");
    if (setAppId)
        setAppId(AppUserModelId);
}

} // namespace app
