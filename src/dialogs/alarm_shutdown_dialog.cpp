#include "dialogs/alarm_shutdown_dialog.h"

#include "core/alarm_editing.h"
#include "core/clock_time.h"
#include "core/repeat_rule.h"
#include "dialogs/music_duration_dialog.h"
#include "dialogs/sound_path.h"
#include "sound/alarm_sound_player.h"
#include "win/local_time.h"
#include "win/message_box.h"
#include "win/open_file_dialog.h"
#include "win/strings.h"

#include "resource.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

namespace dialogs {

namespace {

const wchar_t* const AlarmHeadings = L"闹铃时间, 80; 提醒内容, 260; 重复, 150";
constexpr int TimeColumn = 0;
constexpr int ReminderColumn = 1;
const wchar_t* const PickerFormat = L"HH:mm:ss";
// A stored time is shown on this day; only the time of day is ever read back.
constexpr WORD ShownYear = 2008, ShownMonth = 1, ShownDay = 1, ShownDayOfWeek = 2;

const wchar_t* const SoundFilter = L"mp3文件(*.mp3)|*.mp3|wav文件(*.wav)|*.wav|All Files(*.*)|*.*|";
constexpr DWORD SoundFileFlags =
    OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;

const wchar_t* const ChooseSoundTip = L"选择闹铃声";
const wchar_t* const PlaySoundTip = L"试听";
const wchar_t* const StopSoundTip = L"停止";

const wchar_t* const TooManyAlarmsMessage = L"请不要设置超过50个闹铃！";
const wchar_t* const NoDayChosenMessage = L"请选择闹铃在星期几响。";
const wchar_t* const PathRefusedMessage =
    L"这个声音文件的路径无法保存（超过255字节，或含有系统编码无法表示的字符），"
    L"闹铃声保持不变：\n";
const wchar_t* const SoundNotOpenedMessage = L"无法打开这个声音文件，闹铃响时将使用默认铃声：\n";

int dayBoxId(int weekdayFromMonday) {
    return IDC_RULE_MONDAY + weekdayFromMonday;
}
static_assert(IDC_RULE_SUNDAY == IDC_RULE_MONDAY + core::DaysPerWeek - 1, "a box for every day");

// Each row carries its rule, so a rule the dialog does not offer survives it unchanged.
std::uint8_t ruleOfRow(LPARAM ownerData) {
    return static_cast<std::uint8_t>(ownerData);
}

} // namespace

AlarmShutdownDialog::AlarmShutdownDialog(HINSTANCE module, core::ClockSettings& settings,
                                         sound::AlarmSoundPlayer& player,
                                         core::WorkCalendar calendar)
    : Dialog(module, IDD_ALARM_SHUTDOWN), settings_(settings), player_(player),
      calendar_(std::move(calendar)) {
    // The template makes a list view and time pickers; their classes must exist first.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES | ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
}

bool AlarmShutdownDialog::onInitDialog() {
    bindControls();
    DateTime_SetFormat(item(IDC_ALARM_TIME), PickerFormat);
    DateTime_SetFormat(item(IDC_SHUTDOWN_TIME), PickerFormat);
    // The styles come before the rows, so every row gets its check box.
    alarmList_.setFullRowSelect(true);
    alarmList_.setGridLines(true);
    alarmList_.setCheckBoxes(true);
    alarmList_.setColumns(AlarmHeadings);
    fillAlarmList();
    showRuleChoices();
    showShutdown();
    showSoundPath();
    setChecked(IDC_WAKE_FOR_ALARMS, core::wakesForAlarms(settings_));
    scheduleAtOpen_ = settings_.shutdown;
    controlsAtOpen_ = shutdownControls();
    return true;
}

bool AlarmShutdownDialog::onButtonClicked(int id) {
    switch (id) {
    case IDOK:
        // Enter while a new alarm is typed adds it, instead of closing the dialog and losing it.
        if (!isTypingNewAlarm())
            return false;
        addAlarm();
        return true;
    case IDC_ADD_ALARM: addAlarm(); return true;
    case IDC_DELETE_ALARM: deleteAlarm(); return true;
    case IDC_CHANGE_ALARM: changeAlarm(); return true;
    case IDC_CHOOSE_SOUND: chooseSoundFile(); return true;
    case IDC_DEFAULT_SOUND: useDefaultSound(); return true;
    case IDC_PLAY_SOUND: playSound(); return true;
    case IDC_STOP_SOUND: stopSound(); return true;
    default: return false; // OK and Cancel
    }
}

bool AlarmShutdownDialog::onCommand(int id, int code, HWND) {
    if (id != IDC_ALARM_RULE || code != CBN_SELCHANGE)
        return false;
    onRuleChosen();
    return true;
}

bool AlarmShutdownDialog::onNotify(int id, NMHDR& header, LRESULT& result) {
    if (id != IDC_ALARM_LIST)
        return false;
    switch (header.code) {
    case LVN_KEYDOWN: onAlarmListKey(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey); break;
    case LVN_ITEMCHANGED: onAlarmListChanged(reinterpret_cast<const NMLISTVIEW&>(header)); break;
    default: return false;
    }
    result = 0;
    return true;
}

bool AlarmShutdownDialog::isTypingNewAlarm() const {
    return hasFocusWithin(IDC_ALARM_TIME) || hasFocusWithin(IDC_REMINDER);
}

void AlarmShutdownDialog::bindControls() {
    alarmList_.attach(hwnd(), IDC_ALARM_LIST);
    chooseButton_.attachWithBitmap(hwnd(), IDC_CHOOSE_SOUND, module(), IDB_FOLDER);
    playButton_.attachWithBitmap(hwnd(), IDC_PLAY_SOUND, module(), IDB_PLAY);
    stopButton_.attachWithBitmap(hwnd(), IDC_STOP_SOUND, module(), IDB_STOP);
    chooseButton_.setTip(ChooseSoundTip);
    playButton_.setTip(PlaySoundTip);
    stopButton_.setTip(StopSoundTip);
}

void AlarmShutdownDialog::fillAlarmList() {
    const core::AlarmTable& table = settings_.alarms;
    for (int i = 0; i < table.count(); ++i) {
        const core::AlarmEntry entry = table.entry(i);
        const int row =
            alarmList_.addRow(i, rowTexts(entry.time, entry.reminder, entry.repeat), entry.repeat);
        if (row >= 0)
            alarmList_.setRowChecked(row, entry.enabled != 0);
    }
    alarmList_.sortBy(TimeColumn, true);
}

void AlarmShutdownDialog::showShutdown() {
    const HWND repeat = item(IDC_SHUTDOWN_REPEAT);
    // Inserted at fixed places, which the combo box's sort style does not reorder.
    SendMessageW(repeat, CB_INSERTSTRING, core::RepeatOnceChoice,
                 reinterpret_cast<LPARAM>(L"一次"));
    SendMessageW(repeat, CB_INSERTSTRING, core::RepeatAlwaysChoice,
                 reinterpret_cast<LPARAM>(L"总是"));
    SendMessageW(repeat, CB_SETCURSEL,
                 static_cast<WPARAM>(core::repeatChoiceOf(settings_.shutdown.shutdownRepeat)), 0);
    setChecked(IDC_SHUTDOWN_ENABLED, settings_.shutdown.shutdownEnabled != 0);
    showShutdownTime();
}

void AlarmShutdownDialog::showShutdownTime() {
    showTime(IDC_SHUTDOWN_TIME, settings_.shutdown.shutdownTime);
}

// A time that is not a valid "HH:MM:SS" leaves the picker as it is.
void AlarmShutdownDialog::showTime(int pickerId, const std::string& timeText) {
    const std::optional<core::TimeOfDay> time = core::parseTimeOfDay(timeText);
    if (!time)
        return;
    SYSTEMTIME shown{};
    shown.wYear = ShownYear;
    shown.wMonth = ShownMonth;
    shown.wDay = ShownDay;
    shown.wDayOfWeek = ShownDayOfWeek;
    shown.wHour = static_cast<WORD>(time->hour);
    shown.wMinute = static_cast<WORD>(time->minute);
    shown.wSecond = static_cast<WORD>(time->second);
    DateTime_SetSystemtime(item(pickerId), GDT_VALID, &shown);
}

void AlarmShutdownDialog::showSoundPath() {
    setItemText(IDC_SOUND_PATH, win::ansiToWide(settings_.alarmSoundPath));
}

// The picker's own fields, not a conversion through the calendar.
std::optional<std::string> AlarmShutdownDialog::pickedTime(int pickerId) const {
    SYSTEMTIME picked{};
    if (DateTime_GetSystemtime(item(pickerId), &picked) != GDT_VALID ||
        !core::isValidTimeOfDay(picked.wHour, picked.wMinute, picked.wSecond))
        return std::nullopt;
    return core::timeOfDayText(picked.wHour, picked.wMinute, picked.wSecond);
}

core::ShutdownSchedule AlarmShutdownDialog::shutdownControls() const {
    core::ShutdownSchedule shown;
    shown.shutdownEnabled = isChecked(IDC_SHUTDOWN_ENABLED) ? 1 : 0;
    shown.shutdownRepeat = core::storedRepeatOf(
        static_cast<int>(SendMessageW(item(IDC_SHUTDOWN_REPEAT), CB_GETCURSEL, 0, 0)));
    shown.shutdownTime = pickedTime(IDC_SHUTDOWN_TIME).value_or(settings_.shutdown.shutdownTime);
    return shown;
}

std::optional<AlarmShutdownDialog::TypedAlarm> AlarmShutdownDialog::typedAlarm() {
    const std::optional<std::string> time = pickedTime(IDC_ALARM_TIME);
    if (!time)
        return std::nullopt;
    const std::optional<std::uint8_t> rule = chosenRule();
    if (!rule)
        return std::nullopt;
    // Converted and cut once: the row shows exactly what OK will store.
    return TypedAlarm{
        *time, core::fitReminder(win::wideToAnsi(itemText(IDC_REMINDER)), win::isAnsiLeadByte),
        *rule};
}

void AlarmShutdownDialog::addAlarm() {
    if (!pickedTime(IDC_ALARM_TIME))
        return;
    if (alarmList_.rowCount() >= core::AlarmMaxCount) {
        win::showMessage(hwnd(), TooManyAlarmsMessage);
        return;
    }
    const std::optional<TypedAlarm> typed = typedAlarm();
    if (!typed)
        return;
    const int row = alarmList_.addRow(
        alarmList_.rowCount(), rowTexts(typed->time, typed->reminder, typed->rule), typed->rule);
    if (row < 0)
        return;
    alarmList_.setRowChecked(row, true);
    // The selection goes with the new row through the sort, which is how it is found again.
    alarmList_.selectOnly(row);
    alarmList_.sortBy(TimeColumn, true);
    alarmList_.scrollIntoView(alarmList_.nextSelectedRow(-1));
}

// The selected row takes the time, reminder and rule shown below the list; its check box stays.
void AlarmShutdownDialog::changeAlarm() {
    const int row = alarmList_.nextSelectedRow(-1);
    if (row < 0)
        return;
    const std::optional<TypedAlarm> typed = typedAlarm();
    if (!typed)
        return;
    alarmList_.replaceRow(row, rowTexts(typed->time, typed->reminder, typed->rule), typed->rule);
    alarmList_.sortBy(TimeColumn, true);
    alarmList_.scrollIntoView(alarmList_.nextSelectedRow(-1));
}

void AlarmShutdownDialog::deleteAlarm() {
    alarmList_.deleteRow(alarmList_.nextSelectedRow(-1));
}

void AlarmShutdownDialog::onAlarmListKey(WORD key) {
    if (key == VK_DELETE)
        alarmList_.deleteSelectedRows();
}

// A row the user picks is shown for changing; a row selected by the dialog itself (the one just
// added) leaves what the user typed.
void AlarmShutdownDialog::onAlarmListChanged(const NMLISTVIEW& change) {
    EnableWindow(item(IDC_CHANGE_ALARM), alarmList_.nextSelectedRow(-1) >= 0);
    const bool picked = (change.uChanged & LVIF_STATE) != 0 &&
                        (change.uNewState & LVIS_SELECTED) != 0 &&
                        (change.uOldState & LVIS_SELECTED) == 0;
    if (picked && hasFocusWithin(IDC_ALARM_LIST))
        editRow(change.iItem);
}

void AlarmShutdownDialog::editRow(int row) {
    showTime(IDC_ALARM_TIME, alarmList_.cellText(row, TimeColumn));
    setItemText(IDC_REMINDER, win::ansiToWide(alarmList_.cellText(row, ReminderColumn)));
    showRule(ruleOfRow(alarmList_.userData(row)));
}

void AlarmShutdownDialog::showRuleChoices() {
    const HWND rules = item(IDC_ALARM_RULE);
    for (int choice = 0; choice < core::RuleChoiceCount; ++choice) {
        const std::wstring text = core::ruleChoiceText(static_cast<core::RuleChoice>(choice));
        SendMessageW(rules, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    showRule(core::RepeatEveryDay);
}

// The rule's choice and its days; the boxes can be changed only for a choice of days.
void AlarmShutdownDialog::showRule(std::uint8_t repeat) {
    const core::RuleChoice choice = core::ruleChoiceOf(repeat);
    SendMessageW(item(IDC_ALARM_RULE), CB_SETCURSEL, static_cast<WPARAM>(choice), 0);
    const std::uint8_t days = core::daysOfRule(repeat);
    for (int day = 0; day < core::DaysPerWeek; ++day) {
        setChecked(dayBoxId(day), (days & core::weekdayBit(day)) != 0);
        EnableWindow(item(dayBoxId(day)), choice == core::RuleChoice::ChosenDays);
    }
    showRuleNotice();
}

// A choice of days starts from the days the previous rule showed.
void AlarmShutdownDialog::onRuleChosen() {
    const core::RuleChoice choice = shownChoice();
    if (choice == core::RuleChoice::ChosenDays) {
        for (int day = 0; day < core::DaysPerWeek; ++day)
            EnableWindow(item(dayBoxId(day)), TRUE);
        showRuleNotice();
        return;
    }
    showRule(core::ruleOfChoice(choice, 0).value_or(core::RepeatEveryDay));
}

void AlarmShutdownDialog::showRuleNotice() {
    const core::LocalTime now = win::currentLocalTime();
    const std::optional<std::uint8_t> rule = core::ruleOfChoice(shownChoice(), core::RepeatDayBits);
    setItemText(IDC_RULE_NOTICE,
                core::chinaCalendarNotice(rule.value_or(core::RepeatEveryDay),
                                          {now.year, now.month, now.day}, calendar_));
}

// The rule of the controls, or none (and a message) for a choice of days without a day.
std::optional<std::uint8_t> AlarmShutdownDialog::chosenRule() {
    std::uint8_t days = 0;
    for (int day = 0; day < core::DaysPerWeek; ++day)
        days |= isChecked(dayBoxId(day)) ? core::weekdayBit(day) : 0;
    const std::optional<std::uint8_t> rule = core::ruleOfChoice(shownChoice(), days);
    if (!rule)
        win::showMessage(hwnd(), NoDayChosenMessage);
    return rule;
}

core::RuleChoice AlarmShutdownDialog::shownChoice() const {
    return static_cast<core::RuleChoice>(SendMessageW(item(IDC_ALARM_RULE), CB_GETCURSEL, 0, 0));
}

// The cells of a row: its time, its reminder and its rule's text.
std::vector<std::string> AlarmShutdownDialog::rowTexts(const std::string& time,
                                                       const std::string& reminder,
                                                       std::uint8_t repeat) const {
    return {time, reminder, win::wideToAnsi(core::repeatText(repeat))};
}

void AlarmShutdownDialog::chooseSoundFile() {
    const std::optional<std::wstring> chosen =
        win::askForFileToOpen(hwnd(), SoundFilter, SoundFileFlags);
    if (!chosen)
        return;
    const std::optional<std::string> path = storableSoundPath(*chosen);
    if (!path) {
        win::showMessage(hwnd(), PathRefusedMessage + *chosen);
        return;
    }
    settings_.alarmSoundPath = *path;
    MusicDurationDialog duration(module(), settings_);
    duration.doModal(hwnd());
    showSoundPath();
    if (!player_.reopen(win::ansiToWide(settings_.alarmSoundPath)))
        win::showMessage(hwnd(), SoundNotOpenedMessage + *chosen);
}

void AlarmShutdownDialog::useDefaultSound() {
    settings_.alarmSoundPath.clear();
    showSoundPath();
    player_.reopen(std::wstring());
}

// The built-in sound has no preview.
void AlarmShutdownDialog::playSound() {
    if (!settings_.alarmSoundPath.empty())
        player_.play();
}

void AlarmShutdownDialog::stopSound() {
    if (player_.isPlaying())
        player_.stop();
}

void AlarmShutdownDialog::onOK() {
    std::vector<core::AlarmRow> rows;
    for (int row = 0; row < alarmList_.rowCount(); ++row) {
        rows.push_back({alarmList_.isRowChecked(row), alarmList_.cellText(row, TimeColumn),
                        alarmList_.cellText(row, ReminderColumn),
                        ruleOfRow(alarmList_.userData(row))});
    }
    core::storeAlarmRows(settings_.alarms, rows, win::isAnsiLeadByte);
    settings_.shutdown = core::scheduleOnAccept(scheduleAtOpen_, settings_.shutdown,
                                                controlsAtOpen_, shutdownControls());
    core::setWakeForAlarms(settings_, isChecked(IDC_WAKE_FOR_ALARMS));
    endDialog(IDOK);
}

} // namespace dialogs
