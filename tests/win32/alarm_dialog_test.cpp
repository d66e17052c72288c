// The alarm and shutdown dialog, its sortable list and the music duration dialog, driven by
// messages; the menu command that opens the alarm dialog and saves on OK.
#include "controls/row_record.h"
#include "core/repeat_rule.h"
#include "dialogs/alarm_shutdown_dialog.h"
#include "dialogs/music_duration_dialog.h"
#include "dialogs/sound_path.h"
#include "sound/alarm_sound_player.h"
#include "win/handles.h"
#include "win/strings.h"
#include "win32_test_support.h"

#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <vfw.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

struct Row {
    bool ticked;
    std::wstring time;
    std::wstring reminder;
    bool operator==(const Row& other) const {
        return ticked == other.ticked && time == other.time && reminder == other.reminder;
    }
};

std::ostream& operator<<(std::ostream& out, const Row& row) {
    return out << row.ticked << " " << win::wideToAnsi(row.time) << " "
               << win::wideToAnsi(row.reminder);
}

std::wstring cell(HWND list, int row, int column) {
    wchar_t text[512] = {};
    ListView_GetItemText(list, row, column, text, 512);
    return text;
}

std::vector<Row> rowsOf(HWND list) {
    std::vector<Row> rows;
    for (int i = 0; i < ListView_GetItemCount(list); ++i)
        rows.push_back({ListView_GetCheckState(list, i) != 0, cell(list, i, 0), cell(list, i, 1)});
    return rows;
}

void click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Stored out of time order; the reminders sort in yet another order ("开会" < "起床" < "睡觉").
core::ClockSettings threeAlarms() {
    core::ClockSettings settings;
    settings.alarms.assign({{1, "10:30:00", win::wideToAnsi(L"开会")},
                            {2, "08:00:00", win::wideToAnsi(L"起床")},
                            {0, "23:59:59", win::wideToAnsi(L"睡觉")}},
                           win::isAnsiLeadByte);
    return settings;
}

const Row getUp{true, L"08:00:00", L"起床"};
const Row meeting{true, L"10:30:00", L"开会"};
const Row sleep{false, L"23:59:59", L"睡觉"};
const wchar_t* const alarmsCaption = L"自动关机&闹铃设置";

class AlarmDialogTest : public ::testing::Test {
protected:
    HWND open(core::ClockSettings& settings) {
        dialog = std::make_unique<dialogs::AlarmShutdownDialog>(GetModuleHandleW(nullptr), settings,
                                                                player);
        dialog->createModeless(nullptr);
        EXPECT_TRUE(IsWindow(dialog->hwnd()));
        return dialog->hwnd();
    }
    HWND list() const { return GetDlgItem(dialog->hwnd(), IDC_ALARM_LIST); }
    void TearDown() override { dialog.reset(); }

    MessageBoxCapture messages;
    sound::AlarmSoundPlayer player{nullptr, GetModuleHandleW(nullptr)};
    std::unique_ptr<dialogs::AlarmShutdownDialog> dialog;
};

void clickHeading(HWND list, int column) {
    const HWND header = ListView_GetHeader(list);
    RECT r{};
    Header_GetItemRect(header, column, &r);
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(header, WM_LBUTTONUP, 0, at);
}

// What a window paints of itself, pixel by pixel.
struct Picture {
    int width = 0;
    std::vector<COLORREF> pixels;
    COLORREF at(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)]; }
};

Picture pictureOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const win::WindowDc screen(nullptr);
    const win::UniqueMemoryDc dc(CreateCompatibleDC(screen.get()));
    const win::UniqueBitmap bitmap(
        CreateCompatibleBitmap(screen.get(), client.right, client.bottom));
    const win::SelectGuard selected(dc.get(), bitmap.get());
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
    Picture picture{client.right, {}};
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            picture.pixels.push_back(GetPixel(dc.get(), x, y));
    return picture;
}

enum class Arrow { None, Up, Down };

