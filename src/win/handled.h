#pragma once
// What a window's message handler did with a message.

namespace win {

enum class Handled {
    No,         // not handled here: the typed hooks and the default processing get it
    Yes,        // answered here, and nothing else sees it
    AndDefault, // acted on here, and the default processing follows as well
};

inline Handled handledIf(bool handled) {
    return handled ? Handled::Yes : Handled::No;
}

} // namespace win
