#include "protocol/digest.h"
#include "protocol/lint.h"
#include "protocol/serverenvelope.h"
#include "protocol/servicekey.h"
#include "protocol/zkcrypt.h"

#include "tests/support/testpaths.h"

#include <gtest/gtest.h>
#include <openssl/blowfish.h>

#include <cstdio>
#include <cstring>
#include <cstdint>

using namespace riz;

namespace {
#include "protocol/pi_tables.inc"

std::string HexWords(const TZKDigest::Result& r)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%08x %08x %08x %08x %08x", r[0], r[1], r[2], r[3], r[4]);
    return buf;
}

// Standard Blowfish over the generated tables, to compare with OpenSSL's.
struct StandardBlowfish
{
    std::uint32_t P[18], S[1024];
    std::uint32_t F(std::uint32_t x) const
    {
        return ((S[x >> 24] + S[256 + ((x >> 16) & 0xFF)]) ^ S[512 + ((x >> 8) & 0xFF)]) +
               S[768 + (x & 0xFF)];
    }
    void Encrypt(std::uint32_t& L, std::uint32_t& R) const
    {
        for (int i = 0; i < 16; ++i) {
            L ^= P[i];
            R ^= F(L);
            std::swap(L, R);
        }
        std::swap(L, R);
        R ^= P[16];
        L ^= P[17];
    }
    explicit StandardBlowfish(const unsigned char* key, int len)
    {
        std::copy(kPiS, kPiS + 1024, S);
        for (int i = 0, j = 0; i < 18; ++i) {
            std::uint32_t d = 0;
            for (int k = 0; k < 4; ++k, j = (j + 1) % len)
                d = (d << 8) | key[j];
            P[i] = kPiP[i] ^ d;
        }
        std::uint32_t L = 0, R = 0;
        for (int i = 0; i < 18; i += 2) {
            Encrypt(L, R);
            P[i] = L;
            P[i + 1] = R;
        }
        for (int i = 0; i < 1024; i += 2) {
            Encrypt(L, R);
            S[i] = L;
            S[i + 1] = R;
        }
    }
};

TZKCrypt ClientCrypt(std::uint32_t seed)
{
    TZKCrypt c(seed);
    c.SetPublicKey(kServicePublicExponent, kServiceModulus);
    c.SetMarker(kServiceMarker);
    c.GenerateSessionKey();
    return c;
}

TZKPrivateKey ServiceKey()
{
    TZKPrivateKey key;
    std::string error;
    EXPECT_TRUE(key.Load(test::SourceDir() + "/keys/dev-service.key", error)) << error;
    return key;
}

} // namespace

TEST(Digest, TestValues)
{
    EXPECT_EQ(HexWords(TZKDigest::Of("abc")), "115e03a5 89ad4007 c5a957f1 34802108 f3401d8a");
    EXPECT_EQ(HexWords(TZKDigest::Of("")), "7e2843e7 14d6ce6d a9a0722b 15b13f1f c511d3fd");
}

TEST(Digest, ChunkedUpdatesMatchOneShotAcrossBlockBoundaries)
{
    // Lengths around 55/56/64 exercise the padding that needs a second block.
    std::string text;
    for (int len = 0; len <= 140; ++len) {
        TZKDigest d;
        for (size_t i = 0; i < text.size(); i += 7)
            d.Update(text.data() + i, std::min<size_t>(7, text.size() - i));
        EXPECT_EQ(d.Final(), TZKDigest::Of(text)) << len;
        text += static_cast<char>('a' + len % 26);
    }
    EXPECT_NE(TZKDigest::Of(std::string(55, 'x')), TZKDigest::Of(std::string(56, 'x')));
}

TEST(RandomSource, SameSeedSameSequence)
{
    TZKRandom a, b, c;
    a.Seed(1234567);
    b.Seed(1234567);
    c.Seed(1234568);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const std::uint32_t x = a.Next();
        EXPECT_EQ(x, b.Next());
        differs |= x != c.Next();
    }
    EXPECT_TRUE(differs);
    // From state 0 the untruncated product is 1: the result is that single digit.
    TZKRandom z;
    z.Seed(0);
    EXPECT_EQ(z.Next(), 1u);
    // The next state is 1: upper 32 bits of 6364136223846793005 + 1.
    EXPECT_EQ(z.Next(), static_cast<std::uint32_t>(6364136223846793006ull >> 32));
}

