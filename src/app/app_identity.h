#pragma once
// The name under which Windows groups the clock's windows and notifications (Windows 7 on). The
// installer registers the same id with the clock's name and icon (packaging/veltrano.nsi).

namespace app {

constexpr wchar_t AppUserModelId[] = L"Veltrano.Clock";

// Claims the id for this process. Before the first window: the taskbar reads it then.
void claimAppUserModelId();

} // namespace app
