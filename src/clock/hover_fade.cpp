#include "clock/hover_fade.h"

#include "core/fade.h"

namespace clockwork {

void HoverFade::setLevel(int opacityIndex) {
    displayedOpacity_ = core::opacityLevel(core::chosenOpacityIndex(opacityIndex));
}

bool HoverFade::onHover() {
    if (!core::fadeInStarts(displayedOpacity_))
        return false;
    direction_ = Direction::In;
    return true;
}

bool HoverFade::onLeave(int opacityIndex) {
    if (!core::fadeOutStarts(core::chosenOpacityIndex(opacityIndex)))
        return false;
    direction_ = Direction::Out;
    return true;
}

std::optional<int> HoverFade::step(int opacityIndex) {
    if (direction_ == Direction::None)
        return std::nullopt;
    const core::FadeStepResult next =
        direction_ == Direction::In
            ? core::fadeInStep(displayedOpacity_)
            : core::fadeOutStep(displayedOpacity_, core::chosenOpacityIndex(opacityIndex));
    if (next.finished) {
        direction_ = Direction::None;
        return std::nullopt;
    }
    displayedOpacity_ = next.displayedOpacity;
    return displayedOpacity_;
}

} // namespace clockwork