// Reads the sort arrow of `column` from the header's pixels: an upward triangle has a light base
// at its bottom, a downward one a shadowed base at its top.
Arrow arrowOf(HWND list, int column) {
    const HWND header = ListView_GetHeader(list);
    RECT r{};
    Header_GetItemRect(header, column, &r);
    const Picture picture = pictureOf(header);
    const int o = (r.bottom - r.top) / 4;
    int lightBase = 0, shadowBase = 0;
    for (int x = r.right - 3 * o; x < r.right - o - 1; ++x) {
        lightBase += picture.at(x, r.bottom - o - 1) == GetSysColor(COLOR_BTNHIGHLIGHT);
        shadowBase += picture.at(x, r.top + o) == GetSysColor(COLOR_BTNSHADOW);
    }
    if (lightBase >= o)
        return shadowBase < o ? Arrow::Up : Arrow::None;
    return shadowBase >= o ? Arrow::Down : Arrow::None;
}

// A key pressed in item `id`, handed to the dialog manager as a dialog's loop does.
void pressKey(HWND dialog, int id, WPARAM key) {
    SetFocus(GetDlgItem(dialog, id));
    MSG message{GetDlgItem(dialog, id), WM_KEYDOWN, key, 0, 0, {}};
    IsDialogMessageW(dialog, &message);
}

// A visible dialog owned by `owner` other than `other`.
HWND ownedDialog(HWND owner, HWND other = nullptr) {
    for (HWND candidate : threadWindows(L"#32770"))
        if (candidate != other && GetWindow(candidate, GW_OWNER) == owner)
            return candidate;
    return nullptr;
}

} // namespace

TEST_F(AlarmDialogTest, StoredAlarmsOpenSortedByTimeAndAHeadingClickedTwiceReverses) {
    core::ClockSettings settings = threeAlarms();
    open(settings);
    EXPECT_EQ(rowsOf(list()), (std::vector<Row>{getUp, meeting, sleep}));
    EXPECT_EQ(arrowOf(list(), 0), Arrow::Up);
    EXPECT_EQ(controls::RowRecord::liveCount(), 3);

    clickHeading(list(), 1);
    EXPECT_EQ(rowsOf(list()), (std::vector<Row>{meeting, getUp, sleep}));
    EXPECT_EQ(arrowOf(list(), 1), Arrow::Up);
    EXPECT_EQ(arrowOf(list(), 0), Arrow::None);
    clickHeading(list(), 1);
    EXPECT_EQ(rowsOf(list()), (std::vector<Row>{sleep, getUp, meeting}));
    EXPECT_EQ(arrowOf(list(), 1), Arrow::Down);

    // A row put in behind the control's back has no record: it sorts as empty, and nothing is
    // freed for it.
    wchar_t foreignText[] = L"09:00:00"; // would sort after 08:00:00 by its text
    LVITEMW foreign{};
    foreign.mask = LVIF_TEXT;
    foreign.iItem = 3;
    foreign.pszText = foreignText;
    ASSERT_EQ(ListView_InsertItem(list(), &foreign), 3);
    clickHeading(list(), 0);
    EXPECT_EQ(cell(list(), 0, 0), L"09:00:00");
    EXPECT_EQ(cell(list(), 1, 0), L"08:00:00");

    DestroyWindow(dialog->hwnd());
    EXPECT_EQ(controls::RowRecord::liveCount(), 0);
}

TEST_F(AlarmDialogTest, TheFiftyFirstAlarmIsRefusedUntilOneIsDeleted) {
    core::ClockSettings settings;
    settings.alarms.assign(std::vector<core::AlarmEntry>(50, {1, "07:00:00", "x"}),
                           win::isAnsiLeadByte);
    const HWND window = open(settings);
    click(window, IDC_ADD_ALARM);
    EXPECT_EQ(messages.texts, std::vector<std::wstring>{L"请不要设置超过50个闹铃！"});
    EXPECT_EQ(ListView_GetItemCount(list()), 50);

    ListView_SetItemState(list(), 3, LVIS_SELECTED, LVIS_SELECTED);
    click(window, IDC_DELETE_ALARM);
    EXPECT_EQ(ListView_GetItemCount(list()), 49);
    EXPECT_EQ(controls::RowRecord::liveCount(), 49);
    click(window, IDC_ADD_ALARM);
    EXPECT_EQ(ListView_GetItemCount(list()), 50);
    EXPECT_EQ(messages.texts.size(), 1u);
}

