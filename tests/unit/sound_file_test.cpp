#include <gtest/gtest.h>

#include "core/sound_file.h"

#include <string>
#include <vector>

namespace {

// A mono 8000 Hz WAVE file's start: an odd-sized chunk, the format chunk, the samples' header.
std::vector<std::uint8_t> wave(std::uint8_t tag, std::uint8_t bits) {
    return {'R', 'I', 'F', 'F', 0,    4, 0,   0,   'W',  'A',  'V', 'E', 'L', 'I',
            'S', 'T', 3,   0,   0,    0, 'a', 'b', 'c',  0,    'f', 'm', 't', ' ',
            16,  0,   0,   0,   tag,  0, 1,   0,   0x40, 0x1F, 0,   0,   0,   0,
            0,   0,   4,   0,   bits, 0, 'd', 'a', 't',  'a',  0,   0,   0,   0};
}

core::WavePlayability judged(const std::vector<std::uint8_t>& bytes) {
    return core::checkWaveFormat(bytes.data(), bytes.size()).playability;
}

} // namespace

TEST(SoundFile, PlainPcmPlaysOnlyAtEightOrSixteenBitsAndOtherFormatsAreForTheDevice) {
    EXPECT_EQ(judged(wave(1, 8)), core::WavePlayability::Plays);
    EXPECT_EQ(judged(wave(1, 16)), core::WavePlayability::Plays);
    EXPECT_EQ(judged(wave(1, 32)), core::WavePlayability::Refused);
    const std::vector<std::uint8_t> floats = wave(3, 32);
    const core::WaveFormatCheck check = core::checkWaveFormat(floats.data(), floats.size());
    EXPECT_EQ(check.playability, core::WavePlayability::AskTheDevice);
    std::vector<std::uint8_t> format(floats.begin() + 32, floats.begin() + 48);
    format.insert(format.end(), {0, 0}); // as a WAVEFORMATEX without extra bytes
    EXPECT_EQ(check.format, format);
}

TEST(SoundFile, ACutOrOverlongChunkIsRefused) {
    std::vector<std::uint8_t> bytes = wave(1, 16);
    EXPECT_EQ(core::checkWaveFormat(bytes.data(), 40).playability, core::WavePlayability::Refused);
    bytes[19] = 0xFF;
    EXPECT_EQ(judged(bytes), core::WavePlayability::Refused);
}

TEST(SoundFile, MidiIsKnownByItsFirstBytes) {
    using namespace std::string_literals;
    const auto kind = [](const std::string& text) {
        return core::soundFileKind(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    EXPECT_EQ(kind("MThd\0\0\0\6"s), core::SoundFileKind::Midi);
    EXPECT_EQ(kind("RIFF\0\0\0\0RMID"s), core::SoundFileKind::Midi);
    EXPECT_EQ(kind("ID3\3"s), core::SoundFileKind::Other);
}
