#include "dialogs/about_dialog.h"

#include "resource.h"
#include "version.h"

namespace dialogs {

AboutDialog::AboutDialog(HINSTANCE module) : Dialog(module, IDD_ABOUT) {}

bool AboutDialog::onInitDialog() {
    setItemText(IDC_ABOUT_VERSION, L"Veltrano " VELTRANO_VERSION_WTEXT L"版");
    link_.attach(hwnd(), IDC_LINK);
    // The address is written once, in the dialog's template; the link mails to it.
    link_.setLinkTarget(L"mailto:" + win::windowText(link_.hwnd()));
    link_.setUnderlined(true);
    link_.setLinkCursor(LoadCursorW(module(), MAKEINTRESOURCEW(IDC_LINK_HAND)));
    return true;
}

} // namespace dialogs
