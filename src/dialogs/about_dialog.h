#pragma once
// "关于 Veltrano": the icon, the version, the legal and author lines, and the project's address
// as a link that opens a new mail.
#include "controls/hyperlink_control.h"
#include "win/dialog.h"

namespace dialogs {

class AboutDialog : public win::Dialog {
public:
    explicit AboutDialog(HINSTANCE module);

protected:
    bool onInitDialog() override;

private:
    controls::HyperLinkControl link_;
};

} // namespace dialogs
