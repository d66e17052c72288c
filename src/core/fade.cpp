#include "core/fade.h"

namespace core {

int opacityLevel(int opacityIndex) {
    return 100 - 20 * opacityIndex;
}

FadeStepResult fadeInStep(int displayedOpacity) {
    if (displayedOpacity < 100) {
        return FadeStepResult{displayedOpacity + FadeStep, false};
    }
    return FadeStepResult{displayedOpacity, true};
}

FadeStepResult fadeOutStep(int displayedOpacity, int opacityIndex) {
    if (displayedOpacity > opacityLevel(opacityIndex)) {
        return FadeStepResult{displayedOpacity - FadeStep, false};
    }
    return FadeStepResult{displayedOpacity, true};
}

bool fadeInStarts(int displayedOpacity) {
    return displayedOpacity < 100;
}

bool fadeOutStarts(int opacityIndex) {
    return opacityIndex != 0;
}

} // namespace core
