#include "toolkit/win32/picture.h"

#include "toolkit/win32/utf16.h"

#include <cmath>
#include <cstring>
#include <utility>

#include <wincodec.h>

namespace toolkit::win32 {
namespace {

// Releases a COM interface when it goes.
template <class T>
struct Com {
    T* p = nullptr;
    ~Com() {
        if (p) p->Release();
    }
    T** out() { return &p; }
    T* operator->() const { return p; }
};

// The bytes of a resource of the exe; they live as long as the exe.
bool resource_bytes(const std::string& name, const BYTE*& data, DWORD& size) {
    HRSRC found = FindResourceW(nullptr, to_utf16(name).c_str(), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    data = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    size = found ? SizeofResource(nullptr, found) : 0;
    return data && size;
}

}  // namespace

Picture Picture::natural(const std::string& name, double scale) { return decode(name, scale, 0, 0); }

Picture Picture::sized(const std::string& name, int width, int height) { return decode(name, 0, width, height); }

Picture Picture::decode(const std::string& name, double scale, int width, int height) {
    Picture picture;
    const BYTE* data = nullptr;
    DWORD size = 0;
    if (!resource_bytes(name, data, size)) return picture;

    Com<IWICImagingFactory> factory;
    Com<IWICStream> stream;
    Com<IWICBitmapDecoder> decoder;
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICFormatConverter> converter;
    Com<IWICBitmapScaler> scaler;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.out()))) ||
        FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) || FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)))
        return picture;

    UINT natural_width = 0, natural_height = 0;
    converter->GetSize(&natural_width, &natural_height);
    if (!width) {
        width = static_cast<int>(std::lround(natural_width * scale));
        height = static_cast<int>(std::lround(natural_height * scale));
    }
    if (width <= 0 || height <= 0) return picture;
    IWICBitmapSource* source = converter.p;
    if (static_cast<UINT>(width) != natural_width || static_cast<UINT>(height) != natural_height) {
        if (FAILED(factory->CreateBitmapScaler(scaler.out())) ||
            FAILED(scaler->Initialize(converter.p, static_cast<UINT>(width), static_cast<UINT>(height),
                                      WICBitmapInterpolationModeFant)))
            return picture;
        source = scaler.p;
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // rows from the top, as WIC gives them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return picture;
    const UINT stride = static_cast<UINT>(width) * 4;
    if (FAILED(source->CopyPixels(nullptr, stride, stride * static_cast<UINT>(height), static_cast<BYTE*>(bits)))) {
        DeleteObject(bitmap);
        return picture;
    }
    picture.bitmap_ = bitmap;
    picture.width_ = width;
    picture.height_ = height;
    return picture;
}

Picture::~Picture() {
    if (bitmap_) DeleteObject(bitmap_);
}

Picture::Picture(Picture&& other) noexcept
    : bitmap_(std::exchange(other.bitmap_, nullptr)), width_(other.width_), height_(other.height_) {}

Picture& Picture::operator=(Picture&& other) noexcept {
    std::swap(bitmap_, other.bitmap_);
    std::swap(width_, other.width_);
    std::swap(height_, other.height_);
    return *this;
}

void Picture::draw(HDC dc, POINT origin, const RECT& area) const {
    if (!bitmap_) return;
    const RECT placed{origin.x, origin.y, origin.x + width_, origin.y + height_};
    RECT shown{};
    if (!IntersectRect(&shown, &placed, &area)) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ before = SelectObject(source, bitmap_);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    const int w = shown.right - shown.left, h = shown.bottom - shown.top;
    GdiAlphaBlend(dc, shown.left - area.left, shown.top - area.top, w, h, source, shown.left - origin.x,
                  shown.top - origin.y, w, h, blend);
    SelectObject(source, before);
    DeleteDC(source);
}

}  // namespace toolkit::win32
