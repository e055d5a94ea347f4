#include "protocol/serverenvelope.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>

namespace riz {
namespace {

bool ParseHex(const std::string& value, LINT& out)
{
    std::string digits = value;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits = digits.substr(2);
    if (digits.empty() || digits.size() > LINT::kMaxBits / 4)
        return false;
    for (char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return false;
    out = LINT("0x" + digits);
    return true;
}

} // namespace

bool TZKPrivateKey::Load(const std::string& path, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read key file " + path;
        return false;
    }
    std::stringstream ss;
    ss << in.rdbuf();
    return Parse(ss.str(), error);
}

bool TZKPrivateKey::Parse(const std::string& text, std::string& error)
{
    std::istringstream in(text);
    std::string line;
    bool haveN = false, haveE = false, haveD = false, haveM = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string key = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (key == "modulus")
            haveN = ParseHex(value, Modulus);
        else if (key == "public_exponent")
            haveE = ParseHex(value, PublicExponent);
        else if (key == "private_exponent")
            haveD = ParseHex(value, PrivateExponent);
        else if (key == "marker") {
            // Quoted, because the marker ends in a blank.
            if (value.size() == 9 && value.front() == '"' && value.back() == '"') {
                Marker = value.substr(1, 7);
                haveM = Marker.back() == ' ';
            }
        }
    }
    if (!haveN || !haveE || !haveD || !haveM) {
        error = "key file lacks modulus, public_exponent, private_exponent or a 7-character marker";
        return false;
    }
    if (!(Modulus.BitLength() > 320 && Modulus.BitLength() <= 1026) ||
        (Modulus & LINT(1u)).ToUInt32() != 1) {
        error = "modulus must be odd with 321 to 1026 bits";
        return false;
    }
    return true;
}

bool TZKServerEnvelope::OpenRequest(const std::string& requestText, TZKOpenedRequest& out,
                                    std::string& error) const
{
    const size_t prefixLen = std::strlen(kRequestPrefix);
    if (requestText.compare(0, prefixLen, kRequestPrefix) != 0) {
        error = "request prefix missing";
        return false;
    }
    const size_t keyBegin = prefixLen;
    if (requestText.size() < keyBegin + TZKCrypt::kKeyDigits + 12) {
        error = "request too short";
        return false;
    }

    // The key digits come least significant first.
    LINT y(0u);
    for (int i = TZKCrypt::kKeyDigits - 1; i >= 0; --i) {
        const char c = requestText[keyBegin + static_cast<size_t>(i)];
        const char* pos = std::strchr(TZKCrypt::kAlphabet64, c);
        if (c == '\0' || !pos) {
            error = "invalid character in the key block";
            return false;
        }
        y = (y << 6) + LINT(static_cast<std::uint32_t>(pos - TZKCrypt::kAlphabet64));
    }
    if (!(y < m_key.Modulus)) {
        error = "key block out of range";
        return false;
    }
    LINT x = y;
    x.mexp(m_key.PrivateExponent, m_key.Modulus);
    if (x.BitLength() > 320) {
        error = "key block does not decrypt";
        return false;
    }
    std::uint32_t words[10];
    const LINT mask(0xFFFFFFFFu);
    for (int i = 9; i >= 0; --i) {
        words[i] = (x & mask).ToUInt32();
        x = x >> 32;
    }
    TZKCrypt::SessionKey key{words[0], words[1], words[2], words[3], words[4]};
    TZKDigest::Result digest{words[5], words[6], words[7], words[8], words[9]};

    TZKCrypt crypt;
    crypt.SetSessionKey(key);
    std::string plain;
    try {
        plain = crypt.DecryptText(requestText.substr(keyBegin + TZKCrypt::kKeyDigits),
                                  TZKCrypt::kRequestBits);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    if (TZKDigest::Of(plain) != digest) {
        error = "digest mismatch";
        return false;
    }
    if (plain.compare(0, m_key.Marker.size(), m_key.Marker) != 0) {
        error = "marker mismatch";
        return false;
    }
    const size_t blank = plain.find(' ', m_key.Marker.size());
    if (blank == std::string::npos) {
        error = "time stamp missing";
        return false;
    }
    out.TimeStamp = plain.substr(m_key.Marker.size(), blank - m_key.Marker.size());
    out.Message = plain.substr(blank + 1);
    out.Key = key;
    return true;
}

std::string TZKServerEnvelope::EncryptAnswer(const std::string& message,
                                             const TZKCrypt::SessionKey& key)
{
    TZKCrypt crypt;
    crypt.SetSessionKey(key);
    return crypt.EncryptText(message, TZKCrypt::kAnswerBits);
}

std::string TZKServerEnvelope::AnswerHeader(bool encrypted)
{
    return encrypted ? "0001------------" : "0000------------";
}

} // namespace riz
