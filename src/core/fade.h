#pragma once

namespace core {

// Resting opacity in percent for an opacity menu index (0 -> 100 %, 4 -> 20 %).
int opacityLevel(int opacityIndex);

constexpr int OpacityStepCount = 5;

// A stored step outside the menu's range is drawn at 100 %, so no fade can run away with it.
constexpr int chosenOpacityIndex(int stored) {
    return stored >= 0 && stored < OpacityStepCount ? stored : 0;
}

// Percent changed per fade tick.
constexpr int FadeStep = 10;

// `finished` means the fade timer stops and the redraw timer restarts; that tick draws nothing.
struct FadeStepResult {
    int displayedOpacity;
    bool finished;
};

// Fade in towards fully opaque while the pointer is over the clock.
FadeStepResult fadeInStep(int displayedOpacity);
// Fade back out to the chosen opacity level once the pointer leaves.
FadeStepResult fadeOutStep(int displayedOpacity, int opacityIndex);
bool fadeInStarts(int displayedOpacity);
// A fully opaque setting has nothing to fade back to.
bool fadeOutStarts(int opacityIndex);

} // namespace core
