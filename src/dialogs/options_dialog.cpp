#include "dialogs/options_dialog.h"

#include "core/zoom_scale.h"
#include "dialogs/start_with_system.h"

#include "resource.h"

#include <utility>

namespace dialogs {

namespace {
constexpr int SliderTickStep = 10;
constexpr int SliderArrowStep = 10;
} // namespace

OptionsDialog::OptionsDialog(HINSTANCE module, core::ClockSettings& settings,
                             std::function<void()> zoomChanged)
    : Dialog(module, IDD_OPTIONS), zoom_(settings.zoom), zoomChanged_(std::move(zoomChanged)) {
    // The chime sounds only for exactly 1, so only then is its box ticked.
    flags_.hourlyChime = settings.hourlyChime == 1;
    flags_.showSecondHand = settings.showSecondHand != 0;
    flags_.startWithSystem = settings.startWithSystem != 0;
}

void OptionsDialog::copyFlagsTo(core::ClockSettings& settings) const {
    settings.hourlyChime = flags_.hourlyChime ? 1 : 0;
    settings.showSecondHand = flags_.showSecondHand ? 1 : 0;
    settings.startWithSystem = flags_.startWithSystem ? 1 : 0;
}

win::Handled OptionsDialog::handleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT&) {
    switch (message) {
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lParam) != item(IDC_ZOOM_SLIDER))
            return win::Handled::No;
        followSlider();
        return win::Handled::Yes;
    default: return win::Handled::No;
    }
}

bool OptionsDialog::onInitDialog() {
    setChecked(IDC_HOURLY_CHIME, flags_.hourlyChime);
    setChecked(IDC_SHOW_SECOND_HAND, flags_.showSecondHand);
    setChecked(IDC_START_WITH_SYSTEM, flags_.startWithSystem);
    setUpSlider();
    return true;
}

bool OptionsDialog::onNotify(int id, NMHDR& header, LRESULT& result) {
    if (id != IDC_ZOOM_SLIDER || header.code != static_cast<UINT>(NM_CUSTOMDRAW))
        return false;
    // The slider paints after every move, by mouse or keyboard.
    if (sliderReady_)
        followSlider();
    result = CDRF_DODEFAULT;
    return true;
}

void OptionsDialog::onOK() {
    flags_.hourlyChime = isChecked(IDC_HOURLY_CHIME);
    flags_.showSecondHand = isChecked(IDC_SHOW_SECOND_HAND);
    flags_.startWithSystem = registerStartWithSystem(hwnd(), isChecked(IDC_START_WITH_SYSTEM));
    endDialog(IDOK);
}

void OptionsDialog::setUpSlider() {
    const HWND slider = item(IDC_ZOOM_SLIDER);
    SendMessageW(slider, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageW(slider, TBM_SETRANGEMAX, FALSE, core::ZoomSliderMax);
    SendMessageW(slider, TBM_SETTICFREQ, SliderTickStep, 0);
    SendMessageW(slider, TBM_SETPOS, TRUE, core::zoomSliderPosition(zoom_));
    SendMessageW(slider, TBM_SETLINESIZE, 0, SliderArrowStep);
    setItemText(IDC_ZOOM_LABEL, core::zoomPercentLabel(core::sensibleZoom(zoom_)));
    sliderReady_ = true;
}

void OptionsDialog::followSlider() {
    const auto position = static_cast<int>(SendMessageW(item(IDC_ZOOM_SLIDER), TBM_GETPOS, 0, 0));
    const float zoom = core::zoomAtSliderPosition(position);
    // Not equal also when the stored zoom was NaN.
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    setItemText(IDC_ZOOM_LABEL, core::zoomPercentLabel(zoom));
    if (zoomChanged_)
        zoomChanged_();
}

} // namespace dialogs
