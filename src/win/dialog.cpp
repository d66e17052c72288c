#include "win/dialog.h"

#include "win/control.h"
#include "win/failure.h"
#include "win/handles.h"

namespace win {

namespace {

// Messages whose answer is the dialog procedure's return value rather than DWLP_MSGRESULT.
bool answersDirectly(UINT message) {
    switch (message) {
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM: return true;
    default: return false;
    }
}

// How many of our modal dialogs keep a window disabled, counted on that window.
const wchar_t* const ModalHoldsProperty = L"Veltrano.ModalHolds";

int modalHolds(HWND owner) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(owner, ModalHoldsProperty)));
}

void setModalHolds(HWND owner, int holds) {
    if (holds > 0)
        SetPropW(owner, ModalHoldsProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(holds)));
    else
        RemovePropW(owner, ModalHoldsProperty);
}

struct OwnedSearch {
    HWND owner;
    HWND except;
    HWND found;
};

BOOL CALLBACK findOwnedWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<OwnedSearch*>(data);
    if (window == search->except || GetWindow(window, GW_OWNER) != search->owner ||
        !IsWindowVisible(window) || !IsWindowEnabled(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

// Another window of this thread that `owner` owns and that the user can work in.
HWND otherOwnedWindow(HWND owner, HWND except) {
    OwnedSearch search{owner, except, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), findOwnedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

bool paintMinimisedIcon(HWND window, HICON icon) {
    if (!IsIconic(window))
        return false;
    PaintScope paint(window);
    SendMessageW(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.dc()), 0);
    RECT client{};
    GetClientRect(window, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(paint.dc(), x, y, icon);
    return true;
}

Dialog::Dialog(HINSTANCE module, int templateId) : module_(module), templateId_(templateId) {}

Dialog::~Dialog() {
    if (hwnd_ && !modal_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

INT_PTR Dialog::doModal(HWND parent) {
    modal_ = true;
    // DialogBoxParamW disables the top-level window of `parent`.
    holdOwner(parent ? GetAncestor(parent, GA_ROOT) : nullptr);
    const INT_PTR result = DialogBoxParamW(module_, MAKEINTRESOURCEW(templateId_), parent,
                                           dialogProc, reinterpret_cast<LPARAM>(this));
    releaseOwner();
    return result;
}

void Dialog::holdOwner(HWND owner) {
    heldOwner_ = owner;
    if (owner)
        setModalHolds(owner, modalHolds(owner) + 1);
}

// EndDialog enables the owner even while another modal dialog of the same owner is open (a
// timer of the owner may open one inside this dialog's loop, and either may end first): that
// one keeps it disabled, and takes the activation that EndDialog gave the owner.
void Dialog::releaseOwner() {
    const HWND owner = heldOwner_;
    if (!owner)
        return;
    heldOwner_ = nullptr;
    const int holds = modalHolds(owner) - 1;
    setModalHolds(owner, holds);
    if (holds <= 0 || !IsWindow(owner))
        return;
    EnableWindow(owner, FALSE);
    if (GetActiveWindow() != owner)
        return;
    if (const HWND other = otherOwnedWindow(owner, hwnd_))
        SetForegroundWindow(other);
}

HWND Dialog::createModeless(HWND parent) {
    modal_ = false;
    return CreateDialogParamW(module_, MAKEINTRESOURCEW(templateId_), parent, dialogProc,
                              reinterpret_cast<LPARAM>(this));
}

void Dialog::endDialog(INT_PTR result) {
    endResult_ = result;
    if (!hwnd_)
        return;
    if (modal_) {
        EndDialog(hwnd_, result);
        releaseOwner();
    } else {
        DestroyWindow(hwnd_);
    }
}

Handled Dialog::handleMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return Handled::No;
}

bool Dialog::onButtonClicked(int) {
    return false;
}

bool Dialog::onCommand(int, int, HWND) {
    return false;
}

bool Dialog::onNotify(int, NMHDR&, LRESULT&) {
    return false;
}

void Dialog::onTimer(UINT_PTR) {}

bool Dialog::isChecked(int id) const {
    return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED;
}

void Dialog::setChecked(int id, bool checked) {
    CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

std::wstring Dialog::itemText(int id) const {
    return windowText(item(id));
}

void Dialog::setItemText(int id, const std::wstring& text) {
    setWindowText(item(id), text);
}

int Dialog::itemInt(int id) const {
    return static_cast<int>(GetDlgItemInt(hwnd_, id, nullptr, TRUE));
}

void Dialog::setItemInt(int id, int value) {
    SetDlgItemInt(hwnd_, id, static_cast<UINT>(value), TRUE);
}

bool Dialog::hasFocusWithin(int id) const {
    const HWND control = item(id);
    const HWND focus = GetFocus();
    return control && focus && (focus == control || IsChild(control, focus));
}

INT_PTR CALLBACK Dialog::dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return FALSE;
    const INT_PTR answer = self->dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return answer;
}

INT_PTR Dialog::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    const bool handled =
        guarded(L"dialog message", false, [&] { return route(message, wParam, lParam, result); });
    if (!handled)
        return FALSE;
    if (answersDirectly(message))
        return static_cast<INT_PTR>(result);
    if (hwnd_)
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
    return TRUE;
}

bool Dialog::route(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // A control that handles its own notifications gets them first.
    if (Control::reflect(message, wParam, lParam, result))
        return true;
    switch (handleMessage(message, wParam, lParam, result)) {
    case Handled::Yes: return true;
    case Handled::AndDefault: return false;
    case Handled::No: break;
    }
    switch (message) {
    case WM_INITDIALOG: result = onInitDialog(); return true;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const int code = HIWORD(wParam);
        if (code == BN_CLICKED && onButtonClicked(id))
            return true;
        if (onCommand(id, code, reinterpret_cast<HWND>(lParam)))
            return true;
        // Buttons, Enter and Escape (code 0) and accelerators (code 1).
        if (code > 1)
            return false;
        if (id == IDOK)
            onOK();
        else if (id == IDCANCEL)
            onCancel();
        else
            return false;
        return true;
    }
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        return header && onNotify(static_cast<int>(header->idFrom), *header, result);
    }
    case WM_TIMER: onTimer(static_cast<UINT_PTR>(wParam)); return false;
    default: return false;
    }
}

} // namespace win
