#pragma once
// Plays the user's alarm sound file in a hidden media-player window and cuts it to the chosen
// number of seconds. A file that would open and play nothing is refused like one that does not
// open, so the built-in alarm rings.
#include <windows.h>

#include <string>

namespace sound {

class AlarmSoundPlayer {
public:
    AlarmSoundPlayer() = default;
    AlarmSoundPlayer(HWND parent, HINSTANCE module) { attach(parent, module); }
    ~AlarmSoundPlayer() { shutDown(); }
    AlarmSoundPlayer(const AlarmSoundPlayer&) = delete;
    AlarmSoundPlayer& operator=(const AlarmSoundPlayer&) = delete;

    void attach(HWND parent, HINSTANCE module) {
        parent_ = parent;
        module_ = module;
    }
    // Drops the current player and opens `path` in a new one (none for an empty path).
    // False when a path was given but could not be opened, or would play nothing.
    bool reopen(const std::wstring& path);
    // From the beginning; false when there is no player or it refused to play.
    bool play();
    // From the beginning for at most `seconds` (0 or less: to its end): the device itself stops
    // at the limit, to the millisecond.
    bool playFor(int seconds);
    void stop();
    void close();
    // Position in milliseconds, 0 without a player.
    long getPosition() const;
    // Stops a playing file once it has played `seconds` whole seconds; 0 or less never cuts.
    void applyTimeLimit(int seconds);
    // The media window reports its mode changes; a file that ended by itself is no longer playing.
    void onModeChanged(HWND player, long mode);
    void shutDown();

    bool isPlaying() const { return playing_; }
    bool hasPlayer() const { return player_ != nullptr; }
    HWND playerWindow() const { return player_; }

private:
    HWND parent_ = nullptr;
    HINSTANCE module_ = nullptr;
    HWND player_ = nullptr;
    bool playing_ = false;
};

// The message the media window sends its parent when its mode changes.
UINT playerModeMessage();

// An alarm fired: the built-in alarm when no file is chosen, otherwise the file unless it is
// already playing. A file that cannot be played must not leave the alarm silent: the built-in
// alarm rings instead.
void startAlarmSound(HMODULE module, AlarmSoundPlayer& player, bool fileChosen, int seconds);

} // namespace sound
