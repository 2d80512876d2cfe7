#pragma once

#include <string>

#include <windows.h>

namespace toolkit::win32 {

// A picture from the exe's resources (RCDATA named as the layouts name it),
// decoded by the Windows Imaging Component at a size in pixels, with its
// transparency: a premultiplied 32-bit bitmap GDI blends over what is drawn
// below it. A picture that is missing or does not decode is empty and draws
// nothing. Needs COM on the calling thread.
class Picture {
public:
    Picture() = default;
    // At its natural size times `scale`, or at exactly `width` × `height`.
    static Picture natural(const std::string& name, double scale);
    static Picture sized(const std::string& name, int width, int height);
    ~Picture();
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;

    bool empty() const { return bitmap_ == nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Blends the part of the picture that falls on `area` (in the picture's
    // own pixels, with its top-left corner at `origin`) onto `dc`, whose
    // (0, 0) stands for the area's top-left corner.
    void draw(HDC dc, POINT origin, const RECT& area) const;

private:
    static Picture decode(const std::string& name, double scale, int width, int height);

    HBITMAP bitmap_ = nullptr;
    int width_ = 0, height_ = 0;
};

}  // namespace toolkit::win32
