#include "dialogs/system_shutdown.h"

#include "win/handles.h"

#include <utility>

namespace dialogs {

namespace {

constexpr UINT ShutdownFlags = EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF;
constexpr DWORD ShutdownReason = 1;

ShutdownRequest& replacement() {
    static ShutdownRequest instance;
    return instance;
}

BOOL requestShutdown() {
    if (replacement())
        return replacement()(ShutdownFlags, ShutdownReason);
    return ExitWindowsEx(ShutdownFlags, ShutdownReason);
}

bool isWindows9x(const OSVERSIONINFOW& version) {
    return version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS && version.dwMajorVersion == 4 &&
           (version.dwMinorVersion == 0 || version.dwMinorVersion == 10 ||
            version.dwMinorVersion == 90);
}

constexpr DWORD Windows2000Major = 5;

// Windows 2000 and everything after it: the same privilege and the same request.
bool isWindows2000OrLater(const OSVERSIONINFOW& version) {
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           version.dwMajorVersion >= Windows2000Major;
}

void enableShutdownPrivilege() {
    win::UniqueKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                          win::outParam(token)))
        return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid);
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

} // namespace

void setShutdownRequest(ShutdownRequest request) {
    replacement() = std::move(request);
}

BOOL shutDownSystem() {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (!GetVersionExW(&version))
        return FALSE;
    if (isWindows9x(version))
        return requestShutdown();
    if (isWindows2000OrLater(version)) {
        enableShutdownPrivilege();
        return requestShutdown();
    }
    return FALSE;
}

} // namespace dialogs
