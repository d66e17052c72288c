#include "clock/settings_keeper.h"

namespace clockwork {

const wchar_t* const NoticeTitle = L"Veltrano";

bool SettingsKeeper::load() {
    std::vector<std::uint8_t> bytes;
    if (!store_.load(bytes))
        return false;
    core::decodeSettings(bytes.data(), bytes.size(), settings_);
    return true;
}

bool SettingsKeeper::save() {
    const bool saved = store_.save(core::encodeSettings(settings_, codePage_.isLead));
    if (saved) {
        failureReported_ = false;
    } else if (!failureReported_) {
        failureReported_ = true;
        tray_.showBalloon(L"设置无法保存到\n" + store_.location() +
                              L"\n时钟照常运行，设置保留在内存中。",
                          NoticeTitle);
    }
    return saved;
}

} // namespace clockwork
