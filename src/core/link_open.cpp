#include "core/link_open.h"

namespace core {

namespace {

constexpr int BadFormatCode = 11;
constexpr unsigned long FirstUnmappedError = 32;

struct FailureMessage {
    int code;
    const wchar_t* text;
};

const FailureMessage FailureMessages[] = {
    {0, L"The operating system is out\nof memory or resources."},
    {2, L"The specified file was not found."},
    {3, L"The specified path was not found."},
    {5, L"The operating system denied\naccess to the specified file."},
    {8, L"There was not enough memory to complete the operation."},
    {11, L"The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."},
    {26, L"A sharing violation occurred. "},
    {27, L"The filename association is\nincomplete or invalid."},
    {28, L"The DDE transaction could not\nbe completed because the request timed out."},
    {29, L"The DDE transaction failed."},
    {30, L"The DDE transaction could not\nbe completed because other DDE transactions\nwere "
         L"being processed."},
    {31, L"There is no application associated\nwith the given filename extension."},
    {32, L"The specified dynamic-link library was not found."},
};

} // namespace

std::wstring browserCommandLine(const std::wstring& shellCommand, const std::wstring& target) {
    std::wstring command = shellCommand;
    size_t cut = command.find(L"\"%1\"");
    if (cut == std::wstring::npos)
        cut = command.find(L"%1");
    if (cut != std::wstring::npos)
        command.erase(cut);
    return command + L" \"" + target + L"\"";
}

int launchFailureCode(unsigned long systemError) {
    return systemError < FirstUnmappedError ? static_cast<int>(systemError) : BadFormatCode;
}

std::wstring openFailureText(int code) {
    std::wstring text = L"Unable to open hyperlink:\n\n";
    for (const FailureMessage& message : FailureMessages)
        if (message.code == code)
            return text + message.text;
    return text + L"Unknown Error (" + std::to_wstring(code) + L") occurred.";
}

} // namespace core