TEST_F(AlarmDialogTest, AnAddedReminderShowsAsItIsStored) {
    core::ClockSettings settings;
    settings.shutdown.shutdownTime = "7:5"; // not a time: the picker stays at the current time
    const HWND window = open(settings);
    SYSTEMTIME picked{}, now{};
    DateTime_GetSystemtime(GetDlgItem(window, IDC_SHUTDOWN_TIME), &picked);
    GetLocalTime(&now);
    EXPECT_NEAR(picked.wHour * 3600 + picked.wMinute * 60 + picked.wSecond,
                now.wHour * 3600 + now.wMinute * 60 + now.wSecond, 5);

    // 401 bytes in code page 936; 257 fit, and the 129th character would be cut in half.
    SetDlgItemTextW(window, IDC_REMINDER, (L"a" + std::wstring(200, L'中')).c_str());
    click(window, IDC_ADD_ALARM);
    const std::vector<Row> rows = rowsOf(list());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].ticked);
    EXPECT_EQ(rows[0].reminder, L"a" + std::wstring(128, L'中'));

    click(window, IDOK);
    EXPECT_EQ(settings.alarms.count(), 1);
    EXPECT_EQ(settings.alarms.entry(0).enabled, 1);
    EXPECT_EQ(settings.alarms.entry(0).reminder, win::wideToAnsi(rows[0].reminder));
    EXPECT_EQ(settings.alarms.entry(0).time, win::wideToAnsi(rows[0].time));
}

TEST_F(AlarmDialogTest, EnterAddsTheTypedAlarmSelectedInViewAndDeletingTakesTheSelectedRows) {
    core::ClockSettings settings;
    std::vector<core::AlarmEntry> stored;
    for (int minute = 0; minute < 20; ++minute)
        stored.push_back({1, core::timeOfDayText(9, minute, 0), "x"});
    settings.alarms.assign(stored, win::isAnsiLeadByte);
    const HWND window = open(settings);
    SYSTEMTIME at{2008, 1, 2, 1, 9, 9, 30, 0};
    DateTime_SetSystemtime(GetDlgItem(window, IDC_ALARM_TIME), GDT_VALID, &at);
    SetDlgItemTextW(window, IDC_REMINDER, L"喝水");
    ListView_SetItemState(list(), 0, LVIS_SELECTED, LVIS_SELECTED);
    pressKey(window, IDC_REMINDER, VK_RETURN);
    // Sorted in after 09:09:00, far from the rows shown at first and from the end.
    EXPECT_EQ(ListView_GetSelectedCount(list()), 1u);
    EXPECT_EQ(cell(list(), 10, 1), L"喝水");
    EXPECT_EQ(ListView_GetNextItem(list(), -1, LVNI_SELECTED), 10);
    const int top = ListView_GetTopIndex(list());
    EXPECT_TRUE(top <= 10 && 10 < top + ListView_GetCountPerPage(list())) << top;
    pressKey(window, IDC_ALARM_TIME, VK_RETURN);
    EXPECT_EQ(ListView_GetItemCount(list()), 22);

    ListView_SetItemState(list(), 3, LVIS_SELECTED, LVIS_SELECTED);
    click(window, IDC_DELETE_ALARM);
    // The key takes every selected row, though the template lets the user select only one.
    SetWindowLongPtrW(list(), GWL_STYLE, GetWindowLongPtrW(list(), GWL_STYLE) & ~LVS_SINGLESEL);
    ListView_SetItemState(list(), 0, LVIS_SELECTED, LVIS_SELECTED);
    ListView_SetItemState(list(), 2, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageW(list(), WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(cell(list(), 0, 0) + cell(list(), 1, 0), L"09:01:0009:04:00");
    // Enter anywhere else is OK, which stores the shutdown box and the repeat chosen by name.
    SendDlgItemMessageW(window, IDC_SHUTDOWN_REPEAT, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(L"总是"));
    SendDlgItemMessageW(window, IDC_SHUTDOWN_ENABLED, BM_CLICK, 0, 0);
    pressKey(window, IDC_SHUTDOWN_ENABLED, VK_RETURN);
    EXPECT_EQ(settings.alarms.count(), 19);
    EXPECT_EQ(settings.shutdown.shutdownRepeat, 1);
    EXPECT_EQ(settings.shutdown.shutdownEnabled, 1);
}

// The controls of the repeat rule, in tab order after the list's buttons.
const std::vector<int> RuleControls = {
    IDC_CHANGE_ALARM,    IDC_ALARM_RULE,      IDC_RULE_MONDAY,     IDC_RULE_MONDAY + 1,
    IDC_RULE_MONDAY + 2, IDC_RULE_MONDAY + 3, IDC_RULE_MONDAY + 4, IDC_RULE_MONDAY + 5,
    IDC_RULE_SUNDAY,     IDC_RULE_NOTICE};

void chooseRule(HWND dialog, const wchar_t* text) {
    SendDlgItemMessageW(dialog, IDC_ALARM_RULE, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                        reinterpret_cast<LPARAM>(text));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_ALARM_RULE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_ALARM_RULE)));
}

