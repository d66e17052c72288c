// Runs a fuzz target over saved inputs without libFuzzer, for the unit tests: the empty input,
// then every file named and every file under every folder named, in path order. A folder that
// does not exist is passed over (the crash folder exists only once something was found), but the
// first argument, the target's corpus, must hold inputs.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> inputsUnder(const fs::path& path) {
    std::vector<fs::path> files;
    if (fs::is_directory(path)) {
        for (const auto& entry : fs::recursive_directory_iterator(path)) {
            if (entry.is_regular_file())
                files.push_back(entry.path());
        }
    } else if (fs::is_regular_file(path)) {
        files.push_back(path);
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Each input in an allocation of exactly its size, so AddressSanitizer sees a read past its end.
void replay(const std::vector<std::uint8_t>& bytes) {
    const std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size()]);
    std::copy(bytes.begin(), bytes.end(), data.get());
    LLVMFuzzerTestOneInput(data.get(), bytes.size());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s corpus-folder [more files or folders]\n", argv[0]);
        return 2;
    }
    replay({});
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i) {
        const std::vector<fs::path> files = inputsUnder(argv[i]);
        if (i == 1 && files.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        for (const fs::path& file : files) {
            const std::string name = file.string();
            fuzz::currentInput = name.c_str();
            std::ifstream in(file, std::ios::binary);
            replay(std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                             std::istreambuf_iterator<char>()));
            ++replayed;
        }
    }
    fuzz::currentInput = nullptr;
    std::printf("%zu inputs replayed\n", replayed);
    return 0;
}
