#pragma once

#include "protocol/digest.h"
#include "protocol/lint.h"

#include <array>
#include <cstdint>
#include <string>

namespace riz {

// The request envelope: a 64-bit block cipher with Blowfish's structure and initial tables but
// its own key schedule and round function, two text codings of 32-bit words, and textbook
// public-key encryption of the session key and the plaintext's digest.
class TZKCrypt final
{
public:
    using SessionKey = std::array<std::uint32_t, 5>;

    static constexpr const char* kAlphabet64 =
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ-_";
    static constexpr const char* kAlphabet32 = "0123456789abcdefghijklmnopqrstuv";
    static constexpr int kRequestBits = 6;
    static constexpr int kAnswerBits = 5;
    static constexpr int kKeyDigits = 171; // characters of the encrypted session key

    // Seeds the random source with the given seconds since 1970 (the time of creation).
    explicit TZKCrypt(std::uint32_t seed = 0);

    void SetPublicKey(const std::string& exponent, const std::string& modulus);
    void SetMarker(const std::string& marker) { m_marker = marker; }
    const std::string& Marker() const { return m_marker; }

    // Draws k0..k4 from the random source and runs the key schedule.
    void GenerateSessionKey();
    void SetSessionKey(const SessionKey& key);
    const SessionKey& GetSessionKey() const { return m_key; }

    // The envelope for an encoded message, stamped with the given local date-time.
    std::string EncryptRequest(const std::string& message, double now) const;
    // The answer message from an encrypted payload; throws std::runtime_error on a payload that
    // cannot be decrypted (empty, or a padding count that does not fit).
    std::string DecryptAnswer(const std::string& payload) const;

    void EncryptBlock(std::uint32_t& L, std::uint32_t& R) const;
    void DecryptBlock(std::uint32_t& L, std::uint32_t& R) const;

    // Text encryption with padding, 8-byte blocks, each block's two words written with the
    // given bits per character (6 for requests, 5 for answers), and its inverse.
    std::string EncryptText(const std::string& text, int bits) const;
    std::string DecryptText(const std::string& coded, int bits) const; // throws std::runtime_error

    static void WriteWord(std::string& out, std::uint32_t w, int bits);
    static std::uint32_t ReadWord(const char* chars, int bits);
    static int CharsPerWord(int bits) { return 32 / bits + (32 % bits ? 1 : 0); }
    // The plaintext time stamp: the date-time with 15 significant digits.
    static std::string FormatTime(double now);
    // The padding rule alone, for tests: the text extended to a multiple of 8.
    static std::string Pad(const std::string& text);

private:
    std::uint32_t F(std::uint32_t x) const
    {
        std::uint32_t v = m_S[x & 0xFF] + (m_S[256 + ((x >> 8) & 0xFF)] & 1u);
        v ^= 0x20u;
        v = v + m_S[512 + ((x >> 16) & 0xFF)] + (m_S[768 + (x >> 24)] & 1u);
        return v ^ 0x20u;
    }

    LINT m_exponent;
    LINT m_modulus;
    std::string m_marker;
    TZKRandom m_random;
    SessionKey m_key{};
    std::uint32_t m_P[18]{};
    // The four boxes and, directly after them, the scratch word that takes the key schedule's
    // last spill.
    std::uint32_t m_S[1024 + 1]{};
};

} // namespace riz
