// What every Win32 peer shares (see peer_win.h).
#include "ui/win/peer_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "ui/win/deferred_peer_win.h"
#include "ui/win/failure_barrier_win.h"
#include "ui/win/form_win.h"
#include "ui/win/paint_win.h"

namespace platform {

namespace {

// The peers by their windows, asked on every message to our own windows and on every
// notification a parent passes on. Kept in the program rather than in a window property:
// under Wine each GetPropW is a request to the Wine server, a few hundred of them before
// the window first shows. One user-interface thread uses it.
std::unordered_map<HWND, PeerWin*>& peersByWindow() {
    static std::unordered_map<HWND, PeerWin*> peers;
    return peers;
}

int nextControlId() {
    static int id = 100;
    return ++id;
}

// The system control being made, and its id: it may ask its parent to measure it before
// CreateWindowEx returns and the window is attached to its peer.
struct BeingMade {
    PeerWin* peer = nullptr;
    UINT id = 0;
} beingMade;

const ui::Form& rootForm(const ui::Widget& w) {
    const ui::Widget* at = &w;
    while (at->parent()) at = at->parent();
    return static_cast<const ui::Form&>(*at);
}

}  // namespace

PeerWin::PeerWin(ui::Widget& widget, FormPeer& form) : widget_(widget), form_(form) {}

PeerWin::~PeerWin() {
    if (!hwnd_) return;
    if (&form_ != this) form_.removeTip(hwnd_);
    DestroyWindow(hwnd_);  // the window detaches itself on WM_NCDESTROY
}

PeerWin* PeerWin::from(HWND window) {
    if (!window) return nullptr;
    const auto found = peersByWindow().find(window);
    return found == peersByWindow().end() ? nullptr : found->second;
}

PeerWin* PeerWin::of(const ui::Widget& widget) {
    ui::WidgetPeer* peer = widget.peer();
    if (const auto* waiting = dynamic_cast<const DeferredPeer*>(peer)) peer = waiting->made();
    return dynamic_cast<PeerWin*>(peer);
}

HWND windowOf(const ui::Widget& widget) {
    const PeerWin* peer = PeerWin::of(widget);
    return peer ? peer->hwnd() : nullptr;
}

DarkStyle& PeerWin::style() const { return form_.darkStyle(); }

int PeerWin::scale(int designValue) const { return rootForm(widget_).scale(designValue); }

HWND PeerWin::parentWindow() const { return widget_.parent() ? windowOf(*widget_.parent()) : nullptr; }

// ---- creation ----

void PeerWin::createSystemControl(const wchar_t* windowClass, DWORD style, DWORD exStyle, int windowHeight) {
    const ui::Rect b = widget_.bounds();
    style |= WS_CHILD | WS_CLIPSIBLINGS | (widget_.visible() ? WS_VISIBLE : 0) | (widget_.enabled() ? 0 : WS_DISABLED);
    chooseFont();
    const int id = nextControlId();
    beingMade = {this, static_cast<UINT>(id)};
    HWND window = CreateWindowExW(exStyle, windowClass, widget_.text().c_str(), style, b.left, b.top, b.width,
                                  windowHeight > 0 ? windowHeight : b.height, parentWindow(),
                                  reinterpret_cast<HMENU>(INT_PTR{id}), GetModuleHandleW(nullptr), nullptr);
    beingMade = {};
    if (!window) return;
    attach(window);
    // Subclassed by replacing the window procedure, not with SetWindowSubclass, whose
    // procedure asks for a window property on every message: under Wine a request to the
    // Wine server each time. The control is ours alone; its own procedure comes back at
    // WM_NCDESTROY.
    controlProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PeerWin::subclassProc)));
    afterCreate();
}

void PeerWin::createOwnWindow(const wchar_t* windowClass, DWORD style, DWORD exStyle) {
    const ui::Rect b = widget_.bounds();
    own_ = true;
    style |= WS_CHILD | WS_CLIPSIBLINGS | (widget_.visible() ? WS_VISIBLE : 0) | (widget_.enabled() ? 0 : WS_DISABLED);
    chooseFont();
    CreateWindowExW(exStyle, windowClass, widget_.text().c_str(), style, b.left, b.top, b.width, b.height,
                    parentWindow(), reinterpret_cast<HMENU>(INT_PTR{nextControlId()}), GetModuleHandleW(nullptr),
                    this);
    if (hwnd_) afterCreate();
}

