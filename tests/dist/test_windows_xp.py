"""The shipped programs load on Windows XP: they import only what XP has (the 32-bit program
cannot be run here, so it is inspected), and the 32-bit one declares XP in its header."""

import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import packages  # noqa: E402

OBJDUMP = {"x64": "x86_64-w64-mingw32-objdump", "x86": "i686-w64-mingw32-objdump"}

# DLLs that come with Windows XP and that the program may use. Anything else (a MinGW runtime
# DLL, dwmapi, an api-ms-win-* set, ucrtbase) would keep it from starting there.
XP_SYSTEM_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "gdiplus.dll", "kernel32.dll",
    "msvcrt.dll", "msvfw32.dll", "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "uxtheme.dll", "version.dll", "winmm.dll",
}

# Functions of those DLLs that first came with Windows Vista or later: what the program, its
# C and C++ runtime or a thread runtime could plausibly call.
NOT_ON_XP = {
    "kernel32.dll": {
        # time
        "GetTickCount64", "GetSystemTimePreciseAsFileTime", "GetDynamicTimeZoneInformation",
        "GetTimeZoneInformationForYear", "SystemTimeToTzSpecificLocalTimeEx",
        # synchronisation, as thread runtimes use it
        "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared",
        "ReleaseSRWLockExclusive", "ReleaseSRWLockShared", "TryAcquireSRWLockExclusive",
        "TryAcquireSRWLockShared", "InitializeConditionVariable", "SleepConditionVariableCS",
        "SleepConditionVariableSRW", "WakeConditionVariable", "WakeAllConditionVariable",
        "InitOnceInitialize", "InitOnceExecuteOnce", "InitOnceBeginInitialize",
        "InitOnceComplete", "InitializeCriticalSectionEx", "CreateEventExA", "CreateEventExW",
        "CreateMutexExA", "CreateMutexExW", "CreateSemaphoreExA", "CreateSemaphoreExW",
        "CreateWaitableTimerExW", "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue",
        "GetCurrentProcessorNumber", "GetThreadId", "GetProcessIdOfThread",
        "CreateThreadpoolWork", "SubmitThreadpoolWork", "CloseThreadpoolWork",
        "CreateThreadpoolTimer", "SetThreadpoolTimer", "CloseThreadpoolTimer",
        # files and modules
        "CreateFile2", "GetFileInformationByHandleEx", "SetFileInformationByHandle",
        "GetFinalPathNameByHandleA", "GetFinalPathNameByHandleW", "CreateSymbolicLinkA",
        "CreateSymbolicLinkW", "CancelIoEx", "CancelSynchronousIo", "GetQueuedCompletionStatusEx",
        "QueryFullProcessImageNameA", "QueryFullProcessImageNameW", "SetDefaultDllDirectories",
        "AddDllDirectory", "RemoveDllDirectory", "GetErrorMode", "SetThreadErrorMode",
        "GetThreadErrorMode", "GetProductInfo", "RegisterApplicationRestart",
        "RaiseFailFastException", "K32GetProcessMemoryInfo", "K32EnumProcesses",
        "GetLogicalProcessorInformationEx",
        # locales by name
        "GetLocaleInfoEx", "GetUserDefaultLocaleName", "GetSystemDefaultLocaleName",
        "LCMapStringEx", "CompareStringEx", "CompareStringOrdinal", "GetDateFormatEx",
        "GetTimeFormatEx", "GetNumberFormatEx", "LocaleNameToLCID", "LCIDToLocaleName",
        "ResolveLocaleName", "IsValidLocaleName", "EnumSystemLocalesEx",
        "GetUserPreferredUILanguages", "GetThreadPreferredUILanguages",
        "SetThreadPreferredUILanguages",
    },
    "user32.dll": {
        "SetProcessDPIAware", "IsProcessDPIAware", "SetProcessDpiAwarenessContext",
        "GetDpiForWindow", "GetDpiForSystem", "GetSystemMetricsForDpi",
        "SystemParametersInfoForDpi", "AdjustWindowRectExForDpi", "EnableNonClientDpiScaling",
        "LogicalToPhysicalPoint", "PhysicalToLogicalPoint", "ChangeWindowMessageFilter",
        "ChangeWindowMessageFilterEx", "AddClipboardFormatListener",
        "RemoveClipboardFormatListener", "ShutdownBlockReasonCreate",
        "ShutdownBlockReasonDestroy", "RegisterPowerSettingNotification",
        "UnregisterPowerSettingNotification", "SetWindowDisplayAffinity",
        "CalculatePopupWindowPosition", "RegisterTouchWindow", "GetPointerInfo",
    },
    "gdiplus.dll": {
        # GDI+ 1.1; Windows XP has 1.0
        "GdipCreateEffect", "GdipDeleteEffect", "GdipSetEffectParameters",
        "GdipBitmapApplyEffect", "GdipBitmapCreateApplyEffect", "GdipBitmapConvertFormat",
        "GdipBitmapGetHistogram", "GdipInitializePalette", "GdipDrawImageFX",
        "GdipImageSetAbort",
    },
    "comctl32.dll": {
        "TaskDialog", "TaskDialogIndirect", "LoadIconMetric", "LoadIconWithScaleDown",
    },
    "shell32.dll": {
        "SHGetKnownFolderPath", "SHGetKnownFolderIDList", "SHSetKnownFolderPath",
        "SHCreateItemFromParsingName", "SHGetStockIconInfo", "Shell_NotifyIconGetRect",
        "SHGetPropertyStoreForWindow", "SHOpenWithDialog",
    },
    "advapi32.dll": {
        "RegGetValueA", "RegGetValueW", "RegSetKeyValueA", "RegSetKeyValueW",
        "RegDeleteKeyValueA", "RegDeleteKeyValueW", "RegDeleteTreeA", "RegDeleteTreeW",
        "RegDeleteKeyExA", "RegDeleteKeyExW", "RegCopyTreeW", "RegLoadMUIStringW",
        "InitiateShutdownA", "InitiateShutdownW", "EventRegister", "EventWriteString",
    },
    "ole32.dll": {"CoGetApartmentType"},
}


class WindowsXpImports(unittest.TestCase):
    def test_neither_program_imports_what_windows_xp_lacks(self):
        for architecture in packages.ARCHITECTURES:
            with self.subTest(architecture), packages.program_file(architecture) as path:
                imported = packages.imports(path, OBJDUMP[architecture])
                print("%s imports:" % architecture)
                for dll in sorted(imported):
                    print("  %s: %s" % (dll, " ".join(sorted(imported[dll]))))
                self.assertLessEqual(set(imported), XP_SYSTEM_DLLS)
                missing = {dll: sorted(names & NOT_ON_XP.get(dll, set()))
                           for dll, names in imported.items()}
                self.assertEqual({dll: names for dll, names in missing.items() if names}, {})

    def test_the_32_bit_program_declares_windows_xp_in_its_header(self):
        with packages.program_file("x86") as path:
            self.assertEqual(packages.header_versions(path, OBJDUMP["x86"]),
                             {"OSystem": (5, 1), "Subsystem": (5, 1)})


if __name__ == "__main__":
    unittest.main()
