// The main window's peer (see form_win.h).
#include "ui/win/form_win.h"

#include <commctrl.h>

#include "ui/win/deferred_peer_win.h"
#include "ui/win/dpi_win.h"

namespace platform {

namespace {

SIZE outerSize(const ui::Form& form, int clientWidth, int clientHeight) {
    RECT r{0, 0, clientWidth, clientHeight};
    AdjustWindowRectExForDpi(&r, kMainWindowStyle, FALSE, kMainWindowExStyle, static_cast<UINT>(form.dpi()));
    return {r.right - r.left, r.bottom - r.top};
}

// The program's icon at a size the system uses, for the caption and the taskbar button
// (the window class carries it, so the window has it from the start); null without one.
HICON programIcon(int width, int height) {
    return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId), IMAGE_ICON,
                                         GetSystemMetrics(width), GetSystemMetrics(height), LR_SHARED));
}

// Where the primary monitor's work area begins: minimised windows keep their normal
// place in these "workspace" coordinates.
POINT workspaceOrigin() {
    MONITORINFO info{sizeof info, {}, {}, 0};
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
}

}  // namespace

FormPeer::FormPeer(ui::Form& form) : PeerWin(form, *this), style_(form.dpi()) {
    reflectsChildren_ = true;
    tracksHover_ = false;
    registerWindowClass(kMainWindowClass, 0, programIcon(SM_CXICON, SM_CYICON), programIcon(SM_CXSMICON, SM_CYSMICON));
    createTopLevel(kMainWindowClass, kMainWindowStyle, kMainWindowExStyle,
                   outerSize(form, form.bounds().width, form.bounds().height));
    if (!hwnd()) return;
    // The window knows best which monitor it opened on; follow its dpi when it differs.
    if (const int dpi = windowDpi(hwnd()); dpi != form.dpi()) {
        style_.setDpi(dpi);
        form.dpiChanged(dpi);
        const SIZE outer = outerSize(form, form.scale(form.args().design.width), form.scale(form.args().design.height));
        SetWindowPos(hwnd(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    useDarkTitleBar(hwnd());
    makeTooltip();
}

FormPeer::~FormPeer() {
    onClosed = nullptr;  // the program's closing work belongs to a closing by the user
    if (hwnd()) DestroyWindow(hwnd());  // while this peer, its style and tooltip still exist
}

FormPeer* FormPeer::of(const ui::Form& form) { return dynamic_cast<FormPeer*>(form.peer()); }

void FormPeer::show(int how) {
    ShowWindow(hwnd(), how);
    UpdateWindow(hwnd());
}

void FormPeer::setVisible(bool visible) {
    if (hwnd()) ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE);
}

// In the order the controls were added: parents before their children, and siblings in
// their order, which is the z-order and the Tab key's. A page control made on the way
// asks again; the loop under way makes what it would.
void FormPeer::makeWaitingControls() {
    if (makingWaiting_) return;
    makingWaiting_ = true;
    for (const auto& control : formWidget().controls())
        if (auto* waiting = dynamic_cast<DeferredPeer*>(control->peer()); waiting && !waitsForPage(*control))
            waiting->make();
    makingWaiting_ = false;
}

// ---- tooltips ----

void FormPeer::makeTooltip() {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    if (!tooltip_) return;
    useDarkControlTheme(tooltip_);
    // Honoured where no visual style draws the tip (Wine, classic look).
    SendMessageW(tooltip_, TTM_SETTIPBKCOLOR, kPalette.tooltip, 0);
    SendMessageW(tooltip_, TTM_SETTIPTEXTCOLOR, kPalette.text, 0);
    setFontHeight(scale(ui::Form::kFontHeight));
}

void FormPeer::addTip(HWND control, const std::wstring& text) {
    if (!tooltip_ || !control) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());  // the tooltip keeps a copy
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormPeer::removeTip(HWND control) {
    if (!tooltip_ || !IsWindow(tooltip_)) return;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = GetParent(control);
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormPeer::setFontHeight(int pixels) {
    PeerWin::setFontHeight(pixels);
    if (!tooltip_) return;
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font()), TRUE);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, scale(400));
}

// ---- placement ----

