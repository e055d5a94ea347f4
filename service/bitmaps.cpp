#include "service/bitmaps.h"

namespace riz::service {
namespace {

void Put16(std::string& s, std::uint32_t v)
{
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
}

void Put32(std::string& s, std::uint32_t v)
{
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}

std::uint32_t Get16(const std::string& s, size_t at)
{
    return static_cast<unsigned char>(s[at]) | (static_cast<unsigned char>(s[at + 1]) << 8);
}

std::uint32_t Get32(const std::string& s, size_t at)
{
    return Get16(s, at) | (Get16(s, at + 2) << 16);
}

std::string Headers(int width, int height, int bits, std::uint32_t paletteBytes,
                    std::uint32_t imageBytes)
{
    std::string s;
    const std::uint32_t offset = 14 + 40 + paletteBytes;
    s += "BM";
    Put32(s, offset + imageBytes);
    Put32(s, 0);
    Put32(s, offset);
    Put32(s, 40);
    Put32(s, static_cast<std::uint32_t>(width));
    Put32(s, static_cast<std::uint32_t>(height));
    Put16(s, 1);
    Put16(s, static_cast<std::uint32_t>(bits));
    Put32(s, 0); // no compression
    Put32(s, imageBytes);
    Put32(s, 2835); // 72 dpi
    Put32(s, 2835);
    Put32(s, bits == 1 ? 2 : 0);
    Put32(s, 0);
    return s;
}

} // namespace

std::string MakeMonoBitmap(int width, int height, const std::function<bool(int, int)>& pixel)
{
    const int stride = ((width + 31) / 32) * 4;
    std::string s = Headers(width, height, 1, 8, static_cast<std::uint32_t>(stride * height));
    // Index 0 black, index 1 white.
    Put32(s, 0x00000000);
    Put32(s, 0x00FFFFFF);
    for (int row = height - 1; row >= 0; --row) {
        std::string line(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < width; ++x)
            if (!pixel(x, row))
                line[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
        s += line;
    }
    return s;
}

std::string MakeColorBitmap(int width, int height,
                            const std::function<std::uint32_t(int, int)>& colour)
{
    const int stride = ((width * 3 + 3) / 4) * 4;
    std::string s = Headers(width, height, 24, 0, static_cast<std::uint32_t>(stride * height));
    for (int row = height - 1; row >= 0; --row) {
        std::string line(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, row);
            line[static_cast<size_t>(x * 3)] = static_cast<char>(c & 0xFF);
            line[static_cast<size_t>(x * 3 + 1)] = static_cast<char>((c >> 8) & 0xFF);
            line[static_cast<size_t>(x * 3 + 2)] = static_cast<char>((c >> 16) & 0xFF);
        }
        s += line;
    }
    return s;
}

bool IsMonoBitmap(const std::string& bytes, int width, int height)
{
    if (bytes.size() < 62 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const std::uint32_t offset = Get32(bytes, 10);
    const std::uint32_t infoSize = Get32(bytes, 14);
    if (infoSize < 40 || Get32(bytes, 18) != static_cast<std::uint32_t>(width))
        return false;
    const std::int32_t h = static_cast<std::int32_t>(Get32(bytes, 22));
    if (h != height && h != -height)
        return false;
    if (Get16(bytes, 26) != 1 || Get16(bytes, 28) != 1 || Get32(bytes, 30) != 0)
        return false;
    const std::uint64_t stride = ((static_cast<std::uint64_t>(width) + 31) / 32) * 4;
    return offset >= 14 + infoSize &&
           offset + stride * static_cast<std::uint64_t>(height) <= bytes.size();
}

} // namespace riz::service
