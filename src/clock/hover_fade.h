#pragma once
// The hover fade: a dimmed clock rises to full opacity while the pointer rests on it and sinks
// back when it leaves, one step of 10 % per fade wake.
#include <optional>

namespace clockwork {

class HoverFade {
public:
    // The opacity the clock is drawn at: the chosen level, or a step of a running fade.
    int displayedOpacity() const { return displayedOpacity_; }
    bool running() const { return direction_ != Direction::None; }
    // Shows the level of an opacity step at once, also in the middle of a fade.
    void setLevel(int opacityIndex);
    // True when a fade starts (or turns round).
    bool onHover();
    bool onLeave(int opacityIndex);
    // One step of a running fade: the opacity to draw, or nothing when the fade has just ended
    // (that step draws nothing).
    std::optional<int> step(int opacityIndex);
    void stop() { direction_ = Direction::None; }

private:
    enum class Direction { None, In, Out };
    Direction direction_ = Direction::None;
    int displayedOpacity_ = 100;
};

} // namespace clockwork
