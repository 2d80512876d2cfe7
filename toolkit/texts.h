#pragma once

#include <string>

// Every text the toolkit itself shows or prints, in one place: the run-time
// error messages, the boxes' captions and the lines a start prints where the
// desktop cannot serve the game. The forms bring their own texts.
namespace toolkit::texts {

// Run-time errors raised by the number conversions and arithmetic.
inline constexpr char kOverflow[] = "Переполнение";
inline constexpr char kTypeMismatch[] = "Несоответствие типа";
// Raised by a racket click when the stack has no room for one more nested rally.
inline constexpr char kOutOfStackSpace[] = "Недостаточно места в стеке";
// An error of no kind the game knows, caught at the error boundary.
inline constexpr char kUnknownError[] = "Неизвестная ошибка";

// The box that reports an unhandled run-time error: its title, and what goes
// before the error's own message.
inline constexpr char kErrorBoxTitle[] = "Bounzo";
inline constexpr char kErrorBoxLead[] = "Ошибка выполнения: ";

// The boxes' buttons.
inline constexpr char kOk[] = "ОК";
inline constexpr char kCancel[] = "Отмена";
// The close button of a caption the toolkit draws itself, as screen readers name it.
inline constexpr char kClose[] = "Закрыть";

// The one line a start without a display prints, given the values of DISPLAY
// and WAYLAND_DISPLAY (null when unset).
inline std::string no_display_line(const char* display, const char* wayland_display) {
    const auto shown = [](const char* value) {
        return value && *value ? std::string("«") + value + "»" : std::string("не задан");
    };
    return "bounzo: не удалось подключиться к дисплею (DISPLAY " + shown(display) + ", WAYLAND_DISPLAY " +
           shown(wayland_display) + "): игре нужен рабочий стол\n";
}

// The one line a start on a screen of too few colours prints before it ends,
// given the screen's depth in bits per pixel and the value of DISPLAY.
inline std::string shallow_screen_line(int depth, const char* display) {
    return "bounzo: экран дисплея «" + std::string(display ? display : "") + "» показывает " + std::to_string(depth) +
           " бит цвета на точку, а игре нужно не меньше 15: запустите её на экране с глубиной 16 или 24 бит\n";
}

// The one line a start prints, going on, where none of the faces the game
// draws its captions with is installed.
inline constexpr char kNoFontLine[] =
    "bounzo: не найден ни один шрифт с кириллицей, которым игра пишет надписи (Tahoma, Liberation Sans, "
    "DejaVu Sans): вместо букв будут квадраты; установите пакет fonts-liberation2 или fonts-dejavu-core\n";

}  // namespace toolkit::texts
