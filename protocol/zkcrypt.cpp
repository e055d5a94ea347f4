#include "protocol/zkcrypt.h"

#include <cstdio>
#include <stdexcept>

namespace riz {
namespace {

#include "protocol/pi_tables.inc"

struct ReverseAlphabets
{
    signed char a64[256];
    signed char a32[256];
    ReverseAlphabets()
    {
        for (int i = 0; i < 256; ++i)
            a64[i] = a32[i] = -1;
        for (int i = 0; i < 64; ++i)
            a64[static_cast<unsigned char>(TZKCrypt::kAlphabet64[i])] = static_cast<signed char>(i);
        for (int i = 0; i < 32; ++i)
            a32[static_cast<unsigned char>(TZKCrypt::kAlphabet32[i])] = static_cast<signed char>(i);
    }
};

const ReverseAlphabets& Reverse()
{
    static const ReverseAlphabets r;
    return r;
}

} // namespace

TZKCrypt::TZKCrypt(std::uint32_t seed)
{
    m_random.Seed(seed);
}

void TZKCrypt::SetPublicKey(const std::string& exponent, const std::string& modulus)
{
    m_exponent = LINT(exponent);
    m_modulus = LINT(modulus);
}

void TZKCrypt::GenerateSessionKey()
{
    SessionKey k;
    for (auto& w : k)
        w = m_random.Next();
    SetSessionKey(k);
}

void TZKCrypt::SetSessionKey(const SessionKey& key)
{
    m_key = key;
    std::uint32_t K[14];
    for (int i = 0; i < 14; ++i)
        K[i] = key[static_cast<size_t>(i % 5)];
    for (int i = 0; i < 1024; ++i)
        m_S[i] = kPiS[i];
    m_S[1024] = 0;
    for (int i = 0; i < 18; ++i)
        m_P[i] = kPiP[i] ^ K[i % 14];

    std::uint32_t L = 0, R = 0;
    for (int i = 0; i < 18; i += 2) {
        EncryptBlock(L, R);
        m_P[i] = L;
        m_P[i + 1] = R;
    }
    // The boxes advance by one word per block, so each S[j+1] is overwritten by the next step
    // and the last one lands in the scratch word.
    L = R = 0;
    for (int j = 0; j < 1024; ++j) {
        EncryptBlock(L, R);
        m_S[j] = L;
        m_S[j + 1] = R;
    }
}

void TZKCrypt::EncryptBlock(std::uint32_t& L, std::uint32_t& R) const
{
    std::uint32_t l = L, r = R;
    for (int i = 0; i < 16; i += 2) {
        l ^= m_P[i];
        r ^= F(l);
        r ^= m_P[i + 1];
        l ^= F(r);
    }
    // Two rounds per step leave l and r unswapped; the final swap exchanges them.
    l ^= m_P[16];
    r ^= m_P[17];
    L = r;
    R = l;
}

void TZKCrypt::DecryptBlock(std::uint32_t& L, std::uint32_t& R) const
{
    std::uint32_t l = L ^ m_P[17];
    std::uint32_t r = R ^ m_P[16];
    // Undo the final swap and the last round's swap at once; then each round undoes itself
    // and the swap of the round before it.
    for (int i = 15; i >= 1; i -= 2) {
        r ^= F(l);
        l ^= m_P[i];
        l ^= F(r);
        r ^= m_P[i - 1];
    }
    L = r;
    R = l;
}

void TZKCrypt::WriteWord(std::string& out, std::uint32_t w, int bits)
{
    const char* alphabet = bits == 6 ? kAlphabet64 : kAlphabet32;
    const std::uint32_t mask = (1u << bits) - 1u;
    for (int shift = 32 - bits; shift > 0; shift -= bits)
        out += alphabet[(w >> shift) & mask];
    const int rest = 32 % bits;
    if (rest)
        out += alphabet[w & ((1u << rest) - 1u)];
}

std::uint32_t TZKCrypt::ReadWord(const char* chars, int bits)
{
    const signed char* rev = bits == 6 ? Reverse().a64 : Reverse().a32;
    std::uint32_t w = 0;
    const int full = 32 / bits;
    for (int i = 0; i < full; ++i)
        w = (w << bits) + static_cast<std::uint32_t>(static_cast<int>(rev[static_cast<unsigned char>(chars[i])]));
    const int rest = 32 % bits;
    if (rest) {
        const std::uint32_t idx =
            static_cast<std::uint32_t>(static_cast<int>(rev[static_cast<unsigned char>(chars[full])]));
        w = (w << rest) + (idx & ((1u << rest) - 1u));
    }
    return w;
}

std::string TZKCrypt::Pad(const std::string& text)
{
    std::string t = text.empty() ? std::string(" ") : text;
    const size_t p = 7 - (t.size() % 8);
    // The i-th added character copies the i-th character of the text as it stands, which for
    // a short text runs on into the characters just added.
    for (size_t i = 0; i < p; ++i)
        t += t[i];
    t += static_cast<char>(p + 1);
    return t;
}

std::string TZKCrypt::EncryptText(const std::string& text, int bits) const
{
    const std::string t = Pad(text);
    std::string out;
    out.reserve(t.size() / 8 * 2 * static_cast<size_t>(CharsPerWord(bits)));
    const unsigned char* p = reinterpret_cast<const unsigned char*>(t.data());
    for (size_t b = 0; b < t.size(); b += 8) {
        std::uint32_t L = (std::uint32_t(p[b]) << 24) | (std::uint32_t(p[b + 1]) << 16) |
                          (std::uint32_t(p[b + 2]) << 8) | std::uint32_t(p[b + 3]);
        std::uint32_t R = (std::uint32_t(p[b + 4]) << 24) | (std::uint32_t(p[b + 5]) << 16) |
                          (std::uint32_t(p[b + 6]) << 8) | std::uint32_t(p[b + 7]);
        EncryptBlock(L, R);
        WriteWord(out, L, bits);
        WriteWord(out, R, bits);
    }
    return out;
}

std::string TZKCrypt::DecryptText(const std::string& coded, int bits) const
{
    const size_t word = static_cast<size_t>(CharsPerWord(bits));
    const size_t block = 2 * word;
    if (coded.empty() || coded.size() % block != 0)
        throw std::runtime_error("encrypted text has no whole number of blocks");
    std::string out;
    out.reserve(coded.size() / block * 8);
    for (size_t i = 0; i < coded.size(); i += block) {
        std::uint32_t L = ReadWord(coded.data() + i, bits);
        std::uint32_t R = ReadWord(coded.data() + i + word, bits);
        DecryptBlock(L, R);
        for (int s = 24; s >= 0; s -= 8)
            out += static_cast<char>((L >> s) & 0xFF);
        for (int s = 24; s >= 0; s -= 8)
            out += static_cast<char>((R >> s) & 0xFF);
    }
    const size_t n = static_cast<unsigned char>(out.back());
    if (n < 1 || n > 8 || n > out.size())
        throw std::runtime_error("encrypted text has an invalid padding");
    out.resize(out.size() - n);
    return out;
}

std::string TZKCrypt::FormatTime(double now)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", now);
    // snprintf follows the C locale of the process; the stamp always uses a point.
    for (char* c = buf; *c; ++c)
        if (*c == ',')
            *c = '.';
    return buf;
}

std::string TZKCrypt::EncryptRequest(const std::string& message, double now) const
{
    std::string plain;
    plain.reserve(m_marker.size() + 24 + message.size());
    plain += m_marker;
    plain += FormatTime(now);
    plain += ' ';
    plain += message;

    const std::string body = EncryptText(plain, kRequestBits);
    const TZKDigest::Result d = TZKDigest::Of(plain);

    LINT x(0u);
    for (std::uint32_t w : m_key)
        x = (x << 32) + LINT(w);
    for (std::uint32_t w : d)
        x = (x << 32) + LINT(w);
    x.mexp(m_exponent, m_modulus);

    std::string out;
    out.reserve(kKeyDigits + body.size());
    const LINT mask(63u);
    for (int i = 0; i < kKeyDigits; ++i) {
        out += kAlphabet64[(x & mask).ToUInt32()];
        x = x >> 6;
    }
    out += body;
    return out;
}

std::string TZKCrypt::DecryptAnswer(const std::string& payload) const
{
    return DecryptText(payload, kAnswerBits);
}

} // namespace riz
