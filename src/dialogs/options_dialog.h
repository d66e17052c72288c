#pragma once
// "设置": the hourly chime, the second hand and start with the system, which take effect on OK,
// and the zoom, which follows the slider at once while the dialog is open.
#include "core/settings.h"
#include "win/dialog.h"

#include <functional>

namespace dialogs {

struct OptionFlags {
    bool hourlyChime = false;
    bool showSecondHand = false;
    bool startWithSystem = false;
};

class OptionsDialog : public win::Dialog {
public:
    // Edits `settings.zoom` live (Cancel keeps it, as the clock already shows it) and calls
    // `zoomChanged` after each change; the flags are copies until copyFlagsTo.
    OptionsDialog(HINSTANCE module, core::ClockSettings& settings,
                  std::function<void()> zoomChanged);

    const OptionFlags& flags() const { return flags_; }
    void copyFlagsTo(core::ClockSettings& settings) const;

protected:
    win::Handled handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT& result) override;
    bool onInitDialog() override;
    bool onNotify(int id, NMHDR& header, LRESULT& result) override;
    // Registers or unregisters start with the system, on every OK.
    void onOK() override;

private:
    void setUpSlider();
    void followSlider();

    OptionFlags flags_;
    float& zoom_;
    std::function<void()> zoomChanged_;
    // The slider paints before its position is set; until then its position says nothing.
    bool sliderReady_ = false;
};

} // namespace dialogs
