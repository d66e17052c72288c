#pragma once
// What the first bytes of an alarm sound file tell about whether it can play: a WAVE file's
// format, or that it is MIDI and needs a synthesizer. A file that opens but plays nothing would
// leave an alarm silent.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace core {

// Enough of a file's start to find a WAVE file's format chunk.
constexpr std::size_t SoundFileHeadBytes = 64 * 1024;

enum class SoundFileKind { Other, Wave, Midi };

// "RIFF....WAVE" is WAVE; "MThd" and "RIFF....RMID" are MIDI.
SoundFileKind soundFileKind(const std::uint8_t* bytes, std::size_t size);

enum class WavePlayability { Plays, AskTheDevice, Refused };

struct WaveFormatCheck {
    WavePlayability playability = WavePlayability::Refused;
    // The format chunk as a WAVEFORMATEX, with its extra size, to ask the device about.
    std::vector<std::uint8_t> format;
};

// A WAVE file's format: plain PCM of 8 or 16 bits plays; plain PCM of any other size is refused,
// since a plain header holds only those (more bits need the extensible one); a missing or broken
// format chunk is refused; any other format is for the wave output to judge.
WaveFormatCheck checkWaveFormat(const std::uint8_t* bytes, std::size_t size);

} // namespace core
