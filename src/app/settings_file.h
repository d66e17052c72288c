#pragma once
// "Settings.def" on disk: found where the clock was started or beside the program, and
// replaced in one step on every save so a crash or a full disk never leaves half a file.
#include "clock/ports.h"

#include <string>
#include <vector>

namespace app {

extern const wchar_t* const SettingsFileName;

class SettingsFile : public clockwork::Store {
public:
    // startDirectory: the working directory captured when the clock window was created.
    explicit SettingsFile(std::wstring startDirectory);

    // Looks beside the program first, then in the start directory; false when neither holds the
    // file. A file longer than the record gives only the record's bytes.
    bool load(std::vector<std::uint8_t>& bytes) override;
    // Writes the file that was read, or a new one in the start directory. On failure the old file
    // stays as it was and false is returned; a file marked read-only counts as a failure.
    bool save(const std::vector<std::uint8_t>& bytes) override;
    std::wstring location() const override { return path(); }
    // Beside the settings file in use. A file over a megabyte is read up to there.
    bool loadHolidays(std::vector<std::uint8_t>& bytes) override;
    std::wstring holidaysLocation() const override;

    // The file a clock started here uses: the first of the two places that holds one, else a new
    // one in the start directory.
    std::wstring locate() const;

    const std::wstring& startDirectory() const { return startDirectory_; }
    // The file saves go to.
    std::wstring path() const;

private:
    std::vector<std::wstring> candidates() const;

    std::wstring startDirectory_;
    std::wstring loadedPath_;
};

std::wstring currentDirectory();
std::wstring programDirectory();
std::wstring joinPath(const std::wstring& directory, const std::wstring& name);

} // namespace app