void PeerWin::createTopLevel(const wchar_t* windowClass, DWORD windowStyle, DWORD exStyle, SIZE outer) {
    own_ = true;
    CreateWindowExW(exStyle, windowClass, widget_.text().c_str(), windowStyle, CW_USEDEFAULT, CW_USEDEFAULT, outer.cx,
                    outer.cy, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_) return;
    font_ = style().font(scale(ui::Form::kFontHeight));
}

void PeerWin::registerWindowClass(const wchar_t* name, UINT classStyle, HICON icon, HICON smallIcon) {
    platform::registerWindowClass<PeerWin>(name, nullptr, classStyle, icon, smallIcon);
}

void PeerWin::chooseFont() {
    const int design = widget_.args().fontHeight ? widget_.args().fontHeight : ui::Form::kFontHeight;
    font_ = style().font(scale(design));
}

void PeerWin::afterCreate() {
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    if (!widget_.args().hint.empty()) form_.addTip(hwnd_, widget_.args().hint);
    raiseAboveOverlappedSiblings();
}

// A control added later lies just above the earlier ones it overlaps (the control table
// lists lower siblings first); elsewhere creation order stays the z-order and tab order.
void PeerWin::raiseAboveOverlappedSiblings() {
    if (!widget_.parent()) return;
    const ui::Rect mine = widget_.bounds();
    std::vector<HWND> below;  // the windows of the earlier siblings it overlaps
    for (const ui::Widget* sibling : widget_.parent()->children()) {
        if (sibling == &widget_) break;  // only those made before this one
        const ui::Rect o = sibling->bounds();
        if (mine.left < o.right() && o.left < mine.right() && mine.top < o.bottom() && o.top < mine.bottom())
            if (HWND window = windowOf(*sibling)) below.push_back(window);
    }
    // Most controls overlap none: then the z-order need not be walked (under Wine every
    // step of the walk asks the Wine server).
    if (below.empty()) return;
    for (HWND w = GetWindow(hwnd_, GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (std::find(below.begin(), below.end(), w) == below.end()) continue;
        HWND above = GetWindow(w, GW_HWNDPREV);
        SetWindowPos(hwnd_, above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
}

void PeerWin::attach(HWND window) {
    hwnd_ = window;
    peersByWindow()[window] = this;
}

// ---- what the widget tells the control ----

void PeerWin::setBounds(const ui::Rect& r) {
    if (hwnd_) SetWindowPos(hwnd_, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PeerWin::setVisible(bool visible) {
    if (!hwnd_) return;
    if (visible) form_.makeWaitingControls();  // pages inside it may show now
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void PeerWin::setEnabled(bool enabled) {
    if (hwnd_) EnableWindow(hwnd_, enabled);
}

void PeerWin::setText(const std::wstring& text) {
    if (hwnd_) SetWindowTextW(hwnd_, text.c_str());
}

void PeerWin::setFontHeight(int pixels) {
    font_ = style().font(pixels);
    if (!hwnd_) return;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    onFontChanged();
}

void PeerWin::drawText(HDC dc, const std::wstring& s, const RECT& r, COLORREF colour, UINT format) const {
    text(dc, s, r, colour, style().fitting(dc, font_, s, r.right - r.left), format);
}

HBRUSH PeerWin::onControlColour(HDC dc) {
    const COLORREF back = surface();
    SetTextColor(dc, enabledNow() ? kPalette.text : kPalette.textDisabled);
    SetBkColor(dc, back);
    return style().brush(back);
}

COLORREF PeerWin::surface() const {
    const PeerWin* parent = widget_.parent() ? of(*widget_.parent()) : nullptr;
    return parent ? parent->surface() : kPalette.window;
}

// ---- the window procedure ----

LRESULT CALLBACK PeerWin::subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return withinBarrier([&] {
        PeerWin* peer = from(window);
        return peer ? peer->dispatch(message, wParam, lParam) : DefWindowProcW(window, message, wParam, lParam);
    });
}

LRESULT PeerWin::callDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return own_ ? DefWindowProcW(hwnd_, message, wParam, lParam)
                : CallWindowProcW(controlProc_, hwnd_, message, wParam, lParam);
}

LRESULT PeerWin::dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    std::optional<LRESULT> result;
    switch (message) {
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: return mouseDown(ui::MouseButton::Left, message, wParam, lParam);
        case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: return mouseDown(ui::MouseButton::Right, message, wParam, lParam);
        case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return mouseDown(ui::MouseButton::Middle, message, wParam, lParam);
        case WM_MOUSEMOVE: trackHover(); break;
        case WM_MOUSELEAVE: hoverEnded(); break;
        case WM_PAINT: result = onPaint(); break;
        case WM_ERASEBKGND: result = onEraseBackground(reinterpret_cast<HDC>(wParam)); break;
        case WM_SETFOCUS: case WM_KILLFOCUS: result = onFocus(message == WM_SETFOCUS); break;
        case WM_SIZE: result = onSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); break;
        case WM_NCCALCSIZE: result = onNcCalcSize(wParam, lParam); break;
        case WM_NCPAINT: result = onNcPaint(); break;
        case WM_NCDESTROY: return destroyed(message, wParam, lParam);
        default:
            if (reflectsChildren_) {
                switch (message) {
                    case WM_COMMAND:
                        if (lParam) result = onChildCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
                        break;
                    case WM_NOTIFY: {
                        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
                        if (PeerWin* child = from(header.hwndFrom)) result = child->onNotify(header);
                        break;
                    }
                    case WM_DRAWITEM:
                        result = onChildDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
                        break;
                    case WM_MEASUREITEM: {
                        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
                        PeerWin* child = from(GetDlgItem(hwnd_, static_cast<int>(item.CtlID)));
                        if (!child && beingMade.peer && beingMade.id == item.CtlID) child = beingMade.peer;
                        if (child && child->onMeasureItem(item)) result = TRUE;
                        break;
                    }
                    case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN:
                        result = onChildColour(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
                        break;
                }
                if (result) break;
            }
            result = onMessage(message, wParam, lParam);
    }
    return result ? *result : callDefault(message, wParam, lParam);
}

LRESULT PeerWin::mouseDown(ui::MouseButton button, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto handled = onMouseDown(button, wParam, lParam)) return *handled;
    if (doubleClickIsPress_ && message == WM_LBUTTONDBLCLK) return callDefault(WM_LBUTTONDOWN, wParam, lParam);
    return callDefault(message, wParam, lParam);
}

std::optional<LRESULT> PeerWin::onMouseDown(ui::MouseButton button, WPARAM keys, LPARAM position) {
    if (widget_.onMouseDown) {
        ui::MouseEvent e;
        e.button = button;
        e.shift = (keys & MK_SHIFT) != 0;
        e.ctrl = (keys & MK_CONTROL) != 0;
        e.alt = GetKeyState(VK_MENU) < 0;
        e.x = GET_X_LPARAM(position);
        e.y = GET_Y_LPARAM(position);
        widget_.userMouseDown(e);
    }
    return {};
}

void PeerWin::trackHover() {
    if (!tracksHover_ || hot_) return;
    hot_ = true;
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
    TrackMouseEvent(&track);
    onHotChanged();
}

void PeerWin::hoverEnded() {
    if (!hot_) return;
    hot_ = false;
    onHotChanged();
}

LRESULT PeerWin::destroyed(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = hwnd_;
    peersByWindow().erase(window);
    hwnd_ = nullptr;
    if (own_) return DefWindowProcW(window, message, wParam, lParam);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc_));
    return CallWindowProcW(controlProc_, window, message, wParam, lParam);
}