TEST_F(AlarmDialogTest, APickedRowIsChangedInPlaceAndEveryRowKeepsItsRule) {
    FixedTime today{12, 0, 0}; // 2026-12-07, less than a month before a year without data
    core::ClockSettings settings;
    settings.alarms.assign({{1, "08:00:00", "a", 0x81}, {0, "09:00:00", "b", 0x90}},
                           win::isAnsiLeadByte);
    const HWND window = open(settings);
    EXPECT_EQ(cell(list(), 0, 2) + L"|" + cell(list(), 1, 2), L"法定工作日|每天");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_CHANGE_ALARM)));

    SetFocus(list());
    ListView_SetItemState(list(), 0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(win::windowText(GetDlgItem(window, IDC_REMINDER)), L"a");
    EXPECT_EQ(win::windowText(GetDlgItem(window, IDC_ALARM_RULE)), L"法定工作日");
    EXPECT_EQ(win::windowText(GetDlgItem(window, IDC_RULE_NOTICE)),
              core::unknownYearNotice(2027, core::WorkCalendar()));
    EXPECT_EQ(layoutFaults(window, RuleControls), "");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_RULE_MONDAY)));

    // Mon-Fri from the working days, Saturday added; the row moves to its new time.
    chooseRule(window, L"自定义");
    SendDlgItemMessageW(window, IDC_RULE_MONDAY + 5, BM_CLICK, 0, 0);
    SYSTEMTIME later{2008, 1, 2, 1, 10, 0, 0, 0};
    DateTime_SetSystemtime(GetDlgItem(window, IDC_ALARM_TIME), GDT_VALID, &later);
    SetDlgItemTextW(window, IDC_REMINDER, L"c");
    click(window, IDC_CHANGE_ALARM);
    EXPECT_EQ(rowsOf(list()),
              (std::vector<Row>{{false, L"09:00:00", L"b"}, {true, L"10:00:00", L"c"}}));
    EXPECT_EQ(cell(list(), 1, 2), L"一 二 三 四 五 六");
    EXPECT_EQ(win::windowText(GetDlgItem(window, IDC_RULE_NOTICE)), L"");

    // A choice of days without a day adds nothing.
    for (int day = 0; day < 6; ++day)
        SendDlgItemMessageW(window, IDC_RULE_MONDAY + day, BM_CLICK, 0, 0);
    click(window, IDC_ADD_ALARM);
    EXPECT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(ListView_GetItemCount(list()), 2);

    click(window, IDOK);
    EXPECT_EQ(settings.alarms.entry(0).repeat, 0x90);
    EXPECT_EQ(settings.alarms.entry(1).repeat, 0x3F);
}

