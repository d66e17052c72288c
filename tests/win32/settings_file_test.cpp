// "Settings.def" on a real file system: where it is found, that a save never damages it, and
// that one clock at a time holds it.
#include "app/settings_file.h"
#include "app/settings_file_lock.h"
#include "core/settings.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include <sddl.h>

#include <algorithm>

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

std::wstring tempNameFor(const std::wstring& target) {
    return target + L"." + std::to_wstring(GetCurrentProcessId()) + L".tmp";
}

core::ClockSettings distinctiveSettings() {
    core::ClockSettings settings;
    settings.styleIndex = 3;
    settings.opacityIndex = 2;
    settings.alwaysOnTop = 1;
    settings.windowLeft = 321;
    settings.windowTop = 45;
    settings.zoom = 1.75f;
    settings.shutdown.shutdownEnabled = 1;
    settings.shutdown.shutdownTime = "23:59:59";
    settings.alarmSoundPath = win::wideToAnsi(L"C:\\音乐\\闹铃.wav");
    settings.alarms.assign({{1, "07:30:00", win::wideToAnsi(L"起床")}}, win::isAnsiLeadByte);
    return settings;
}

// The file holds bytes; these go through the clock's own codec.
bool save(app::SettingsFile& file, const core::ClockSettings& settings) {
    return file.save(core::encodeSettings(settings, win::isAnsiLeadByte));
}
bool load(app::SettingsFile& file, core::ClockSettings& settings) {
    std::vector<std::uint8_t> bytes;
    if (!file.load(bytes))
        return false;
    core::decodeSettings(bytes.data(), bytes.size(), settings);
    return true;
}

// Another path to the same folder, as a share or a subst drive is on Windows: under Wine, its
// Unix name on drive Z:. Empty elsewhere.
std::wstring otherRouteTo(const std::wstring& path) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name)
        return {};
    // The scratch folder's name is ASCII.
    std::wstring route = L"Z:" + win::ansiToWide(name);
    HeapFree(GetProcessHeap(), 0, name);
    std::replace(route.begin(), route.end(), L'/', L'\\');
    return route;
}

} // namespace

TEST(SettingsFile, SavedFileReadsBackThroughTheDisk) {
    ScratchDirectory scratch;
    app::SettingsFile file(scratch.path());
    ASSERT_TRUE(save(file, distinctiveSettings()));
    EXPECT_EQ(readFile(scratch.file(L"Settings.def")).size(), core::SettingsFileSize);

    core::ClockSettings loaded;
    app::SettingsFile reader(scratch.path());
    ASSERT_TRUE(load(reader, loaded));
    const core::ClockSettings expected = distinctiveSettings();
    EXPECT_EQ(loaded.styleIndex, 3);
    EXPECT_EQ(loaded.windowLeft, 321);
    EXPECT_FLOAT_EQ(loaded.zoom, 1.75f);
    EXPECT_EQ(loaded.shutdown.shutdownTime, "23:59:59");
    EXPECT_EQ(loaded.alarmSoundPath, expected.alarmSoundPath);
    EXPECT_EQ(loaded.alarms.bytes(), expected.alarms.bytes());
    // The Chinese path is stored as code page 936 bytes and comes back as the same text.
    EXPECT_EQ(GetACP(), 936u);
    EXPECT_EQ(win::ansiToWide(loaded.alarmSoundPath), L"C:\\音乐\\闹铃.wav");
}

TEST(SettingsFile, MissingFileKeepsDefaultsAndSaveCreatesIt) {
    ScratchDirectory scratch;
    app::SettingsFile file(scratch.path());
    core::ClockSettings settings;
    settings.styleIndex = 4;
    EXPECT_FALSE(load(file, settings));
    EXPECT_EQ(settings.styleIndex, 4);
    EXPECT_EQ(file.path(), scratch.file(L"Settings.def"));
    ASSERT_TRUE(save(file, core::ClockSettings()));
    EXPECT_TRUE(fileExists(scratch.file(L"Settings.def")));
}

TEST(SettingsFile, ShortAndOverlongFilesKeepEverythingTheyDoNotHold) {
    ScratchDirectory scratch;
    std::vector<unsigned char> bytes =
        core::encodeSettings(distinctiveSettings(), win::isAnsiLeadByte);
    // Cut inside the shutdown time: what lies past the cut keeps its default.
    writeFile(scratch.file(L"Settings.def"),
              std::vector<unsigned char>(bytes.begin(), bytes.begin() + 13650));
    core::ClockSettings loaded;
    app::SettingsFile shortFile(scratch.path());
    load(shortFile, loaded);
    EXPECT_EQ(loaded.styleIndex, 3);
    EXPECT_EQ(loaded.shutdown.shutdownEnabled, 1);
    EXPECT_EQ(loaded.shutdown.shutdownTime, "");
    EXPECT_EQ(loaded.windowLeft, -1);
    EXPECT_FLOAT_EQ(loaded.zoom, 1.0f);

    bytes.resize(bytes.size() + 5000, 0xAB);
    writeFile(scratch.file(L"Settings.def"), bytes);
    core::ClockSettings full;
    app::SettingsFile longFile(scratch.path());
    load(longFile, full);
    EXPECT_EQ(full.windowLeft, 321);
    EXPECT_EQ(full.customCasePath, "");
}

