// The settings codec, with any input taken as the file "Settings.def".
//
// The decoder overlays the fields the data holds on the settings it is given. A text is taken up
// to its field's first zero; the bytes after that zero mean nothing, and a field without a zero
// keeps the earlier text. So "decode then encode gives back the same bytes" cannot hold for every
// 15206-byte input; what holds, and is checked here, is for any 15206-byte x decoded onto
// settings b:
//     encode(decode(x onto b)) == canon(x, encode(b))
// where canon(x, e) is x with each text field replaced: a field holding a zero keeps its bytes up
// to that zero and is zero after it; a field without one takes e's bytes of that field. Every
// other byte (integers, zoom with whatever NaN bits it holds, the whole alarm table) comes back as
// it was. So encode(decode(x)) == x exactly when x is canonical (each text terminated and zero
// after its terminator), and decode(encode(decode(x))) == decode(x) for every x.
// Longer inputs decode as their first 15206 bytes. From a shorter one, each byte of the
// re-encoded file is the input's, the earlier settings' or zero, and re-encoding is a fixed point;
// a shorter input is also checked repeated to the file's size.
//
// The encoder, on settings read from the input: 15206 bytes, from which the decoder gives back
// every field, each text as cutAnsi (code page 936) cuts it to its field less the terminator, up
// to a zero byte the text may hold, where the stored text ends.
#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/settings.h"
#include "fuzz_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using core::ClockSettings;
using core::SettingsFileSize;

// The texts of the settings, in file order.
template <typename Settings> auto textsOf(Settings& s) {
    return std::array<decltype(&s.alarmSoundPath), 7>{
        &s.shutdown.shutdownTime, &s.alarmSoundPath,   &s.customFacePath, &s.customHourPath,
        &s.customMinutePath,      &s.customSecondPath, &s.customCasePath};
}

Bytes encode(const ClockSettings& s) {
    return core::encodeSettings(s, core::isGbkLeadByte);
}

// Settings whose texts fill their fields, so no text field of theirs is empty.
ClockSettings filledTexts() {
    ClockSettings s;
    for (std::string* text : textsOf(s))
        *text = std::string(SettingsFileSize, 'x');
    return s;
}

// A text field: [begin, end), its terminator included.
struct Field {
    std::size_t begin, end;
};

// Where the text fields lie, learnt from the encoder rather than written down again: with
// every text filling its field, each field is a run of 'x' and its terminator.
const std::vector<Field>& textFields() {
    static const std::vector<Field> fields = [] {
        const Bytes filled = encode(filledTexts());
        std::vector<Field> found;
        for (std::size_t at = 0; at < filled.size();) {
            if (filled[at] != 'x') {
                ++at;
                continue;
            }
            const std::size_t begin = at;
            while (at < filled.size() && filled[at] == 'x')
                ++at;
            fuzz::require(at < filled.size() && filled[at] == 0,
                          "a filled text field ends with its terminator");
            found.push_back({begin, ++at});
        }
        ClockSettings probe;
        fuzz::require(found.size() == textsOf(probe).size(), "every text has its field");
        return found;
    }();
    return fields;
}

Bytes canonical(const std::uint8_t* data, const Bytes& earlier) {
    Bytes bytes(data, data + SettingsFileSize);
    for (const Field& f : textFields()) {
        const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(f.begin);
        const auto end = bytes.begin() + static_cast<std::ptrdiff_t>(f.end);
        const auto zero = std::find(begin, end, std::uint8_t{0});
        if (zero == end) {
            std::copy(earlier.begin() + static_cast<std::ptrdiff_t>(f.begin),
                      earlier.begin() + static_cast<std::ptrdiff_t>(f.end), begin);
        } else {
            std::fill(zero, end, std::uint8_t{0});
        }
    }
    return bytes;
}

Bytes decodeOnto(ClockSettings s, const std::uint8_t* data, std::size_t size) {
    core::decodeSettings(data, size, s);
    const Bytes bytes = encode(s);
    fuzz::require(bytes.size() == SettingsFileSize, "the file always has its size");
    fuzz::require(core::encodeSettings(s, nullptr) == bytes,
                  "decoded texts fit their fields whole, whatever the code page");
    ClockSettings again;
    core::decodeSettings(bytes.data(), bytes.size(), again);
    fuzz::require(encode(again) == bytes, "decode(encode(decode(x))) == decode(x)");
    return bytes;
}