ui::Rect FormPeer::windowRect() const {
    RECT r{};
    WINDOWPLACEMENT place{};
    place.length = sizeof place;
    if (IsIconic(hwnd()) && GetWindowPlacement(hwnd(), &place)) {
        // Minimised, the window sits far off screen; its place is where it comes back to.
        r = place.rcNormalPosition;
        const POINT origin = workspaceOrigin();
        OffsetRect(&r, origin.x, origin.y);
    } else {
        GetWindowRect(hwnd(), &r);
    }
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void FormPeer::setWindowRect(const ui::Rect& rect) {
    if (!hwnd()) return;
    WINDOWPLACEMENT place{};
    place.length = sizeof place;
    if (IsIconic(hwnd()) && GetWindowPlacement(hwnd(), &place)) {
        const POINT origin = workspaceOrigin();
        place.rcNormalPosition = {rect.left - origin.x, rect.top - origin.y, rect.right() - origin.x,
                                  rect.bottom() - origin.y};
        SetWindowPlacement(hwnd(), &place);
        return;
    }
    SetWindowPos(hwnd(), nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- messages ----

std::optional<LRESULT> FormPeer::onEraseBackground(HDC dc) {
    RECT client{};
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, style_.brush(surface()));
    return TRUE;
}

std::optional<LRESULT> FormPeer::onSize(UINT kind, int width, int height) {
    if (kind != SIZE_MINIMIZED) formWidget().clientResized(width, height);
    return 0;
}

void FormPeer::close() {
    if (hwnd()) PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

namespace {

// A menu item's text as the menu takes it: the system reads "&" as the mark of the next
// letter's key, and "&&" as an "&". The program's items carry no such marks, and a CAD's
// name ("R&D CAD") shows as it is written.
std::wstring menuLabel(const std::wstring& text) {
    std::wstring label;
    for (wchar_t c : text) {
        if (c == L'&') label += L'&';
        label += c;
    }
    return label;
}

// Appends the items to the menu, submenus made as they come; each command's id is
// idOf(its number in `commands`), to which its path is appended.
void appendMenuItems(HMENU menu, const std::vector<ui::MenuItem>& items, std::vector<std::size_t>& path,
                     std::vector<std::vector<std::size_t>>& commands, const std::function<UINT_PTR(std::size_t)>& idOf) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        path.push_back(i);
        const ui::MenuItem& item = items[i];
        const UINT checked = item.checked ? MF_CHECKED : MF_UNCHECKED;
        if (item.items.empty()) {
            AppendMenuW(menu, MF_STRING | checked, idOf(commands.size()), menuLabel(item.text).c_str());
            commands.push_back(path);
        } else {
            HMENU sub = CreatePopupMenu();
            appendMenuItems(sub, item.items, path, commands, idOf);
            AppendMenuW(menu, MF_POPUP | MF_STRING | checked, reinterpret_cast<UINT_PTR>(sub),
                        menuLabel(item.text).c_str());
        }
        path.pop_back();
    }
}

}  // namespace

void FormPeer::systemMenuChanged(const std::vector<ui::MenuItem>& items) {
    HMENU menu = hwnd() ? GetSystemMenu(hwnd(), FALSE) : nullptr;
    if (!menu) return;
    // Deleting a submenu's item destroys the submenu with it.
    for (; menuItemsAdded_ > 0; --menuItemsAdded_) DeleteMenu(menu, GetMenuItemCount(menu) - 1, MF_BYPOSITION);
    systemMenuCommands_.clear();
    if (items.empty()) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    const int before = GetMenuItemCount(menu);
    std::vector<std::size_t> path;
    appendMenuItems(menu, items, path, systemMenuCommands_,
                    [](std::size_t n) { return static_cast<UINT_PTR>(kFirstMenuCommand + n * kMenuCommandStep); });
    menuItemsAdded_ = static_cast<UINT>(GetMenuItemCount(menu) - before + 1);
}

void FormPeer::popUpMenu(const std::vector<ui::MenuItem>& items, const ui::Widget& under) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    std::vector<std::vector<std::size_t>> commands;
    std::vector<std::size_t> path;
    appendMenuItems(menu, items, path, commands, [](std::size_t n) { return static_cast<UINT_PTR>(n + 1); });
    // Below the control, its left edge aligned, kept clear of it when there is no room.
    RECT anchor{};
    if (HWND control = windowOf(under)) GetWindowRect(control, &anchor);
    TPMPARAMS avoid{sizeof(TPMPARAMS), anchor};
    const UINT command = static_cast<UINT>(TrackPopupMenuEx(
        menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY | TPM_VERTICAL, anchor.left, anchor.bottom,
        hwnd(), &avoid));
    DestroyMenu(menu);
    if (command >= 1 && command <= commands.size()) formWidget().userChoosePopUpItem(commands[command - 1]);
}

std::optional<LRESULT> FormPeer::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SYSCOMMAND: {
            const UINT command = static_cast<UINT>(wParam & 0xFFF0);
            if (command < kFirstMenuCommand || command >= 0xF000) return std::nullopt;
            const std::size_t n = (command - kFirstMenuCommand) / kMenuCommandStep;
            if (n < systemMenuCommands_.size()) {
                const std::vector<std::size_t> path = systemMenuCommands_[n];  // the menu may be rebuilt
                formWidget().userChooseMenuItem(path);
            }
            return 0;
        }
        case WM_INITMENUPOPUP:
            if (HIWORD(lParam) && formWidget().systemMenuOpening) formWidget().systemMenuOpening();
            return std::nullopt;
        case WM_CLOSE:
            if (formWidget().closeAllowed && !formWidget().closeAllowed()) return 0;
            return std::nullopt;  // destroyed by the default handling
        case WM_DPICHANGED: return onDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        case WM_ACTIVATE:
            if (HIWORD(wParam)) return std::nullopt;  // minimised
            return onActivate(LOWORD(wParam) != WA_INACTIVE);
        case WM_ENDSESSION:
            if (wParam) closed();  // the session ends without destroying windows
            return 0;
        case WM_DESTROY:
            closed();
            tooltip_ = nullptr;  // destroyed with its owner
            return 0;
        default: return std::nullopt;
    }
}

LRESULT FormPeer::onDpiChanged(int dpi, const RECT& suggested) {
    style_.setDpi(dpi);
    formWidget().dpiChanged(dpi);  // new fonts, and every control placed again
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    style_.dropRetired();
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    return 0;
}

// Keyboard focus goes back to the control that had it when the window was left, as in
// a dialog box; the first time, to the first control of the tab order.
LRESULT FormPeer::onActivate(bool active) {
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd(), focus)) lastFocus_ = focus;
        return 0;
    }
    HWND target = lastFocus_;
    if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
        target = GetNextDlgTabItem(hwnd(), nullptr, FALSE);
    if (target) SetFocus(target);
    else SetFocus(hwnd());
    return 0;
}

void FormPeer::closed() {
    if (!onClosed) return;
    auto run = std::move(onClosed);
    onClosed = nullptr;
    run();
}

int runMessageLoop(HWND main) {
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        if (main && IsWindow(main) && IsDialogMessageW(main, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace platform
