// Logical pixels (1/96 inch), the unit of the window layer's interface, and the screen's device
// pixels.
#pragma once

namespace app::win32 {

inline constexpr int kLogicalDpi = 96;

// Device pixels for `logical` pixels on a screen of `dpi`: the nearest whole pixel, halves away
// from zero.
constexpr int ToDevicePixels(int logical, int dpi) {
  const long long twice_scaled = 2LL * logical * dpi;  // 2 × 96 × the exact result
  const long long magnitude = twice_scaled < 0 ? -twice_scaled : twice_scaled;
  const long long rounded = (magnitude + kLogicalDpi) / (2 * kLogicalDpi);
  return static_cast<int>(twice_scaled < 0 ? -rounded : rounded);
}

// Logical pixels for `device` pixels on a screen of `dpi`: floor(device × 96 ÷ dpi + 1/2).
constexpr int ToLogicalPixels(int device, int dpi) {
  const long long numerator = 2LL * device * kLogicalDpi + dpi;
  const long long denominator = 2LL * dpi;
  long long quotient = numerator / denominator;
  if (numerator % denominator != 0 && numerator < 0) --quotient;  // toward minus infinity
  return static_cast<int>(quotient);
}

}  // namespace app::win32
