#include "dialogs/start_with_system.h"

#include "win/handles.h"
#include "win/message_box.h"
#include "win/program_path.h"

#include <string>

namespace dialogs {

namespace {

const wchar_t* const runKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const runValueName = L"Veltrano";

LONG writeRunValue() {
    const std::wstring path = win::programPath();
    if (path.empty())
        return static_cast<LONG>(GetLastError());
    const std::wstring command = L"\"" + path + L"\"";
    win::UniqueRegistryKey key;
    const LONG status =
        RegCreateKeyExW(HKEY_CURRENT_USER, runKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, win::outParam(key), nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    return RegSetValueExW(key.get(), runValueName, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(command.c_str()),
                          static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

LONG deleteRunValue() {
    win::UniqueRegistryKey key;
    const LONG status =
        RegOpenKeyExW(HKEY_CURRENT_USER, runKeyPath, 0, KEY_SET_VALUE, win::outParam(key));
    if (status != ERROR_SUCCESS)
        return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
    const LONG deleted = RegDeleteValueW(key.get(), runValueName);
    return deleted == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : deleted;
}

} // namespace

bool isRegisteredToStartWithSystem() {
    win::UniqueRegistryKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, runKeyPath, 0, KEY_QUERY_VALUE, win::outParam(key)) !=
        ERROR_SUCCESS)
        return false;
    return RegQueryValueExW(key.get(), runValueName, nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

bool registerStartWithSystem(HWND owner, bool on) {
    const LONG status = on ? writeRunValue() : deleteRunValue();
    if (status == ERROR_SUCCESS)
        return on;
    const std::wstring what = on ? L"无法设置开机自动运行" : L"无法取消开机自动运行";
    win::showMessage(owner,
                     what + L"：注册表操作失败（错误代码 " + std::to_wstring(status) + L"）。");
    return isRegisteredToStartWithSystem();
}

} // namespace dialogs
