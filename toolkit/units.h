#pragma once

// Units of the form designer and of the game. Positions and sizes of controls
// are single-precision points (1/72 inch); the designer keeps layout lengths
// in HIMETRIC (1/100 mm) and window sizes in twips (1/20 point).
namespace toolkit {

constexpr float kHimetricPerInch = 2540.0f;
constexpr float kPointsPerInch = 72.0f;
constexpr float kTwipsPerPoint = 20.0f;
// Device-independent pixels are 1/96 inch.
constexpr double kPixelsPerPoint = 96.0 / 72.0;

// A designer length in points, in single precision, as the designer converts it.
constexpr float himetric_to_points(int himetric) {
    return static_cast<float>(himetric) * kPointsPerInch / kHimetricPerInch;
}

}  // namespace toolkit
