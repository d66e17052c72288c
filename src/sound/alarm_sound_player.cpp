#include "sound/alarm_sound_player.h"

#include "core/sound_file.h"
#include "sound/sounds.h"
#include "win/handles.h"

#include <mmsystem.h>
#include <vfw.h>

#include <cwctype>
#include <vector>

namespace sound {

namespace {
// A hidden child without the player's menu, reporting its mode to the clock window. Its own
// error boxes are suppressed: a file that will not play must not stack boxes every half second.
constexpr DWORD PlayerStyle = WS_CHILD | MCIWNDF_NOTIFYMODE | MCIWNDF_NOMENU | MCIWNDF_NOERRORDLG;

// The media player hands these to the MIDI sequencer whatever they hold.
bool hasMidiExtension(const std::wstring& path) {
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos)
        return false;
    std::wstring extension = path.substr(dot + 1);
    for (wchar_t& unit : extension)
        unit = static_cast<wchar_t>(std::towlower(unit));
    return extension == L"mid" || extension == L"midi" || extension == L"rmi";
}

// False for a file that would open and play nothing: a WAVE format the wave output does not
// take, or MIDI where no synthesizer is. Anything else is left to the media player to judge.
bool outputCanPlay(const std::wstring& path) {
    const win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::vector<std::uint8_t> head(core::SoundFileHeadBytes);
    DWORD read = 0;
    if (!file ||
        !ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr))
        return true;
    const core::SoundFileKind kind = core::soundFileKind(head.data(), read);
    if (kind == core::SoundFileKind::Midi ||
        (kind == core::SoundFileKind::Other && hasMidiExtension(path)))
        return midiOutGetNumDevs() > 0;
    if (kind != core::SoundFileKind::Wave)
        return true;
    const core::WaveFormatCheck check = core::checkWaveFormat(head.data(), read);
    if (check.playability != core::WavePlayability::AskTheDevice)
        return check.playability == core::WavePlayability::Plays;
    return waveOutOpen(nullptr, WAVE_MAPPER,
                       reinterpret_cast<const WAVEFORMATEX*>(check.format.data()), 0, 0,
                       WAVE_FORMAT_QUERY) == MMSYSERR_NOERROR;
}

} // namespace

UINT playerModeMessage() {
    return MCIWNDM_NOTIFYMODE;
}

bool AlarmSoundPlayer::reopen(const std::wstring& path) {
    if (player_) {
        if (playing_)
            stop();
        close();
    }
    if (path.empty())
        return true;
    // Such a file counts as one that cannot be played, so the built-in alarm rings instead.
    if (!outputCanPlay(path))
        return false;
    player_ = MCIWndCreateW(parent_, module_, PlayerStyle, path.c_str());
    if (player_ && (MCIWndGetDeviceID(player_) == 0 || MCIWndGetLength(player_) <= 0)) {
        // The window exists but no device took the file, or it holds nothing to play (a
        // missing WAV file opens as an empty one for recording).
        close();
    }
    return player_ != nullptr;
}

bool AlarmSoundPlayer::play() {
    return playFor(0);
}

bool AlarmSoundPlayer::playFor(int seconds) {
    if (!player_)
        return false;
    SendMessageW(player_, MCI_SEEK, 0, MCIWND_START);
    constexpr long MillisecondsPerSecond = 1000;
    // The player counts in milliseconds. A limit at or past the file's end plays it whole: some
    // devices refuse to play to a position the file does not have.
    const long limit = seconds > 0 ? seconds * MillisecondsPerSecond : 0;
    const LRESULT refused = limit > 0 && limit < MCIWndGetLength(player_)
                                ? MCIWndPlayTo(player_, limit)
                                : SendMessageW(player_, MCI_PLAY, 0, 0);
    if (refused == 0)
        playing_ = true;
    return playing_;
}

void AlarmSoundPlayer::stop() {
    if (player_)
        SendMessageW(player_, MCI_STOP, 0, 0);
    playing_ = false;
}

void AlarmSoundPlayer::close() {
    if (!player_)
        return;
    SendMessageW(player_, MCI_CLOSE, 0, 0);
    // The hidden window would otherwise stay a child of the clock until it ends.
    DestroyWindow(player_);
    player_ = nullptr;
    playing_ = false;
}

long AlarmSoundPlayer::getPosition() const {
    if (!player_)
        return 0;
    return static_cast<long>(SendMessageW(player_, MCIWNDM_GETPOSITIONW, 0, 0));
}

void AlarmSoundPlayer::applyTimeLimit(int seconds) {
    if (!playing_ || seconds <= 0)
        return;
    if (getPosition() / 1000 >= seconds)
        stop();
}

void AlarmSoundPlayer::onModeChanged(HWND player, long mode) {
    if (player != player_ || !playing_)
        return;
    if (mode == MCI_MODE_STOP || mode == MCI_MODE_NOT_READY)
        playing_ = false;
}

void AlarmSoundPlayer::shutDown() {
    if (playing_)
        stop();
    close();
}

void startAlarmSound(HMODULE module, AlarmSoundPlayer& player, bool fileChosen, int seconds) {
    if (!fileChosen) {
        playBuiltInAlarm(module);
        return;
    }
    if (player.isPlaying())
        return;
    if (!player.playFor(seconds))
        playBuiltInAlarm(module);
}

} // namespace sound