// The data holds a whole file, perhaps more.
void checkWholeFile(const std::uint8_t* data, std::size_t size) {
    const ClockSettings filled = filledTexts();
    fuzz::require(decodeOnto(ClockSettings{}, data, size) ==
                      canonical(data, encode(ClockSettings{})),
                  "encode(decode(x)) is x with its texts made canonical");
    fuzz::require(decodeOnto(filled, data, size) == canonical(data, encode(filled)),
                  "a text without a terminator keeps the earlier text");
}

void checkDecoder(const std::uint8_t* data, std::size_t size) {
    if (size >= SettingsFileSize) {
        checkWholeFile(data, size);
        return;
    }
    const Bytes defaults = encode(ClockSettings{});
    const Bytes decoded = decodeOnto(ClockSettings{}, data, size);
    for (std::size_t i = 0; i < SettingsFileSize; ++i) {
        const bool fromData = i < size && decoded[i] == data[i];
        fuzz::require(fromData || decoded[i] == defaults[i] || decoded[i] == 0,
                      "a short file gives its own bytes, the defaults or zeros");
    }
    // Most inputs are short: repeated to the file's size they test a whole file too.
    if (size > 0) {
        Bytes tiled(SettingsFileSize);
        for (std::size_t i = 0; i < tiled.size(); ++i)
            tiled[i] = data[i % size];
        checkWholeFile(tiled.data(), tiled.size());
    }
}

float floatFromBits(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

ClockSettings settingsFrom(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader in(data, size);
    ClockSettings s;
    for (std::int32_t* value :
         {&s.styleIndex, &s.opacityIndex, &s.alwaysOnTop, &s.lockPosition, &s.hourlyChime,
          &s.showSecondHand, &s.startWithSystem, &s.clickThrough, &s.shutdown.shutdownEnabled,
          &s.shutdown.shutdownRepeat, &s.windowLeft, &s.windowTop, &s.alarmSoundSeconds}) {
        *value = in.int32();
    }
    s.zoom = floatFromBits(in.uint32());
    for (std::string* text : textsOf(s))
        *text = in.text();
    for (std::uint8_t& b : s.alarms.bytes())
        b = in.byte();
    return s;
}

std::string upToZero(const std::string& text) {
    return text.substr(0, text.find('\0'));
}

void checkEncoder(const std::uint8_t* data, std::size_t size) {
    const ClockSettings s = settingsFrom(data, size);
    const Bytes bytes = encode(s);
    fuzz::require(bytes.size() == SettingsFileSize, "the file always has its size");
    ClockSettings back;
    core::decodeSettings(bytes.data(), bytes.size(), back);
    const bool sameNumbers =
        back.styleIndex == s.styleIndex && back.opacityIndex == s.opacityIndex &&
        back.alwaysOnTop == s.alwaysOnTop && back.lockPosition == s.lockPosition &&
        back.hourlyChime == s.hourlyChime && back.showSecondHand == s.showSecondHand &&
        back.startWithSystem == s.startWithSystem && back.clickThrough == s.clickThrough &&
        back.shutdown.shutdownEnabled == s.shutdown.shutdownEnabled &&
        back.shutdown.shutdownRepeat == s.shutdown.shutdownRepeat &&
        back.windowLeft == s.windowLeft && back.windowTop == s.windowTop &&
        back.alarmSoundSeconds == s.alarmSoundSeconds && bitsOf(back.zoom) == bitsOf(s.zoom);
    fuzz::require(sameNumbers, "every number comes back, zoom bit for bit");
    fuzz::require(back.alarms.bytes() == s.alarms.bytes(), "the alarm table comes back as it was");
    const auto written = textsOf(s);
    const auto read = textsOf(back);
    for (std::size_t i = 0; i < written.size(); ++i) {
        const std::size_t room = textFields()[i].end - textFields()[i].begin - 1;
        fuzz::require(*read[i] == upToZero(core::cutAnsi(*written[i], room, core::isGbkLeadByte)),
                      "a text comes back cut to its field on a character boundary");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkDecoder(data, size);
    checkEncoder(data, size);
    return 0;
}
