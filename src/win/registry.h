#pragma once
// Values of the registry, each under a key that is opened for the one call and closed at once.
// `name` null means the key's default value.
#include <windows.h>

#include <optional>
#include <string>

namespace win {

// A text value (REG_SZ, or REG_EXPAND_SZ with its variables expanded) of any length; nothing
// when the key or the value is missing or the value holds no text.
std::optional<std::wstring> readRegistryText(HKEY root, const wchar_t* key, const wchar_t* name);
bool hasRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name);
// Writes a REG_SZ value, creating the key when it is missing; ERROR_SUCCESS or the failure.
LONG writeRegistryText(HKEY root, const wchar_t* key, const wchar_t* name,
                       const std::wstring& value);
// A value that is not there, or under a key that is not there, counts as deleted.
LONG deleteRegistryValue(HKEY root, const wchar_t* key, const wchar_t* name);

} // namespace win
