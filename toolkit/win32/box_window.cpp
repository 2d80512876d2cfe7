#include "toolkit/win32/box_window.h"

#include "toolkit/texts.h"
#include "toolkit/units.h"
#include "toolkit/win32/dpi.h"
#include "toolkit/win32/utf16.h"

namespace toolkit::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"BounzoBox";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr Font kBoxFont{"Tahoma", 8.25f, false};

// The box's layout, in points.
constexpr double kWidth = 260, kMargin = 8, kGap = 6, kEditHeight = 14, kButtonWidth = 56, kButtonHeight = 17;

HWND make(const wchar_t* window_class, const std::string& text, DWORD style, HWND parent, int id, HFONT font) {
    HWND w = CreateWindowExW(window_class == std::wstring(L"EDIT") ? WS_EX_CLIENTEDGE : 0, window_class,
                             to_utf16(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return w;
}

}  // namespace

BoxWindow::BoxWindow(const BoxContent& content, HWND owner) {
    register_class(kWindowClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    bind(CreateWindowExW(kExStyle, kWindowClass, to_utf16(content.title).c_str(), kStyle, 0, 0, 1, 1, owner, nullptr,
                         GetModuleHandleW(nullptr), nullptr));
    lay_out(content, owner);
}

BoxWindow::~BoxWindow() {
    if (window_) DestroyWindow(window_);
}

void BoxWindow::lay_out(const BoxContent& content, HWND owner) {
    const UINT dpi = dpi_of(window_);
    const auto px = [dpi](double points) { return to_pixels(points, dpi); };
    font_ = std::make_unique<GdiFont>(kBoxFont, dpi);
    HFONT font = font_->handle();

    text_ = make(L"STATIC", content.text, SS_LEFT | SS_NOPREFIX, window_, -1, font);
    // The text's height, wrapped to the box's width.
    RECT measured{0, 0, px(kWidth - 2 * kMargin), 0};
    const std::wstring text = to_utf16(content.text);
    HDC dc = GetDC(window_);
    HGDIOBJ before = SelectObject(dc, font);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, before);
    ReleaseDC(window_, dc);
    int y = px(kMargin);
    MoveWindow(text_, px(kMargin), y, px(kWidth - 2 * kMargin), measured.bottom, FALSE);
    y += measured.bottom + px(kGap);

    if (content.default_answer) {
        edit_ = make(L"EDIT", *content.default_answer, WS_TABSTOP | ES_AUTOHSCROLL, window_, -1, font);
        MoveWindow(edit_, px(kMargin), y, px(kWidth - 2 * kMargin), px(kEditHeight), FALSE);
        y += px(kEditHeight) + px(kGap);
    }
    const int right = px(kWidth - kMargin);
    if (content.default_answer) {
        cancel_ = make(L"BUTTON", texts::kCancel, WS_TABSTOP | BS_PUSHBUTTON, window_, IDCANCEL, font);
        MoveWindow(cancel_, right - px(kButtonWidth), y, px(kButtonWidth), px(kButtonHeight), FALSE);
    }
    const int ok_right = cancel_ ? right - px(kButtonWidth + kGap) : right;
    ok_ = make(L"BUTTON", texts::kOk, WS_TABSTOP | BS_DEFPUSHBUTTON, window_, IDOK, font);
    MoveWindow(ok_, ok_right - px(kButtonWidth), y, px(kButtonWidth), px(kButtonHeight), FALSE);
    y += px(kButtonHeight) + px(kMargin);

    RECT frame = frame_around({0, 0, px(kWidth), y}, kStyle, kExStyle, dpi);
    OffsetRect(&frame, -frame.left, -frame.top);
    if (content.frame_at_twips) {
        OffsetRect(&frame, px(content.frame_at_twips->x / kTwipsPerPoint), px(content.frame_at_twips->y / kTwipsPerPoint));
    } else if (owner) {
        RECT area{};
        GetWindowRect(owner, &area);
        OffsetRect(&frame, (area.left + area.right - frame.right) / 2, (area.top + area.bottom - frame.bottom) / 2);
    }
    frame = kept_on_work_area(frame);
    SetWindowPos(window_, nullptr, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    focus_ = edit_ ? edit_ : ok_;
}

void BoxWindow::show() {
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    SetFocus(focus_);
    // The default answer is selected: typing replaces it.
    if (edit_) SendMessageW(edit_, EM_SETSEL, 0, -1);
}

void BoxWindow::finish(bool confirmed) {
    if (closed_) return;
    if (confirmed && edit_) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
        answer_ = to_utf8(text);
    }
    closed_ = true;
    ShowWindow(window_, SW_HIDE);
}

bool BoxWindow::translate_key(MSG& m) {
    if (m.hwnd != window_ && !IsChild(window_, m.hwnd)) return false;
    if (m.wParam == VK_RETURN && (m.message == WM_KEYDOWN || m.message == WM_KEYUP || m.message == WM_CHAR)) {
        // Answered on the key's first press: the focused button, or ОК from
        // anywhere else. Its repeats answer nothing, neither here nor in a
        // box that comes back; they and its release then reach a window
        // below, whose buttons take no key they did not see go down.
        const bool repeated = m.lParam & (LPARAM{1} << 30);
        if (m.message == WM_KEYDOWN && !repeated) finish(GetFocus() != cancel_ || !cancel_);
        return true;
    }
    return IsDialogMessageW(window_, &m) != FALSE;
}

LRESULT BoxWindow::on_message(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(w) == BN_CLICKED && (LOWORD(w) == IDOK || LOWORD(w) == IDCANCEL)) finish(LOWORD(w) == IDOK);
        return 0;
    case DM_GETDEFID: return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_CLOSE: finish(false); return 0;
    case kActivateBox:
        if (!closed_) SetForegroundWindow(window_);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window_, focus)) focus_ = focus;
        } else {
            SetFocus(focus_);
        }
        return 0;
    default: break;
    }
    return DefWindowProcW(window_, message, w, l);
}

}  // namespace toolkit::win32
