#include "core/sound_file.h"

#include "core/byte_io.h"

#include <cstring>

namespace core {

namespace {

constexpr std::size_t RiffHeaderBytes = 12, ChunkHeaderBytes = 8;
// WAVEFORMAT with wBitsPerSample (PCMWAVEFORMAT), and WAVEFORMATEX's cbSize after it.
constexpr std::size_t PcmFormatBytes = 16, ExtraSizeAt = 16, FormatExBytes = 18;
constexpr std::size_t BitsAt = 14;
constexpr std::uint16_t PcmTag = 1;

bool startsWith(const std::uint8_t* bytes, std::size_t size, std::size_t at, const char* tag) {
    return size >= at + 4 && std::memcmp(bytes + at, tag, 4) == 0;
}

std::uint16_t readUint16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

} // namespace

SoundFileKind soundFileKind(const std::uint8_t* bytes, std::size_t size) {
    if (startsWith(bytes, size, 0, "MThd"))
        return SoundFileKind::Midi;
    if (!startsWith(bytes, size, 0, "RIFF"))
        return SoundFileKind::Other;
    if (startsWith(bytes, size, 8, "WAVE"))
        return SoundFileKind::Wave;
    return startsWith(bytes, size, 8, "RMID") ? SoundFileKind::Midi : SoundFileKind::Other;
}

WaveFormatCheck checkWaveFormat(const std::uint8_t* bytes, std::size_t size) {
    WaveFormatCheck check;
    if (soundFileKind(bytes, size) != SoundFileKind::Wave)
        return check;
    std::size_t at = RiffHeaderBytes;
    // The format comes before the samples; chunks are padded to an even size. A chunk that goes
    // past the bytes at hand ends the search, so no length can wrap the count around.
    while (at + ChunkHeaderBytes <= size && !startsWith(bytes, size, at, "data")) {
        const std::size_t length = byte_io::readUint32(bytes + at + 4);
        const std::uint8_t* body = bytes + at + ChunkHeaderBytes;
        if (length > size - at - ChunkHeaderBytes)
            return check;
        if (!startsWith(bytes, size, at, "fmt ")) {
            at += ChunkHeaderBytes + length + (length & 1);
            continue;
        }
        if (length < PcmFormatBytes)
            return check;
        if (readUint16(body) == PcmTag) {
            const std::uint16_t bits = readUint16(body + BitsAt);
            if (bits == 8 || bits == 16)
                check.playability = WavePlayability::Plays;
            return check;
        }
        const std::size_t extra = length >= FormatExBytes ? readUint16(body + ExtraSizeAt) : 0;
        if (extra > 0 && FormatExBytes + extra > length)
            return check;
        // A 16-byte chunk gets an extra size of 0.
        check.format.assign(body, body + (extra > 0 ? FormatExBytes : PcmFormatBytes));
        check.format.resize(FormatExBytes, 0);
        check.format.insert(check.format.end(), body + FormatExBytes, body + FormatExBytes + extra);
        check.playability = WavePlayability::AskTheDevice;
        return check;
    }
    return check;
}

} // namespace core
