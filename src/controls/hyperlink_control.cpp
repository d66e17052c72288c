#include "controls/hyperlink_control.h"

#include "core/link_open.h"
#include "win/dpi.h"
#include "win/message_box.h"
#include "win/process_start.h"
#include "win/registry.h"
#include "win/window_rect.h"
#include "win/window_text.h"

#include <commctrl.h>

#include <optional>

namespace controls {

namespace {

constexpr UINT_PTR LinkToolId = 1;
// ShellExecute and WinExec report success with a value above this.
constexpr INT_PTR LastFailureCode = 32;
// What a started fallback browser reports, as WinExec does.
constexpr INT_PTR StartedCode = 33;

TOOLINFOW linkTool(HWND control, const std::wstring& text) {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    // The tooltip watches the mouse itself: the modal loops this control lives in have no
    // place to relay messages to it.
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = control;
    tool.uId = LinkToolId;
    GetClientRect(control, &tool.rect);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    return tool;
}

} // namespace

void HyperLinkControl::onAttached() {
    SetWindowLongPtrW(hwnd(), GWL_STYLE, GetWindowLongPtrW(hwnd(), GWL_STYLE) | SS_NOTIFY);
    const std::wstring text = win::windowText(hwnd());
    if (target_.empty())
        target_ = text;
    if (text.empty())
        win::setWindowText(hwnd(), target_);
    fitToText();
    cursor_ = LoadCursorW(nullptr, IDC_ARROW);
    addTooltip();
}

win::Handled HyperLinkControl::handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                             LRESULT& result) {
    switch (message) {
    case WM_SETCURSOR:
        SetCursor(cursor_);
        result = TRUE;
        return win::Handled::Yes;
    case WM_SETFONT:
        // A dialog moved to a monitor of another DPI hands its children the font made anew.
        result = defaultProcedure(message, wParam, lParam);
        underlineFont_.reset();
        fitToText();
        return win::Handled::Yes;
    case win::DpiChangedAfterParentMessage: fitToText(); return win::Handled::AndDefault;
    case WM_DESTROY: tooltip_.reset(); return win::Handled::AndDefault;
    default: return win::Handled::No;
    }
}

bool HyperLinkControl::handleReflected(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != STN_CLICKED)
            return false;
        openLink();
        return true;
    case WM_CTLCOLORSTATIC: result = chooseColours(reinterpret_cast<HDC>(wParam)); return true;
    default: return false;
    }
}

void HyperLinkControl::setLinkTarget(const std::wstring& target) {
    target_ = target;
    fitToText();
    if (tooltip_) {
        TOOLINFOW tool = linkTool(hwnd(), target_);
        SendMessageW(tooltip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void HyperLinkControl::markVisited(bool visited) {
    visited_ = visited;
    repaintUnderText();
}

void HyperLinkControl::setUnderlined(bool underlined) {
    underlined_ = underlined;
    repaintUnderText();
}

void HyperLinkControl::addTooltip() {
    tooltip_.reset(CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, nullptr, nullptr));
    if (!tooltip_)
        return;
    TOOLINFOW tool = linkTool(hwnd(), target_);
    SendMessageW(tooltip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// Shrinks the control to its text, so a click beside the text is not a click on the link.
void HyperLinkControl::fitToText() {
    if (!fitToText_ || !hwnd())
        return;
    RECT area = win::rectInParent(hwnd());
    const SIZE extent = win::textExtent(hwnd(), textFont(), win::windowText(hwnd()));
    const LONG_PTR style = GetWindowLongPtrW(hwnd(), GWL_STYLE);
    if (style & SS_CENTERIMAGE) {
        const LONG margin = (area.bottom - area.top - extent.cy) / 2;
        area.top += margin;
        area.bottom -= margin;
    } else {
        area.bottom = area.top + extent.cy;
    }
    if (style & SS_CENTER) {
        const LONG margin = (area.right - area.left - extent.cx) / 2;
        area.left += margin;
        area.right -= margin;
    } else if (style & SS_RIGHT) {
        area.left = area.right - extent.cx;
    } else {
        area.right = area.left + extent.cx;
    }
    SetWindowPos(hwnd(), nullptr, area.left, area.top, area.right - area.left,
                 area.bottom - area.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (tooltip_) {
        TOOLINFOW tool = linkTool(hwnd(), target_);
        SendMessageW(tooltip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// The static's own font, else the dialog's, both made by the dialog for its DPI; the system font
// only in a window that has neither.
HGDIOBJ HyperLinkControl::textFont() const {
    for (const HWND window : {hwnd(), GetParent(hwnd())}) {
        if (const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)))
            return font;
    }
    return GetStockObject(SYSTEM_FONT);
}

LRESULT HyperLinkControl::chooseColours(HDC dc) {
    SetTextColor(dc, visited_ ? visitedColour_ : linkColour_);
    if (underlined_) {
        if (!underlineFont_) {
            LOGFONTW description{};
            GetObjectW(textFont(), sizeof(description), &description);
            description.lfUnderline = TRUE;
            underlineFont_.reset(CreateFontIndirectW(&description));
        }
        // Stays selected after the static has drawn; the font lives as long as the control.
        SelectObject(dc, underlineFont_.get());
    }
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

void HyperLinkControl::openLink() {
    const INT_PTR result = openLinkTarget(target_, SW_SHOW);
    markVisited(result > LastFailureCode);
    if (visited_)
        return;
    MessageBeep(MB_ICONEXCLAMATION);
    reportOpenFailure(static_cast<int>(result));
}

INT_PTR HyperLinkControl::openLinkTarget(const std::wstring& target, int showCommand) {
    const INT_PTR opened = win::shellOpen(target, showCommand);
    if (static_cast<UINT_PTR>(opened) > static_cast<UINT_PTR>(LastFailureCode))
        return opened;
    // No handler for the target itself: hand it to the browser registered for web pages.
    const std::optional<std::wstring> pageClass =
        win::readRegistryText(HKEY_CLASSES_ROOT, L".htm", nullptr);
    if (!pageClass)
        return opened;
    const std::wstring commandKey = *pageClass + L"\\shell\\open\\command";
    const std::optional<std::wstring> command =
        win::readRegistryText(HKEY_CLASSES_ROOT, commandKey.c_str(), nullptr);
    if (!command)
        return opened;
    const DWORD error = win::startProcess(core::browserCommandLine(*command, target), showCommand);
    return error == ERROR_SUCCESS ? StartedCode : core::launchFailureCode(error);
}

void HyperLinkControl::reportOpenFailure(int code) {
    win::showMessage(GetParent(hwnd()), core::openFailureText(code));
}

// The background shows through the text, so the parent repaints the area under it first.
void HyperLinkControl::repaintUnderText() {
    if (!hwnd())
        return;
    const RECT area = win::rectInParent(hwnd());
    RedrawWindow(GetParent(hwnd()), &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

} // namespace controls
