#pragma once

#include <string>

namespace riz::ansi {

// Upper case of one Windows-1252 byte: ASCII letters and the accented letters.
inline unsigned char Upper(unsigned char c)
{
    if (c >= 'a' && c <= 'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    if (c == 0x9A || c == 0x9C || c == 0x9E)
        return c - 16;
    if (c == 0xFF)
        return 0x9F;
    return c;
}

inline bool SameText(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(static_cast<unsigned char>(a[i])) != Upper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace riz::ansi
