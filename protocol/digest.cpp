#include "protocol/digest.h"

#include <cstring>

namespace riz {
namespace {

// Where SHA-1 rotates left by n, this digest shifts right twice.
inline std::uint32_t Shr2(std::uint32_t x, unsigned n)
{
    return (x >> n) | (x >> (32 - n));
}

inline std::uint32_t ReadBE(const unsigned char* p)
{
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) |
           std::uint32_t(p[3]);
}

} // namespace

void TZKDigest::Init()
{
    m_h = {0x67452301u, 0xEFCDAB89u, 0x98BADCFEu, 0x10325476u, 0xC3D2E1F0u};
    m_bits = 0;
    m_used = 0;
}

void TZKDigest::Block(const unsigned char* block)
{
    std::uint32_t w[80];
    for (int i = 0; i < 16; ++i)
        w[i] = ReadBE(block + 4 * i);
    for (int i = 16; i < 80; ++i)
        w[i] = Shr2(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);

    std::uint32_t a = m_h[0], b = m_h[1], c = m_h[2], d = m_h[3], e = m_h[4];
    for (int i = 0; i < 80; ++i) {
        std::uint32_t f, k;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999u;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1u;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDCu;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6u;
        }
        const std::uint32_t t = Shr2(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = Shr2(b, 30);
        b = a;
        a = t;
    }
    m_h[0] += a;
    m_h[1] += b;
    m_h[2] += c;
    m_h[3] += d;
    m_h[4] += e;
}

void TZKDigest::Update(const void* data, std::size_t length)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    m_bits += static_cast<std::uint64_t>(length) * 8;
    if (m_used) {
        const std::size_t take = std::min(length, 64 - m_used);
        std::memcpy(m_buffer + m_used, p, take);
        m_used += take;
        p += take;
        length -= take;
        if (m_used < 64)
            return;
        Block(m_buffer);
        m_used = 0;
    }
    while (length >= 64) {
        Block(p);
        p += 64;
        length -= 64;
    }
    if (length) {
        std::memcpy(m_buffer, p, length);
        m_used = length;
    }
}

TZKDigest::Result TZKDigest::Final()
{
    const std::uint64_t bits = m_bits;
    unsigned char pad[72] = {0x80};
    const std::size_t padLen = (m_used < 56) ? 56 - m_used : 120 - m_used;
    unsigned char len[8];
    for (int i = 0; i < 8; ++i)
        len[i] = static_cast<unsigned char>(bits >> (56 - 8 * i));
    Update(pad, padLen);
    Update(len, 8);
    const Result r = m_h;
    Init();
    return r;
}

TZKDigest::Result TZKDigest::Of(const std::string& text)
{
    TZKDigest d;
    d.Update(text.data(), text.size());
    return d.Final();
}

std::uint32_t TZKRandom::Next()
{
    const unsigned __int128 full =
        static_cast<unsigned __int128>(m_state) * 6364136223846793005ull + 1u;
    m_state = static_cast<std::uint64_t>(full);
    if (full < (static_cast<unsigned __int128>(1) << 48)) {
        // A small product: its two highest non-zero 16-bit digits (or the only one).
        std::uint64_t v = static_cast<std::uint64_t>(full);
        int digits = 0;
        for (std::uint64_t t = v; t; t >>= 16)
            ++digits;
        if (digits <= 2)
            return static_cast<std::uint32_t>(v);
        return static_cast<std::uint32_t>(v >> (16 * (digits - 2)));
    }
    return static_cast<std::uint32_t>(m_state >> 32);
}

} // namespace riz
