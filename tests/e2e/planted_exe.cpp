// A stranger's rundll32.exe for test_planted_dlls: whoever starts it, it leaves
// "<its own path>.ran" and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t path[MAX_PATH + 8] = L"";
    if (GetModuleFileNameW(nullptr, path, MAX_PATH) < MAX_PATH) {
        lstrcatW(path, L".ran");
        CloseHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    return 0;
}