// ---- children's notifications ----

std::optional<LRESULT> PeerWin::onChildCommand(HWND child, UINT code) {
    PeerWin* peer = from(child);
    return peer ? peer->onCommand(code) : std::nullopt;
}

std::optional<LRESULT> PeerWin::onChildDrawItem(const DRAWITEMSTRUCT& item) {
    PeerWin* peer = from(item.hwndItem);
    if (peer && peer->onDrawItem(item)) return TRUE;
    return {};
}

std::optional<LRESULT> PeerWin::onChildColour(HWND child, HDC dc) {
    PeerWin* peer = from(child);
    if (!peer) peer = from(GetParent(child));  // a piece of a control, like a combo box's edit
    if (!peer) peer = this;
    return reinterpret_cast<LRESULT>(peer->onControlColour(dc));
}

// ---- the look of buttons ----

ButtonLook buttonLook(bool enabled, bool hot, bool pressed, bool focused) {
    const Palette& p = kPalette;
    if (!enabled) return {p.faceDisabled, p.borderDisabled, p.textDisabled};
    ButtonLook look{p.face, p.border, p.text};
    if (hot) look = {p.faceHot, p.borderHot, p.text};
    if (pressed) look = {p.facePressed, p.accentLight, p.text};
    if (focused) look.border = p.accentLight;
    return look;
}

}  // namespace platform
