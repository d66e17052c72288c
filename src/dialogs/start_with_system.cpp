#include "dialogs/start_with_system.h"

#include "win/message_box.h"
#include "win/program_path.h"
#include "win/registry.h"

#include <string>

namespace dialogs {

namespace {

const wchar_t* const RunKeyPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const RunValueName = L"Veltrano";

LONG writeRunValue() {
    const std::wstring path = win::programPath();
    if (path.empty())
        return static_cast<LONG>(GetLastError());
    return win::writeRegistryText(HKEY_CURRENT_USER, RunKeyPath, RunValueName,
                                  L"\"" + path + L"\"");
}

} // namespace

bool isRegisteredToStartWithSystem() {
    return win::hasRegistryValue(HKEY_CURRENT_USER, RunKeyPath, RunValueName);
}

bool registerStartWithSystem(HWND owner, bool on) {
    const LONG status = on ? writeRunValue()
                           : win::deleteRegistryValue(HKEY_CURRENT_USER, RunKeyPath, RunValueName);
    if (status == ERROR_SUCCESS)
        return on;
    const std::wstring what = on ? L"无法设置开机自动运行" : L"无法取消开机自动运行";
    win::showMessage(owner,
                     what + L"：注册表操作失败（错误代码 " + std::to_wstring(status) + L"）。");
    return isRegisteredToStartWithSystem();
}

} // namespace dialogs
