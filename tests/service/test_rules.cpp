// The service's own rules that need no server: receiver numbers, splitting into parts,
// generated bitmaps and codes.

#include "service/bitmaps.h"
#include "service/phonecheck.h"
#include "service/requestcontext.h"
#include "service/smssplitter.h"

#include <gtest/gtest.h>

namespace riz::service {
namespace {

TEST(ReceiverNumber, CodesAndInternationalForm)
{
    const struct
    {
        const char* Text;
        int Code;
        const char* Number;
    } cases[] = {
        {"+491725555555", 0, "+491725555555"},
        {"+49 172 5555555", 0, "+491725555555"},
        {"0172/5555555", 0, "+491725555555"},
        {"(0172) 555 5555", 0, "+491725555555"},
        {"+49 (0) 172 5555555", 0, "+491725555555"},
        {"00491725555555", 0, "+491725555555"},
        {"+4915112345678", 0, "+4915112345678"},
        {"+436641234567", 0, "+436641234567"},
        {"+41791234567", 0, "+41791234567"},
        {"1725555555", 80, ""},
        {"+49 172 555555x", 80, ""},
        {"++491725555555", 80, ""},
        {"+49.172", 80, ""},
        {"", 80, ""},
        {"+491", 80, ""},
        {"+33612345678", 81, "+33612345678"},
        {"+12125555555", 81, "+12125555555"},
        {"+49301234567", 82, "+49301234567"},
        {"+436601234", 83, "+436601234"},
        {"+491725555", 83, "+491725555"},
        {"+49172555555555", 83, "+49172555555555"},
        {"+41791234", 83, "+41791234"},
    };
    for (const auto& c : cases) {
        const TPhoneCheck check = CheckReceiverNumber(c.Text);
        EXPECT_EQ(check.Code, c.Code) << c.Text;
        if (c.Code != 80) {
            EXPECT_EQ(check.Number, c.Number) << c.Text;
        }
    }
    EXPECT_TRUE(AcceptsMedia(CheckReceiverNumber("+491725555555")));
    EXPECT_FALSE(AcceptsMedia(CheckReceiverNumber("+436641234567")));
}

TEST(Parts, HardCutAndWholeWords)
{
    const std::string a149(149, 'a');
    const std::string b11(11, 'b');
    const struct
    {
        std::string Text;
        bool KeepWords;
        std::vector<std::string> Parts;
    } cases[] = {
        {"", false, {}},
        {"", true, {}},
        {std::string(160, 'x'), false, {std::string(160, 'x')}},
        {std::string(160, 'x'), true, {std::string(160, 'x')}},
        {std::string(161, 'x'), false, {std::string(160, 'x'), "x"}},
        {a149 + " " + b11, false, {a149 + " " + std::string(10, 'b'), "b"}},
        {a149 + " " + b11, true, {a149, b11}},
        // One word longer than a part is cut hard.
        {std::string(200, 'w'), true, {std::string(160, 'w'), std::string(40, 'w')}},
        // Line breaks take no room when words are kept: 150 characters in 3 lines, one part.
        {std::string(48, 'l') + "\r\n" + std::string(48, 'l') + "\r\n" + std::string(50, 'l'),
         true,
         {std::string(48, 'l') + "\r\n" + std::string(48, 'l') + "\r\n" + std::string(50, 'l')}},
        // A part that would cut a word breaks at the last line break.
        {std::string(100, 'p') + "\r\n" + std::string(100, 'q'),
         true,
         {std::string(100, 'p'), std::string(100, 'q')}},
        // A blank right at the cut needs no search.
        {std::string(160, 'c') + " d", true, {std::string(160, 'c'), " d"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitIntoParts(c.Text, 160, c.KeepWords), c.Parts)
            << c.Text.size() << " keep=" << c.KeepWords;
}

TEST(Bitmaps, GeneratedLogosAreCompleteOneBitBitmaps)
{
    const std::string logo = MakeMonoBitmap(72, 14, [](int x, int y) { return (x + y) % 3 == 0; });
    EXPECT_TRUE(IsMonoBitmap(logo, 72, 14));
    EXPECT_EQ(logo.size(), 14u + 40u + 8u + 12u * 14u); // rows of 72 bits padded to 12 bytes
    EXPECT_FALSE(IsMonoBitmap(logo, 72, 13));
    EXPECT_FALSE(IsMonoBitmap(logo.substr(0, logo.size() - 1), 72, 14));
    EXPECT_FALSE(IsMonoBitmap(MakeColorBitmap(72, 14, [](int, int) { return 0u; }), 72, 14));
    EXPECT_FALSE(IsMonoBitmap("", 72, 14));
    EXPECT_FALSE(IsMonoBitmap(std::string(200, 'B'), 72, 14));
    // Top-left black pixel: the last stored row, first bit clear (index 0 is black).
    const std::string dot = MakeMonoBitmap(72, 14, [](int x, int y) { return x == 0 && y == 0; });
    const size_t lastRow = 14 + 40 + 8 + 12 * 13;
    EXPECT_EQ(static_cast<unsigned char>(dot[lastRow]) & 0x80, 0);
    EXPECT_EQ(static_cast<unsigned char>(dot[lastRow]) & 0x40, 0x40);
}

TEST(Codes, RegistrationCodesAreFiveGroupsOfFive)
{
    const std::string code = RandomCode(5, 5);
    ASSERT_EQ(code.size(), 29u);
    for (size_t i = 0; i < code.size(); ++i)
        EXPECT_EQ(code[i] == '-', i % 6 == 5) << code;
    EXPECT_NE(RandomCode(5, 5), code);
    const std::string digits = RandomCode(1, 6, true);
    EXPECT_EQ(digits.find_first_not_of("0123456789"), std::string::npos);
}

} // namespace
} // namespace riz::service
