#pragma once
// Shared by the fuzz targets. Each target is built twice: as a libFuzzer program (`make fuzz`)
// and as a plain program that replays the committed corpus under the unit tests
// (replay_main.cpp), so each property is written once.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace fuzz {

// Set by the replay program, so a failure names the file that caused it; libFuzzer names the
// input itself when it records the crash.
inline const char* currentInput = nullptr;

// A broken property aborts: libFuzzer keeps the input as a crash, the replay test fails.
inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s%s%s\n", property, currentInput ? " in " : "",
                     currentInput ? currentInput : "");
        std::abort();
    }
}

inline std::string textOf(const std::uint8_t* data, std::size_t size) {
    return size == 0 ? std::string() : std::string(reinterpret_cast<const char*>(data), size);
}

// The input as up to `count` texts separated by zero bytes (the texts the program compares come
// from zero-terminated buffers, so they never hold one); missing texts are empty and whatever
// follows the last separator used is ignored.
inline std::vector<std::string> textsOf(const std::uint8_t* data, std::size_t size,
                                        std::size_t count) {
    std::vector<std::string> texts(count);
    std::size_t at = 0;
    for (std::string& text : texts) {
        while (at < size && data[at] != 0)
            text += static_cast<char>(data[at++]);
        if (at == size)
            break;
        ++at;
    }
    return texts;
}

// Reads values one after the other from the input; past its end every value is zero.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::uint32_t uint32() {
        std::uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8)
            value |= static_cast<std::uint32_t>(byte()) << shift;
        return value;
    }
    std::int32_t int32() { return static_cast<std::int32_t>(uint32()); }
    // A length (two bytes) and that many bytes, or as many as are left.
    std::string text() {
        std::size_t length = byte();
        length |= static_cast<std::size_t>(byte()) << 8;
        std::string value;
        while (value.size() < length && at_ < size_)
            value += static_cast<char>(data_[at_++]);
        return value;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace fuzz
