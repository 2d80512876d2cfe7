#include "toolkit/win32/form_window.h"

#include "toolkit/form.h"
#include "toolkit/units.h"
#include "toolkit/win32/box_window.h"
#include "toolkit/win32/control_painting.h"
#include "toolkit/win32/dpi.h"
#include "toolkit/win32/utf16.h"
#include "toolkit/win32/win32_runtime.h"

#include <algorithm>

#include <windowsx.h>

namespace toolkit::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"BounzoForm";
// A fixed-size window: no sizing frame, no maximise box.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT kActivation = WM_APP + 1;
// A window manager may take a shown window's activation away while it maps
// the windows (under Wine on X11, openbox focuses the court after the welcome
// window is shown): for a short while the window asks for it back.
constexpr UINT_PTR kKeepForeground = 1;
constexpr UINT kKeepForegroundMs = 50;
constexpr int kKeepForegroundTries = 10;
constexpr int kFirstControlId = 1000;

HWND make_child(const Control& control, HWND parent, int id) {
    const ControlLook& look = control.look();
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (!look.enabled) style |= WS_DISABLED;
    const wchar_t* window_class = L"STATIC";
    if (control.kind() == ControlKind::command_button) {
        window_class = L"BUTTON";
        // Owner-drawn, in the control's own colours, yet a real button: Space
        // presses it once however long it is held, as Windows's buttons do.
        style |= BS_OWNERDRAW;
        if (look.tab_stop) style |= WS_TABSTOP;
    } else {
        // Notifying statics take the mouse themselves: moves over them are not the form's.
        style |= SS_OWNERDRAW | SS_NOTIFY;
    }
    return CreateWindowExW(0, window_class, to_utf16(control.caption()).c_str(), style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

FormWindow::FormWindow(Form& form, Win32Runtime& runtime) : form_(&form), runtime_(runtime) {
    register_class(kWindowClass, nullptr, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    const FormLook& look = form.look();
    bind(CreateWindowExW(0, kWindowClass, to_utf16(look.caption).c_str(), kStyle, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr));
    // The DPI is that of the monitor where the window's designed place is.
    dpi_ = dpi_of(nullptr);
    const POINT first = designed_client_at();
    SetWindowPos(window_, nullptr, first.x, first.y, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
    dpi_ = dpi_of(window_);

    int id = kFirstControlId;
    std::vector<std::pair<int, HWND>> focus_order;
    for (const auto& c : form.controls()) {
        HWND child = make_child(*c, window_, id++);
        // Each one goes on top of those made before it: the stacking order.
        SetWindowPos(child, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        children_.push_back({c.get(), child, nullptr, {}});
        c->set_observer(this);
        if (c->kind() == ControlKind::command_button && c->look().tab_stop)
            focus_order.emplace_back(c->look().tab_index, child);
    }
    std::stable_sort(focus_order.begin(), focus_order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [index, child] : focus_order) tab_order_.push_back(child);

    lay_out_at(designed_client_at());
}

FormWindow::~FormWindow() {
    // An owned window goes with its owner: this one may be gone already.
    if (window_) DestroyWindow(window_);
}

HWND FormWindow::window_of(const Control& control) const {
    for (const Child& child : children_)
        if (child.control == &control) return child.window;
    return nullptr;
}

FormWindow::Child* FormWindow::child_of(HWND window) {
    for (Child& child : children_)
        if (child.window == window) return &child;
    return nullptr;
}

void FormWindow::detach() {
    if (!form_) return;
    for (const Child& child : children_) child.control->set_observer(nullptr);
    form_ = nullptr;
    hide();
}

SIZE FormWindow::client_size() const {
    const FormLook& look = form_->look();
    return {to_pixels(look.client_width_twips / kTwipsPerPoint, dpi_),
            to_pixels(look.client_height_twips / kTwipsPerPoint, dpi_)};
}

POINT FormWindow::designed_client_at() const {
    // The designer recorded where the inside of the window stands on the screen.
    const FormLook& look = form_->look();
    return {to_pixels(look.designed_left_twips / kTwipsPerPoint, dpi_),
            to_pixels(look.designed_top_twips / kTwipsPerPoint, dpi_)};
}

POINT FormWindow::client_at() const {
    POINT corner{0, 0};
    ClientToScreen(window_, &corner);
    return corner;
}

double FormWindow::fitting_scale() const {
    const FormLook& look = form_->look();
    RECT on{};
    GetWindowRect(window_, &on);
    return scale_to_fit(look.client_width_twips / kTwipsPerPoint, look.client_height_twips / kTwipsPerPoint, border(),
                        dpi_, on);
}

void FormWindow::lay_out_at(POINT at) {
    if (!form_) return;
    const std::string& picture = form_->look().picture;
    if (!picture.empty()) background_ = Picture::natural(picture, picture_scale(dpi_));
    place_client_at(at);
    lay_out();
}

RECT FormWindow::border() const {
    RECT outer{}, client{};
    GetWindowRect(window_, &outer);
    GetClientRect(window_, &client);
    if (IsRectEmpty(&client)) return frame_around({0, 0, 0, 0}, kStyle, 0, dpi_);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return {outer.left - client.left, outer.top - client.top, outer.right - client.right, outer.bottom - client.bottom};
}

void FormWindow::place_client_at(POINT at) {
    const SIZE size = client_size();
    const RECT b = border();
    const RECT frame = kept_on_work_area({at.x + b.left, at.y + b.top, at.x + size.cx + b.right, at.y + size.cy + b.bottom});
    SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::lay_out() {
    for (Child& child : children_) {
        child.font = std::make_unique<GdiFont>(child.control->look().font, dpi_);
        place_child(child);
    }
    InvalidateRect(window_, nullptr, FALSE);
}

void FormWindow::place_child(Child& child) {
    const Control& c = *child.control;
    const RECT r = to_pixel_rect({c.left(), c.top(), c.width(), c.height()}, dpi_);
    const int width = r.right - r.left, height = r.bottom - r.top;
    if (c.kind() == ControlKind::image && (child.picture.width() != width || child.picture.height() != height))
        child.picture = Picture::sized(c.look().picture, width, height);
    // A control that shows the form through it draws itself afresh where it
    // lands; Windows would otherwise carry its old pixels along.
    const bool see_through = c.kind() == ControlKind::image || c.look().back_transparent;
    SetWindowPos(child.window, nullptr, r.left, r.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE | (see_through ? SWP_NOCOPYBITS : 0));
}

void FormWindow::stay_above(const FormWindow& owner) {
    SetWindowLongPtrW(window_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner.handle()));
    RECT area{};
    GetClientRect(owner.handle(), &area);
    MapWindowPoints(owner.handle(), nullptr, reinterpret_cast<POINT*>(&area), 2);
    const SIZE size = client_size();
    place_client_at({(area.left + area.right - size.cx) / 2, (area.top + area.bottom - size.cy) / 2});
}

void FormWindow::show() {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    focus_first();
    foreground_tries_ = kKeepForegroundTries;
    SetTimer(window_, kKeepForeground, kKeepForegroundMs, nullptr);
}

void FormWindow::keep_foreground() {
    const bool lost = GetForegroundWindow() != window_;
    if (lost && IsWindowVisible(window_) && !runtime_.open_box_window()) {
        SetForegroundWindow(window_);
        focus_first();
    }
    if (--foreground_tries_ <= 0) KillTimer(window_, kKeepForeground);
}

void FormWindow::let_go() { KillTimer(window_, kKeepForeground); }

void FormWindow::hide() {
    let_go();
    ShowWindow(window_, SW_HIDE);
}

void FormWindow::post_activation() { PostMessageW(window_, kActivation, 0, 0); }

void FormWindow::focus_first() {
    const auto first = std::find_if(tab_order_.begin(), tab_order_.end(), [](HWND w) { return IsWindowEnabled(w); });
    if (first != tab_order_.end()) SetFocus(*first);
}

void FormWindow::move_focus(bool backwards) {
    const std::size_t n = tab_order_.size();
    const auto at = static_cast<std::size_t>(std::find(tab_order_.begin(), tab_order_.end(), GetFocus()) - tab_order_.begin());
    for (std::size_t step = 1; step <= n; ++step) {
        // From the focused control on, or from the first (last) when none is.
        const std::size_t i = at == n ? (backwards ? n - step : step - 1) : (at + (backwards ? n - step : step)) % n;
        if (IsWindowEnabled(tab_order_[i])) {
            SetFocus(tab_order_[i]);
            return;
        }
    }
}

bool FormWindow::translate_key(MSG& m) {
    if (!form_ || (m.hwnd != window_ && !IsChild(window_, m.hwnd))) return false;
    const bool key = m.message == WM_KEYDOWN || m.message == WM_KEYUP;
    if (m.wParam == VK_TAB && (key || m.message == WM_CHAR)) {
        if (m.message == WM_KEYDOWN) move_focus(GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    const Child* child = child_of(m.hwnd);
    if (!key || (m.wParam != VK_RETURN && m.wParam != VK_SPACE) || !child ||
        child->control->kind() != ControlKind::command_button)
        return false;
    // The button sees only the key's first press and that key's own release:
    // repeats, and a release whose press went to a box that has gone since,
    // are taken here. A key that went down on another button gives no click.
    if (m.hwnd != keys_button_) keys_.forget();
    keys_button_ = m.hwnd;
    const bool repeated = m.lParam & (LPARAM{1} << 30);
    const int vk = static_cast<int>(m.wParam);
    if (!(m.message == WM_KEYDOWN ? keys_.press(vk, repeated) : keys_.release(vk, false))) return true;
    // Enter acts as Space: the button goes down on the key's press and
    // clicks on its release, so no key is left over for a box the click opens.
    m.wParam = VK_SPACE;
    m.lParam = (m.lParam & ~LPARAM{0x01FF0000}) | (LPARAM{MapVirtualKeyW(VK_SPACE, MAPVK_VK_TO_VSC)} << 16);
    return false;
}

void FormWindow::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window_, &ps);
    if (form_) {
        const RECT& area = ps.rcPaint;
        BackBuffer buffer(dc, area.right - area.left, area.bottom - area.top);
        paint_surface(buffer.dc(), area);
        buffer.copy_to(dc, area.left, area.top);
    }
    EndPaint(window_, &ps);
}

void FormWindow::paint_surface(HDC dc, const RECT& area) const {
    fill(dc, {0, 0, area.right - area.left, area.bottom - area.top}, to_colorref(form_->look().back));
    // Centred at its natural size and clipped by the window, never scaled or tiled.
    const SIZE size = client_size();
    background_.draw(dc, {(size.cx - background_.width()) / 2, (size.cy - background_.height()) / 2}, area);
}

void FormWindow::draw_item(const DRAWITEMSTRUCT& item) {
    Child* child = child_of(item.hwndItem);
    if (!child || !form_) return;
    const Control& control = *child->control;
    const RECT& r = item.rcItem;
    BackBuffer buffer(item.hDC, r.right - r.left, r.bottom - r.top);
    HDC dc = buffer.dc();
    const RECT all{0, 0, r.right - r.left, r.bottom - r.top};
    // The form's own surface under the control, which shows through it.
    const auto form_under = [&] {
        RECT area{};
        GetWindowRect(item.hwndItem, &area);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
        paint_surface(dc, area);
    };
    switch (control.kind()) {
    case ControlKind::image:
        // Through the picture's transparent corners.
        form_under();
        child->picture.draw(dc, {0, 0}, all);
        break;
    case ControlKind::label:
        if (control.look().back_transparent) form_under();
        else fill(dc, all, to_colorref(control.look().back));
        paint_label_text(dc, all, control, *child->font);
        break;
    case ControlKind::command_button: paint_button(dc, all, control, *child->font, item.itemState); break;
    }
    buffer.copy_to(item.hDC, r.left, r.top);
}

void FormWindow::mouse_moved(WPARAM keys, LPARAM at) {
    const auto button = static_cast<std::int16_t>((keys & MK_LBUTTON ? 1 : 0) | (keys & MK_RBUTTON ? 2 : 0) |
                                                  (keys & MK_MBUTTON ? 4 : 0));
    const auto shift = static_cast<std::int16_t>((keys & MK_SHIFT ? 1 : 0) | (keys & MK_CONTROL ? 2 : 0) |
                                                 (GetKeyState(VK_MENU) < 0 ? 4 : 0));
    const auto x = static_cast<float>(to_points(GET_X_LPARAM(at), dpi_));
    const auto y = static_cast<float>(to_points(GET_Y_LPARAM(at), dpi_));
    raise([&](Form& form) { form.mouse_moved(button, shift, x, y); });
}

void FormWindow::raise(const std::function<void(Form&)>& event) {
    if (!form_) return;
    Form& form = *form_;
    runtime_.dispatch([&] { event(form); });
}

void FormWindow::dpi_changed(UINT dpi, const RECT& suggested) {
    // On the monitor Windows suggests, whose DPI and work area may ask for
    // another screen scale (the court decides it for every window).
    dpi_ = dpi;
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    runtime_.fit_to_screen();
    const RECT b = border();
    lay_out_at({suggested.left - b.left, suggested.top - b.top});
}

void FormWindow::property_changed(const Control& control, Property property) {
    for (Child& child : children_) {
        if (child.control != &control) continue;
        if (property == Property::caption) {
            // The window text is what screen readers read; setting it tells them.
            SetWindowTextW(child.window, to_utf16(control.caption()).c_str());
            InvalidateRect(child.window, nullptr, FALSE);
        } else {
            place_child(child);
        }
        return;
    }
}

LRESULT FormWindow::on_message(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_PAINT: paint(); return 0;
    case WM_ERASEBKGND: return 1;  // the paint covers it all
    case WM_DRAWITEM: draw_item(*reinterpret_cast<const DRAWITEMSTRUCT*>(l)); return TRUE;
    case WM_MOUSEMOVE:
        if (form_) mouse_moved(w, l);
        return 0;
    case WM_COMMAND:
        if (HIWORD(w) == BN_CLICKED) {
            if (Child* child = child_of(reinterpret_cast<HWND>(l))) {
                Control& control = *child->control;
                raise([&](Form& form) { form.clicked(control); });
            }
        }
        return 0;
    case WM_CLOSE:
        // The form decides what closing means; the window never closes by itself.
        raise([](Form& form) { form.close_requested(); });
        return 0;
    case WM_SYSCOMMAND:
        // A fixed-size window refuses a maximise that comes anyway.
        if ((w & 0xFFF0) == SC_MAXIMIZE) return 0;
        break;
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_, focus)) last_focus_ = focus;
        } else if (HWND box = runtime_.open_box_window()) {
            // While a box is open the player answers it: it takes the activation back.
            PostMessageW(box, kActivateBox, 0, 0);
        } else if (LOWORD(w) == WA_CLICKACTIVE || IsChild(window_, GetFocus())) {
            // The click that activates the window gives the focus itself: taken
            // from a button that is being pressed, it would lose the click (under
            // Wine the activation can come after the button went down).
        } else if (last_focus_ && IsChild(window_, last_focus_) && IsWindowEnabled(last_focus_)) {
            SetFocus(last_focus_);
        } else {
            focus_first();
        }
        return 0;
    case WM_DPICHANGED:
        if (form_) dpi_changed(HIWORD(w), *reinterpret_cast<const RECT*>(l));
        return 0;
    case WM_TIMER:
        if (w == kKeepForeground) keep_foreground();
        return 0;
    case kActivation:
        raise([](Form& form) { form.activated(); });
        return 0;
    default: break;
    }
    return DefWindowProcW(window_, message, w, l);
}

}  // namespace toolkit::win32