TEST_F(AlarmDialogTest, SoundButtonsSinkWhenPressedShowTheKeyboardFocusAndTheirNames) {
    core::ClockSettings settings;
    const HWND window = open(settings);
    ShowWindow(window, SW_SHOW);
    const HWND play = GetDlgItem(window, IDC_PLAY_SOUND);
    const Picture up = pictureOf(play);
    SendMessageW(play, BM_SETSTATE, TRUE, 0);
    const Picture pressed = pictureOf(play);
    // Inside a sunken edge, the picture at rest moved by a pixel.
    int unmoved = 0;
    const int height = static_cast<int>(up.pixels.size()) / up.width;
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 1; x + 1 < up.width; ++x)
            unmoved += pressed.at(x, y) != up.at(x - 1, y - 1);
    EXPECT_EQ(unmoved, 0);
    EXPECT_EQ(pressed.at(0, 1), GetSysColor(COLOR_BTNSHADOW));

    // Reached by Tab from "默认", with a focus rectangle while the keyboard cues are shown.
    const HWND choose = GetDlgItem(window, IDC_CHOOSE_SOUND);
    const Picture resting = pictureOf(choose);
    pressKey(window, IDC_DEFAULT_SOUND, VK_TAB);
    SendMessageW(choose, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    EXPECT_TRUE(pictureOf(choose).pixels != resting.pixels);
    SendMessageW(choose, WM_UPDATEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
    EXPECT_TRUE(pictureOf(choose).pixels == resting.pixels);

    RECT r{};
    GetWindowRect(play, &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    const auto tipShown = [] {
        const std::vector<HWND> shown = threadWindows(TOOLTIPS_CLASSW);
        return shown.size() == 1 && win::windowText(shown[0]) == L"试听";
    };
    EXPECT_TRUE(pumpUntil(tipShown, 5000));
    SetCursorPos(0, 0);
}

// --- Through the clock's menu command: OK saves, Cancel leaves the file alone ---------------

namespace {

class AlarmCommandTest : public ::testing::Test, public ClockUnderTest {
protected:
    // Opens the dialog from the menu and, inside its modal loop, runs `act` on it.
    void editAlarms(const std::function<void(HWND dialog)>& act) {
        EXPECT_TRUE(inDialog(
            alarmsCaption, [&] { command(ID_ALARM_SHUTDOWN); }, act));
    }
    void TearDown() override { clock.reset(); }

    FixedTime time{12, 0, 0};
};

} // namespace

TEST_F(AlarmCommandTest, OkStoresTheRowsInDisplayOrderAndCancelLeavesTheFileAsItWas) {
    core::ClockSettings settings = threeAlarms();
    settings.shutdown = {0, -1, "23:05:09"};
    ASSERT_TRUE(start(settings));
    const std::vector<unsigned char> before = savedBytes();
    editAlarms([](HWND dialog) {
        ListView_SetCheckState(GetDlgItem(dialog, IDC_ALARM_LIST), 0, FALSE);
        click(dialog, IDCANCEL);
    });
    EXPECT_EQ(savedBytes(), before);

    editAlarms([](HWND dialog) {
        ListView_SetCheckState(GetDlgItem(dialog, IDC_ALARM_LIST), 1, FALSE);
        click(dialog, IDOK);
    });
    core::AlarmTable expected;
    expected.assign({{1, "08:00:00", win::wideToAnsi(L"起床")},
                     {0, "10:30:00", win::wideToAnsi(L"开会")},
                     {0, "23:59:59", win::wideToAnsi(L"睡觉")}},
                    win::isAnsiLeadByte);
    EXPECT_EQ(saved().alarms.bytes(), expected.bytes());
    // The stored "always" of -1 comes back as 1; the time is kept although the box is off.
    EXPECT_EQ(saved().shutdown, (core::ShutdownSchedule{0, 1, "23:05:09"}));
}

TEST_F(AlarmCommandTest, SoundButtonsWorkTheClocksPlayerAndACancelledFileChoiceChangesNothing) {
    const std::string tone = win::wideToAnsi(scratch.file(L"tone.wav"));
    writeSilentWave(win::ansiToWide(tone), 3);
    core::ClockSettings settings;
    settings.alarmSoundPath = tone;
    const HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                       nullptr, nullptr);
    sound::AlarmSoundPlayer clockPlayer(owner, GetModuleHandleW(nullptr));
    ASSERT_TRUE(clockPlayer.reopen(win::ansiToWide(tone)));
    dialogs::AlarmShutdownDialog dialog(GetModuleHandleW(nullptr), settings, clockPlayer);
    const HWND window = dialog.createModeless(nullptr);
    const HWND player = clockPlayer.playerWindow();
    click(window, IDC_PLAY_SOUND);
    EXPECT_EQ(MCIWndGetMode(player, nullptr, 0), MCI_MODE_PLAY);
    click(window, IDC_STOP_SOUND);
    EXPECT_EQ(MCIWndGetMode(player, nullptr, 0), MCI_MODE_STOP);
    std::set<HWND> opened; // a duration dialog after the file dialog would be one more
    LaterOnThisThread cancel([&] {
        const HWND owned = ownedDialog(window);
        if (owned && opened.insert(owned).second)
            PostMessageW(owned, WM_COMMAND, IDCANCEL, 0);
        return false;
    });
    click(window, IDC_CHOOSE_SOUND);
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(clockPlayer.playerWindow(), player);
    EXPECT_EQ(settings.alarmSoundPath, tone);
    click(window, IDC_DEFAULT_SOUND);
    EXPECT_EQ(win::windowText(GetDlgItem(window, IDC_SOUND_PATH)), L"");
    EXPECT_FALSE(IsWindow(player));
    EXPECT_EQ(settings.alarmSoundPath, "");
    DestroyWindow(window);
    DestroyWindow(owner);
}

// The clock's tick opens the shutdown countdown over the alarm dialog, inside its loop: the
// alarm dialog ending first must not give the clock back its menu while the countdown shows.
TEST_F(AlarmCommandTest, TheClockStaysDisabledUntilTheCountdownOverTheAlarmDialogHasEnded) {
    core::ClockSettings settings;
    settings.shutdown = {1, 1, "12:00:05"};
    ASSERT_TRUE(start(settings));
    HWND alarms = nullptr, countdown = nullptr, foregroundBetween = nullptr;
    bool enabledBetween = true;
    LaterOnThisThread drive([&] {
        if (!alarms && (alarms = findDialog(alarmsCaption)) != nullptr) {
            time.set(12, 0, 5);
        } else if (alarms && !countdown && (countdown = findDialog(L"自动关机提示")) != nullptr) {
            SetForegroundWindow(alarms); // as the user's click on its "取消" would
            PostMessageW(alarms, WM_COMMAND, IDCANCEL, 0);
        } else if (countdown && !IsWindowVisible(alarms)) {
            enabledBetween = IsWindowEnabled(clock->hwnd()) != FALSE;
            foregroundBetween = GetForegroundWindow();
            PostMessageW(countdown, WM_COMMAND, IDCANCEL, 0);
            return true;
        }
        return false;
    });
    command(ID_ALARM_SHUTDOWN);
    EXPECT_FALSE(enabledBetween);
    EXPECT_EQ(foregroundBetween, countdown);
    EXPECT_TRUE(IsWindowEnabled(clock->hwnd()));
}

// --- Music duration -------------------------------------------------------------------------

TEST(MusicDurationDialog, TicksTheStoredChoiceAndOkStoresTheTickedOne) {
    const std::vector<std::pair<int, std::int32_t>> buttons = {{IDC_DURATION_10, 10},
                                                               {IDC_DURATION_20, 20},
                                                               {IDC_DURATION_30, 30},
                                                               {IDC_DURATION_60, 60},
                                                               {IDC_DURATION_WHOLE, 0}};
    auto ticked = [&](HWND dialog) {
        std::vector<int> found;
        for (const auto& button : buttons) {
            if (IsDlgButtonChecked(dialog, button.first) == BST_CHECKED)
                found.push_back(button.first);
        }
        return found;
    };
    core::ClockSettings settings;
    for (const auto& button : buttons) {
        settings.alarmSoundSeconds = button.second;
        dialogs::MusicDurationDialog dialog(GetModuleHandleW(nullptr), settings);
        dialog.createModeless(nullptr);
        EXPECT_EQ(ticked(dialog.hwnd()), std::vector<int>{button.first}) << button.second;
    }
    settings.alarmSoundSeconds = 45; // no button stands for it
    {
        dialogs::MusicDurationDialog dialog(GetModuleHandleW(nullptr), settings);
        dialog.createModeless(nullptr);
        EXPECT_EQ(ticked(dialog.hwnd()), std::vector<int>{IDC_DURATION_30});
        SendDlgItemMessageW(dialog.hwnd(), IDC_DURATION_60, BM_CLICK, 0, 0);
        click(dialog.hwnd(), IDCANCEL);
        EXPECT_EQ(settings.alarmSoundSeconds, 45);
    }
    for (const auto& button : buttons) {
        dialogs::MusicDurationDialog dialog(GetModuleHandleW(nullptr), settings);
        dialog.createModeless(nullptr);
        SendDlgItemMessageW(dialog.hwnd(), button.first, BM_CLICK, 0, 0);
        EXPECT_EQ(ticked(dialog.hwnd()), std::vector<int>{button.first});
        click(dialog.hwnd(), IDOK);
        EXPECT_EQ(settings.alarmSoundSeconds, button.second);
    }
}

TEST_F(AlarmDialogTest, AChosenSoundFileThatDoesNotOpenIsStoredAndSaysSoOnce) {
    ScratchDirectory scratch;
    const std::wstring noise = scratch.file(L"不是声音.mp3");
    writeFile(noise, {'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o'});
    core::ClockSettings settings;
    const HWND window = open(settings);
    // The file dialog, then the duration dialog, each owned by the alarm dialog.
    HWND fileDialog = nullptr;
    bool durationAnswered = false;
    LaterOnThisThread answer([&] {
        if (!fileDialog) {
            fileDialog = ownedDialog(window);
            if (!fileDialog)
                return false;
            constexpr int fileNameBox = 1148; // the explorer-style dialog's file name combo box
            SetDlgItemTextW(fileDialog, fileNameBox, noise.c_str());
            PostMessageW(fileDialog, WM_COMMAND, IDOK, 0);
            return false;
        }
        const HWND duration = ownedDialog(window, fileDialog);
        if (!duration)
            return false;
        durationAnswered = true;
        SendMessageW(duration, WM_COMMAND, IDOK, 0);
        return true;
    });
    click(window, IDC_CHOOSE_SOUND);
    EXPECT_TRUE(durationAnswered);
    EXPECT_EQ(settings.alarmSoundPath, win::wideToAnsi(noise));
    EXPECT_EQ(messages.texts, std::vector<std::wstring>{
                                  L"无法打开这个声音文件，闹铃响时将使用默认铃声：\n" + noise});
}

// --- The sound path that "Settings.def" can keep --------------------------------------------

TEST(SoundPath, APathTheFieldCannotHoldIsShortenedOrRefused) {
    ScratchDirectory scratch;
    const std::wstring plain = scratch.file(L"铃声.wav");
    writeFile(plain, {0});
    EXPECT_EQ(dialogs::storableSoundPath(plain), win::wideToAnsi(plain));

    // Thai is not in code page 936: only the short name can be stored.
    const std::wstring foreign = scratch.file(L"เสียง.wav");
    writeFile(foreign, {0});
    const std::optional<std::string> shortened = dialogs::storableSoundPath(foreign);
    ASSERT_TRUE(shortened);
    EXPECT_TRUE(fileExists(win::ansiToWide(*shortened)));
    EXPECT_FALSE(dialogs::storableSoundPath(scratch.file(L"ไม่มี.wav")));

    // Over 300 bytes in the code page, though within MAX_PATH characters; nested, as Linux
    // allows no more than 255 bytes of UTF-8 in one name.
    std::wstring folder = scratch.path();
    for (int level = 0; level < 3; ++level) {
        folder += L"\\" + std::wstring(50, L'长');
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    }
    const std::wstring deep = folder + L"\\a.wav";
    writeFile(deep, {0});
    ASSERT_GE(win::wideToAnsi(deep).size(), core::PathFieldSize);
    const std::optional<std::string> deepStored = dialogs::storableSoundPath(deep);
    ASSERT_TRUE(deepStored);
    EXPECT_LT(deepStored->size(), core::PathFieldSize);
    EXPECT_TRUE(fileExists(win::ansiToWide(*deepStored)));
    EXPECT_FALSE(dialogs::storableSoundPath(folder + L"\\missing.wav"));
}
