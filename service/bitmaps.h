#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace riz::service {

// Windows bitmap file images drawn by code: the catalog's logos, icons and banners.

// A one-bit bitmap; pixel(x, y) true is black, y counted from the top.
std::string MakeMonoBitmap(int width, int height, const std::function<bool(int, int)>& pixel);
// A 24-bit bitmap; colour(x, y) gives 0xRRGGBB.
std::string MakeColorBitmap(int width, int height,
                            const std::function<std::uint32_t(int, int)>& colour);

// Whether bytes are a complete uncompressed one-bit bitmap file of that size.
bool IsMonoBitmap(const std::string& bytes, int width, int height);

} // namespace riz::service
