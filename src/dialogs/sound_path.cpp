#include "dialogs/sound_path.h"

#include "win/short_path.h"
#include "win/strings.h"

#include <utility>

namespace dialogs {

namespace {

core::AnsiPath ansiForm(const std::wstring& path) {
    core::AnsiPath form;
    if (std::optional<std::string> exact = win::wideToAnsiExactly(path)) {
        form.bytes = std::move(*exact);
        form.exact = true;
    }
    return form;
}

} // namespace

core::StoredPathChoice choosePathToStore(const std::wstring& path) {
    return core::chooseStoredPath(ansiForm(path), ansiForm(win::shortPath(path)));
}

std::optional<std::string> storableSoundPath(const std::wstring& path) {
    core::StoredPathChoice choice = choosePathToStore(path);
    if (choice.problem != core::PathProblem::None)
        return std::nullopt;
    return std::move(choice.bytes);
}

} // namespace dialogs
