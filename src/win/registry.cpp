#include "win/registry.h"

#include "win/handles.h"

#include <cwchar>

namespace win {

namespace {

std::optional<std::wstring> expanded(const std::wstring& value) {
    const DWORD units = ExpandEnvironmentStringsW(value.c_str(), nullptr, 0);
    std::wstring text(units, L'\0');
    if (units == 0 || !ExpandEnvironmentStringsW(value.c_str(), &text[0], units))
        return std::nullopt;
    text.resize(units - 1);
    return text;
}

} // namespace

std::optional<std::wstring> readRegistryText(HKEY root, const wchar_t* key, const wchar_t* name) {
    UniqueRegistryKey opened;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, outParam(opened)) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(opened.get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(opened.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]),
                         &bytes) != ERROR_SUCCESS)
        return std::nullopt;
    // The stored text need not end in a terminator, or may end in several.
    value.resize(wcsnlen(value.c_str(), bytes / sizeof(wchar_t)));
    return type == REG_EXPAND_SZ ? expanded(value) : value;
}

bool hasRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name) {
    UniqueRegistryKey opened;
    return RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, outParam(opened)) == ERROR_SUCCESS &&
           RegQueryValueExW(opened.get(), name, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS;
}

LONG writeRegistryText(HKEY root, const wchar_t* key, const wchar_t* name,
                       const std::wstring& value) {
    UniqueRegistryKey created;
    const LONG status = RegCreateKeyExW(root, key, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                        KEY_SET_VALUE, nullptr, outParam(created), nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    return RegSetValueExW(created.get(), name, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LONG deleteRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name) {
    UniqueRegistryKey opened;
    const LONG status = RegOpenKeyExW(root, key, 0, KEY_SET_VALUE, outParam(opened));
    if (status != ERROR_SUCCESS)
        return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
    const LONG deleted = RegDeleteValueW(opened.get(), name);
    return deleted == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : deleted;
}

} // namespace win
