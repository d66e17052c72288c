#include <gtest/gtest.h>

#include "core/sound_file.h"

#include <string>
#include <vector>

namespace {

void put(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void putTag(std::vector<std::uint8_t>& bytes, const char* tag) {
    bytes.insert(bytes.end(), tag, tag + 4);
}

// A mono 8000 Hz WAVE file's start: an odd-sized chunk before the format, the format chunk
// (`extra` bytes after a cbSize when given), then the samples' header.
std::vector<std::uint8_t> wave(std::uint16_t tag, std::uint16_t bits, int extra = -1) {
    std::vector<std::uint8_t> bytes;
    putTag(bytes, "RIFF");
    put(bytes, 1000, 4);
    putTag(bytes, "WAVE");
    putTag(bytes, "LIST");
    put(bytes, 3, 4);
    bytes.insert(bytes.end(), {'a', 'b', 'c', 0});
    putTag(bytes, "fmt ");
    put(bytes, extra < 0 ? 16 : 18 + extra, 4);
    put(bytes, tag, 2);
    put(bytes, 1, 2);
    put(bytes, 8000, 4);
    put(bytes, 8000 * bits / 8, 4);
    put(bytes, bits / 8, 2);
    put(bytes, bits, 2);
    if (extra >= 0) {
        put(bytes, static_cast<std::uint32_t>(extra), 2);
        bytes.insert(bytes.end(), static_cast<std::size_t>(extra), 0x5A);
    }
    putTag(bytes, "data");
    put(bytes, 0, 4);
    return bytes;
}

core::WavePlayability judged(const std::vector<std::uint8_t>& bytes) {
    return core::checkWaveFormat(bytes.data(), bytes.size()).playability;
}

} // namespace

TEST(SoundFile, KindComesFromTheFirstBytes) {
    using namespace std::string_literals;
    const std::string midi = "MThd\0\0\0\6"s, rmid = "RIFF\0\0\0\0RMID"s, mp3 = "ID3\3"s;
    const auto kind = [](const std::string& text) {
        return core::soundFileKind(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    EXPECT_EQ(kind(midi), core::SoundFileKind::Midi);
    EXPECT_EQ(kind(rmid), core::SoundFileKind::Midi);
    EXPECT_EQ(kind(mp3), core::SoundFileKind::Other);
    const std::vector<std::uint8_t> wav = wave(1, 16);
    EXPECT_EQ(core::soundFileKind(wav.data(), wav.size()), core::SoundFileKind::Wave);
}

TEST(SoundFile, PlainPcmPlaysOnlyAtEightOrSixteenBits) {
    EXPECT_EQ(judged(wave(1, 8)), core::WavePlayability::Plays);
    EXPECT_EQ(judged(wave(1, 16)), core::WavePlayability::Plays);
    EXPECT_EQ(judged(wave(1, 24)), core::WavePlayability::Refused);
    EXPECT_EQ(judged(wave(1, 32)), core::WavePlayability::Refused);
}

TEST(SoundFile, OtherFormatsGoToTheDeviceWithTheirWholeFormat) {
    const std::vector<std::uint8_t> plain = wave(3, 32);
    const core::WaveFormatCheck floats = core::checkWaveFormat(plain.data(), plain.size());
    EXPECT_EQ(floats.playability, core::WavePlayability::AskTheDevice);
    ASSERT_EQ(floats.format.size(), 18u);
    EXPECT_EQ(floats.format[0], 3);
    EXPECT_EQ(floats.format[16] | floats.format[17], 0); // no extra bytes
    const std::vector<std::uint8_t> extensible = wave(0xFFFE, 32, 22);
    const core::WaveFormatCheck check = core::checkWaveFormat(extensible.data(), extensible.size());
    EXPECT_EQ(check.playability, core::WavePlayability::AskTheDevice);
    ASSERT_EQ(check.format.size(), 40u);
    EXPECT_EQ(check.format[16], 22);
    EXPECT_EQ(check.format.back(), 0x5A);
}

TEST(SoundFile, BrokenOrCutFormatsAreRefused) {
    std::vector<std::uint8_t> bytes = wave(1, 16);
    // Cut inside the format chunk.
    EXPECT_EQ(core::checkWaveFormat(bytes.data(), 40).playability, core::WavePlayability::Refused);
    // A chunk claiming more bytes than there are.
    bytes[16] = 0xFF;
    bytes[19] = 0xFF;
    EXPECT_EQ(judged(bytes), core::WavePlayability::Refused);
    // An extra size past the chunk's end.
    bytes = wave(3, 32, 2);
    bytes[12 + 12 + 8 + 16] = 50;
    EXPECT_EQ(judged(bytes), core::WavePlayability::Refused);
}