TEST(Lint, ModularExponentiationStaysBelowModulus)
{
    const LINT n(kServiceModulus);
    EXPECT_EQ(n.BitLength(), 1023u);
    LINT x(0u);
    for (int i = 0; i < 10; ++i)
        x = (x << 32) + LINT(0xFFFFFFFFu - static_cast<std::uint32_t>(i));
    EXPECT_EQ(x.BitLength(), 320u);
    LINT y = x;
    y.mexp(LINT(kServicePublicExponent), n);
    EXPECT_TRUE(y < n);
    EXPECT_TRUE(y != x);
    // Small check against a known value: 4^13 mod 497 = 445.
    LINT s(4u);
    s.mexp(LINT(13u), LINT("497"));
    EXPECT_EQ(s.ToUInt32(), 445u);
    EXPECT_EQ(LINT("0b1011").ToUInt32(), 11u);
    EXPECT_EQ(LINT(-5).ToUInt32(), 5u);
    EXPECT_EQ((LINT("0xFF00") & LINT(0x0FF0u)).ToUInt32(), 0x0F00u);
}

TEST(Cipher, InitialTablesAreBlowfishs)
{
    const unsigned char key[] = "RIZ Avivaze tables";
    StandardBlowfish ours(key, 18);
    BF_KEY ossl;
    BF_set_key(&ossl, 18, key);
    for (std::uint32_t i = 0; i < 50; ++i) {
        std::uint32_t L = i * 0x9E3779B9u, R = ~i;
        BF_LONG data[2] = {L, R};
        BF_encrypt(data, &ossl);
        ours.Encrypt(L, R);
        EXPECT_EQ(L, data[0]);
        EXPECT_EQ(R, data[1]);
    }
}

TEST(Cipher, BlocksRoundTripAndKeysMatter)
{
    TZKCrypt a, b;
    a.SetSessionKey({1, 2, 3, 4, 5});
    b.SetSessionKey({1, 2, 3, 4, 6});
    for (std::uint32_t i = 0; i < 1000; ++i) {
        std::uint32_t L = i * 2654435761u, R = i ^ 0xDEADBEEFu;
        std::uint32_t l = L, r = R;
        a.EncryptBlock(l, r);
        EXPECT_FALSE(l == L && r == R);
        std::uint32_t l2 = L, r2 = R;
        b.EncryptBlock(l2, r2);
        EXPECT_FALSE(l == l2 && r == r2);
        a.DecryptBlock(l, r);
        EXPECT_EQ(l, L);
        EXPECT_EQ(r, R);
    }
}

TEST(WordCoding, Examples)
{
    struct Case
    {
        std::uint32_t word;
        const char* six;
        const char* five;
    } cases[] = {
        {0u, "000000", "0000000"},
        {0xFFFFFFFFu, "_____3", "vvvvvv3"},
        {0x12345678u, "4zhmu0", "28q5cu0"},
    };
    for (const Case& c : cases) {
        std::string s6, s5;
        TZKCrypt::WriteWord(s6, c.word, 6);
        TZKCrypt::WriteWord(s5, c.word, 5);
        EXPECT_EQ(s6, c.six);
        EXPECT_EQ(s5, c.five);
        EXPECT_EQ(TZKCrypt::ReadWord(c.six, 6), c.word);
        EXPECT_EQ(TZKCrypt::ReadWord(c.five, 5), c.word);
    }
    // A character outside the alphabet counts as -1 and gives garbage, not a fault.
    EXPECT_NE(TZKCrypt::ReadWord("!!!!!!", 6), 0u);
}

TEST(Padding, Lengths)
{
    struct Case
    {
        std::string text;
        std::string padded;
    } cases[] = {
        {"", std::string("        ").substr(0, 7) + '\x07'},
        {"1234567", "1234567\x01"},
        {"12345678", "12345678" "1234567" "\x08"},
        {"ab", std::string("abababa") + '\x06'},
        {"123456789", "123456789" "123456" "\x07"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TZKCrypt::Pad(c.text), c.padded) << c.text;
        EXPECT_EQ(TZKCrypt::Pad(c.text).size() % 8, 0u);
    }
}

TEST(Envelope, TextRoundTripsBothDirectionsWithHighBytes)
{
    TZKCrypt c;
    c.SetSessionKey({0x01234567, 0x89ABCDEF, 0xFEDCBA98, 0x76543210, 0x0F1E2D3C});
    std::string high;
    for (int i = 128; i < 256; ++i)
        high += static_cast<char>(i);
    for (const std::string& t : {std::string("x"), std::string("1234567"), std::string("12345678"),
                                 high, std::string(1000, '\xFF')}) {
        const std::string answer = c.EncryptText(t, TZKCrypt::kAnswerBits);
        EXPECT_EQ(answer.size() % 14, 0u);
        EXPECT_EQ(c.DecryptAnswer(answer), t);
        const std::string request = c.EncryptText(t, TZKCrypt::kRequestBits);
        EXPECT_EQ(request.size(), TZKCrypt::Pad(t).size() / 8 * 12);
        EXPECT_EQ(c.DecryptText(request, TZKCrypt::kRequestBits), t);
    }
    // Unpadding: a last byte 8 takes 8 bytes away, 1 takes one.
    EXPECT_EQ(c.DecryptAnswer(c.EncryptText("12345678", 5)).size(), 8u);
    // The answer coding is not the request coding.
    const std::string request = c.EncryptText("abcdefghijklmn", 6);
    std::string out;
    try {
        out = c.DecryptAnswer(request);
    } catch (const std::exception&) {
    }
    EXPECT_NE(out, "abcdefghijklmn");
    EXPECT_THROW(c.DecryptAnswer(""), std::runtime_error);
}

