#include "data/phonenumber.h"

#include <gtest/gtest.h>

using namespace riz;

namespace {

struct SplitCase
{
    const char* input;
    bool ok;
    const char* country;
    const char* national;
};

class SplitPhoneNumberTest : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitPhoneNumberTest, Splits)
{
    const SplitCase& c = GetParam();
    std::string national = "stale", country = "stale";
    EXPECT_EQ(SplitPhoneNumber(c.input, '0', "49", national, country), c.ok) << c.input;
    EXPECT_EQ(country, c.country) << c.input;
    EXPECT_EQ(national, c.national) << c.input;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitPhoneNumberTest,
    ::testing::Values(SplitCase{"+49-172-5555555", true, "49", "1725555555"},
                      SplitCase{"0172/5555555", true, "49", "1725555555"},
                      SplitCase{"(0172) 555 5555", true, "49", "1725555555"},
                      SplitCase{"+49 (0) 172 5555555", true, "49", "1725555555"},
                      SplitCase{"+1 212 5555555", true, "1", "2125555555"},
                      SplitCase{"+7 495 1234567", true, "7", "4951234567"},
                      SplitCase{"+353 87 5555555", true, "353", "875555555"},
                      SplitCase{"+44 20 7946 0000", true, "44", "2079460000"},
                      SplitCase{"0049 172 5555555", true, "49", "491725555555"},
                      SplitCase{" +49 172 5555555", false, "", ""},
                      SplitCase{"1725555555", false, "", ""}, SplitCase{"+491", true, "49", "1"},
                      SplitCase{"+490", true, "49", ""}, SplitCase{"+350", true, "350", ""},
                      SplitCase{"+49", false, "", ""}, SplitCase{"", false, "", ""},
                      SplitCase{"0172 555 5555 privat", false, "", ""},
                      SplitCase{"+49.172", false, "", ""}, SplitCase{"+49+172", false, "", ""},
                      SplitCase{"017", true, "49", "17"}, SplitCase{"0", false, "", ""}));

TEST(PhoneNumber, SplitUsesTheGivenTrunkPrefixAndDefaultCountry)
{
    std::string national, country;
    ASSERT_TRUE(SplitPhoneNumber("8 212 5555555", '8', "7", national, country));
    EXPECT_EQ(country, "7");
    EXPECT_EQ(national, "2125555555");
}

TEST(PhoneNumber, PhoneDigitsKeepsOnlyDigits)
{
    EXPECT_EQ(PhoneDigits("+49 (0)172-5555555"), "4901725555555");
    EXPECT_EQ(PhoneDigits("privat"), "");
    EXPECT_EQ(PhoneDigits("a1b2c3"), "123");
}

TEST(PhoneNumber, StripPhoneSeparators)
{
    struct Case
    {
        const char* input;
        bool ok;
        const char* after;
    } cases[] = {{"+49 172-555 5555", true, "+491725555555"},
                 {"(0172) / 555-55", true, "017255555"},
                 {"+49.172", false, "+49.172"},
                 {"", false, ""},
                 {"0172+5", false, "0172+5"},
                 {" +49", false, " +49"}};
    for (const Case& c : cases) {
        std::string s = c.input;
        EXPECT_EQ(StripPhoneSeparators(s), c.ok) << c.input;
        EXPECT_EQ(s, c.after) << c.input;
    }
}

} // namespace
