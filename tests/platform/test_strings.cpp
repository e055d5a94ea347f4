#include "platform/strings.h"

#include <gtest/gtest.h>

#include <set>

using namespace riz;

TEST(StringTable, QuotedTextsStandAsTheyAre)
{
    EXPECT_EQ(LoadStr(1), "Fehler");
    EXPECT_EQ(LoadStr(2), "Best\xE4tigung");
    EXPECT_EQ(LoadStr(50001), "0.97.01");
    EXPECT_EQ(LoadStr(50301), "/VORaradi/VORaradi.dll/ZK?r=");
    EXPECT_EQ(LoadStr(50302), "/VORaradi/VORaradi.dll/ECHO?test");
    EXPECT_EQ(LoadStr(50303), "test");
    EXPECT_EQ(LoadStr(10609), "Ihre Anmeldedaten sind ung\xFCltig.");
    EXPECT_EQ(LoadStr(10901).substr(0, 72),
              "Beim Verbinden mit dem Server ist ein unbekannter Fehler aufgetreten.  S");
    EXPECT_NE(LoadStr(10901).find("erneut.\n\nFalls"), std::string::npos);
    EXPECT_NE(LoadStr(50305).find("\n\n%s\n\n"), std::string::npos);
    EXPECT_EQ(Format(LoadStr(50305), std::string("Wartung")).find("%s"), std::string::npos);
}

TEST(StringTable, RangesAndTaskTexts)
{
    // Every task id doubles as the id of its progress text.
    for (int id : {50411, 50412, 50413, 50414, 50421, 50422, 50423, 50424, 50425, 50426, 50427,
                   50431, 50432, 50433, 50434, 50435, 50441, 50442, 50443, 50445, 50446, 50447,
                   50451, 50452, 50453, 50454, 50455, 50456, 50457, 50461, 50462, 50470, 50471,
                   50472, 50473, 50474, 50475, 50401, 50402, 20001, 10904, 10905, 10906, 10907})
        EXPECT_TRUE(HasStr(id)) << id;
    for (int id : AllStringIds()) {
        const bool inRange = (id >= 1 && id <= 4) || (id >= 10001 && id <= 11703) ||
                             (id >= 19001 && id <= 19999) || (id >= 20001 && id <= 20933) ||
                             (id >= 30101 && id <= 30913) || (id >= 50001 && id <= 52112);
        EXPECT_TRUE(inRange) << id;
        EXPECT_FALSE(LoadStr(id).empty()) << id;
    }
}

TEST(StringTable, MissingIdIsReported)
{
    std::set<int> reported;
    SetMissingStringHandler([&](int id) { reported.insert(id); });
    EXPECT_EQ(LoadStr(99999), "[99999]");
    EXPECT_EQ(reported, std::set<int>{99999});
    // Restore the handler every test program installs.
    SetMissingStringHandler([](int id) { ADD_FAILURE() << "string table has no text with id " << id; });
}