TEST(Envelope, ClientRequestOpensOnTheServiceSide)
{
    const TZKPrivateKey key = ServiceKey();
    ASSERT_EQ(key.Marker, kServiceMarker);
    TZKServerEnvelope service(key);
    TZKCrypt client = ClientCrypt(987654321);

    std::string message = "<ZK TYPE=\"RQST\" NAME=\"SEND_SMS\">text=Gr\xFC\xDF" "e \x80\xA0\xFF\\p</ZK>";
    const double now = 46000.5234567;
    const std::string request = kRequestPrefix + client.EncryptRequest(message, now);
    for (char ch : request)
        EXPECT_TRUE(std::strchr(TZKCrypt::kAlphabet64, ch) || ch == '-') << int(ch);

    TZKOpenedRequest opened;
    std::string error;
    ASSERT_TRUE(service.OpenRequest(request, opened, error)) << error;
    EXPECT_EQ(opened.Message, message);
    EXPECT_EQ(opened.TimeStamp, "46000.5234567");
    EXPECT_EQ(opened.Key, client.GetSessionKey());

    // The answer goes back under the same session key.
    const std::string answer = "<ZK>rslt=0\\ptext=\xE4\xF6\xFC\\p</ZK>";
    const std::string body = TZKServerEnvelope::AnswerHeader(true) +
                             TZKServerEnvelope::EncryptAnswer(answer, opened.Key);
    EXPECT_EQ(body.substr(2, 2), "01");
    EXPECT_EQ(client.DecryptAnswer(body.substr(16)), answer);
    EXPECT_EQ(TZKServerEnvelope::AnswerHeader(false).substr(0, 4), "0000");
    EXPECT_EQ(TZKServerEnvelope::AnswerHeader(false).size(), 16u);
}

TEST(Envelope, KeyBlockFollowsTheDigest)
{
    TZKCrypt client = ClientCrypt(42);
    const std::string a1 = client.EncryptRequest("<ZK></ZK>", 45000.25);
    const std::string a2 = client.EncryptRequest("<ZK></ZK>", 45000.25);
    const std::string b = client.EncryptRequest("<ZK>x=1\\p</ZK>", 45000.25);
    EXPECT_EQ(a1, a2);
    EXPECT_EQ(a1.substr(0, 171), a2.substr(0, 171));
    EXPECT_NE(a1.substr(0, 171), b.substr(0, 171));
    // A new program run draws a new session key.
    TZKCrypt other = ClientCrypt(43);
    EXPECT_NE(other.EncryptRequest("<ZK></ZK>", 45000.25), a1);
}

TEST(Envelope, ServiceRefusesDamagedRequests)
{
    const TZKPrivateKey key = ServiceKey();
    TZKServerEnvelope service(key);
    TZKCrypt client = ClientCrypt(7);
    const std::string good = kRequestPrefix + client.EncryptRequest("<ZK>a=1\\p</ZK>", 45000.0);

    auto refused = [&](const std::string& text) {
        TZKOpenedRequest out;
        std::string error;
        const bool ok = service.OpenRequest(text, out, error);
        return !ok && !error.empty();
    };
    std::string body = good;
    body[good.size() - 5] = body[good.size() - 5] == 'a' ? 'b' : 'a'; // wrong digest or padding
    EXPECT_TRUE(refused(body));
    std::string keyBlock = good;
    keyBlock[40] = keyBlock[40] == 'a' ? 'b' : 'a';
    EXPECT_TRUE(refused(keyBlock));
    EXPECT_TRUE(refused(good.substr(32)));                 // no prefix
    EXPECT_TRUE(refused(good.substr(0, 100)));             // truncated
    EXPECT_TRUE(refused(good + "x"));                      // not whole blocks
    EXPECT_TRUE(refused(std::string(kRequestPrefix) + std::string(400, '!')));
    EXPECT_TRUE(refused(std::string(kRequestPrefix) + std::string(171, '_') + "000000000000"));

    // Another marker is another service.
    TZKCrypt stranger = ClientCrypt(7);
    stranger.SetMarker("OTHER1 ");
    EXPECT_TRUE(refused(kRequestPrefix + stranger.EncryptRequest("<ZK></ZK>", 45000.0)));
}
