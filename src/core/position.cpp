#include "core/position.h"

namespace core {

WindowPosition correctStartPosition(WindowPosition saved, int screenWidth, int screenHeight) {
    WindowPosition result = saved;
    if (saved.left > screenWidth || saved.left < 0) {
        result.left = screenWidth - DefaultRightMargin;
    }
    if (saved.top > screenHeight || saved.top < 0) {
        result.top = DefaultTop;
    }
    return result;
}

} // namespace core
