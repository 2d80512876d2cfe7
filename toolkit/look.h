#pragma once

#include <cstdint>
#include <string>

// The static look of forms and controls, as the designer sets it. The logic
// never changes any of it; backends only draw it.
namespace toolkit {

// A colour is either an RGB value or one of the host's system colours, which
// the backend resolves.
struct Color {
    enum class System : std::uint8_t { none, button_face, button_text, scroll_bar };

    std::uint8_t r = 0, g = 0, b = 0;
    System system = System::none;

    static constexpr Color rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) { return {r, g, b, System::none}; }
    static constexpr Color of_system(System s) { return {0, 0, 0, s}; }
    friend bool operator==(const Color&, const Color&) = default;
};

struct Font {
    std::string family = "Tahoma";
    float size_points = 8.0f;
    bool bold = false;
};

enum class ControlKind { command_button, label, image };
enum class TextAlignment { left, centre };

struct ControlLook {
    Color back = Color::of_system(Color::System::button_face);
    Color fore = Color::of_system(Color::System::button_text);
    Font font;
    TextAlignment alignment = TextAlignment::centre;
    bool word_wrap = false;
    bool back_transparent = false;  // an image that paints no back colour
    bool enabled = true;
    bool tab_stop = true;
    int tab_index = 0;  // keyboard focus order among the form's controls
    std::string picture;  // resource name of a picture stretched over the control
    // What the control is, in a few words, for screen readers: a bar without a
    // caption or a picture has no other text to be known by.
    std::string description;
};

struct FormLook {
    std::string caption;
    float client_width_twips = 0;
    float client_height_twips = 0;
    float designed_left_twips = 0;  // where the client area was placed on screen
    float designed_top_twips = 0;
    Color back = Color::of_system(Color::System::button_face);
    Font font;
    std::string picture;  // resource name of a picture centred at natural size, clipped
};

}  // namespace toolkit
