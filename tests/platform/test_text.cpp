#include "platform/text.h"

#include <gtest/gtest.h>

using namespace riz;

TEST(Text, EveryByteSurvivesUtf8AndQString)
{
    std::string all;
    for (int i = 1; i < 256; ++i)
        all += static_cast<char>(i);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
    EXPECT_EQ(FromQString(ToQString(all)), all);
    EXPECT_EQ(ToQString(all).size(), 255);
}

TEST(Text, KnownCharacters)
{
    struct Case
    {
        const char* utf8;
        const char* cp1252;
    } cases[] = {
        {"Gr\xC3\xBC\xC3\x9F" "e", "Gr\xFC\xDF" "e"}, // Grüße
        {"\xE2\x82\xAC", "\x80"},                   // euro sign
        {"\xE2\x80\x9E" "x\xE2\x80\x9C", "\x84x\x93"}, // German quotes
        {"\xE2\x84\xA2", "\x99"},                    // trade mark
        {"\xE2\x82\xBF", "?"},                       // bitcoin sign: not in the code page
        {"\xF0\x9F\x98\x80", "?"},                   // emoji
        {"\xC3", "?"},                               // truncated sequence
        {"a\xFF" "b", "a?b"},                        // invalid byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToCp1252(c.utf8), c.cp1252) << c.utf8;
    }
    EXPECT_EQ(FromQString(QString::fromUtf8("\xF0\x9F\x98\x80!")), "?!");
    EXPECT_EQ(ToQString("\x80"), QString(QChar(0x20AC)));
}

TEST(Text, CaseInsensitiveCompareInTheCodePage)
{
    EXPECT_TRUE(AnsiSameText("M\xFCller", "M\xDCLLER"));
    EXPECT_FALSE(AnsiSameText("abc", "abcd"));
    EXPECT_LT(AnsiCompareText("alpha", "BETA"), 0);
    EXPECT_EQ(AnsiUpperCase("stra\xDF" "e \xE4"), "STRA\xDF" "E \xC4");
    EXPECT_EQ(AnsiLowerCase("\xC4\xD6\xDC"), "\xE4\xF6\xFC");
    EXPECT_EQ(Trim("  a b \t"), "a b");
}