TEST(SettingsFile, SaveGoesBackToTheFileThatWasRead) {
    ScratchDirectory scratch;
    CreateDirectoryW(scratch.file(L"elsewhere").c_str(), nullptr);
    writeFile(scratch.file(L"Settings.def"),
              core::encodeSettings(distinctiveSettings(), win::isAnsiLeadByte));
    app::SettingsFile file(scratch.path());
    core::ClockSettings settings;
    ASSERT_TRUE(load(file, settings));
    SetCurrentDirectoryW(scratch.file(L"elsewhere").c_str());
    settings.styleIndex = 1;
    ASSERT_TRUE(save(file, settings));
    EXPECT_FALSE(fileExists(scratch.file(L"elsewhere\\Settings.def")));
    EXPECT_EQ(readFile(scratch.file(L"Settings.def"))[0], 1);
}

TEST(SettingsFile, FolderThatTakesNoNewFileGetsTheFileRewrittenInPlace) {
    ScratchDirectory scratch;
    const std::wstring target = scratch.file(L"Settings.def");
    writeFile(target, core::encodeSettings(core::ClockSettings(), win::isAnsiLeadByte));
    // The temporary file cannot be created, as in a read-only folder; the file itself is writable.
    CreateDirectoryW(tempNameFor(target).c_str(), nullptr);
    app::SettingsFile file(scratch.path());
    EXPECT_TRUE(save(file, distinctiveSettings()));
    EXPECT_EQ(readFile(target), core::encodeSettings(distinctiveSettings(), win::isAnsiLeadByte));
    // Without a file to rewrite there is nothing to fall back on.
    DeleteFileW(target.c_str());
    EXPECT_FALSE(save(file, distinctiveSettings()));
    EXPECT_FALSE(fileExists(target));
    RemoveDirectoryW(tempNameFor(target).c_str());
}

TEST(SettingsFile, FileHeldOpenIsLeftIntactAndNoTemporaryFileRemains) {
    ScratchDirectory scratch;
    const std::wstring target = scratch.file(L"Settings.def");
    const std::vector<unsigned char> before =
        core::encodeSettings(distinctiveSettings(), win::isAnsiLeadByte);
    writeFile(target, before);
    app::SettingsFile file(scratch.path());
    // The file cannot be replaced while another program holds it open.
    HANDLE held = CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(save(file, core::ClockSettings()));
    CloseHandle(held);
    EXPECT_EQ(readFile(target), before);
    EXPECT_FALSE(fileExists(tempNameFor(target)));
}

TEST(SettingsFileLock, AnotherRouteToTheFolderFindsTheFileTakenAlsoAfterASave) {
    ScratchDirectory scratch;
    const std::wstring path = scratch.file(L"Settings.def");
    const std::wstring other = otherRouteTo(path);
    if (other.empty())
        GTEST_SKIP() << "no second route to the folder outside Wine";
    const std::uint32_t key = app::settingsFileKey(path);
    const app::SettingsFileLock first(path);
    ASSERT_TRUE(first.acquired());
    // A save puts a new file in the place of any there was.
    app::SettingsFile file(scratch.path());
    ASSERT_TRUE(save(file, core::ClockSettings{}));
    EXPECT_EQ(app::settingsFileKey(other), key);
    EXPECT_FALSE(app::SettingsFileLock(other).acquired());
}

TEST(SettingsFileLock, ALockTheUserMayNotOpenCountsAsTaken) {
    ScratchDirectory scratch;
    const std::wstring path = scratch.file(L"Settings.def");
    // As a clock run as administrator leaves its lock to one started with the user's rights.
    PSECURITY_DESCRIPTOR denyAll = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(D;;GA;;;WD)", SDDL_REVISION_1, &denyAll, nullptr));
    const std::unique_ptr<void, decltype(&LocalFree)> descriptor(denyAll, LocalFree);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), denyAll, FALSE};
    const win::UniqueKernelHandle held(
        CreateMutexW(&attributes, FALSE, app::settingsLockName(path).c_str()));
    ASSERT_TRUE(held);
    EXPECT_FALSE(app::SettingsFileLock(path).acquired());
}
