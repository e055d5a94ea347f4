#include "account/registrationchecks.h"

#include <gtest/gtest.h>

using namespace riz;

TEST(EmailAddress, Cases)
{
    struct Case
    {
        const char* address;
        bool valid;
    } cases[] = {
        {"anna@example.de", true},
        {"anna.berg@mail.example.com", true},
        {"anna berg@example.de", true}, // a blank is not refused
        {"a@b.de", true},
        {"@example.de", false},
        {"anna@@example.de", false},
        {"anna@x@example.de", false},
        {"anna@.de", false},       // "." right after the "@"
        {"anna@example.d", false}, // final part of 1
        {"anna@example.info", false}, // final part of 4
        {"anna@example.de.", false},
        {"anna@example", false},
        {"anna;berg@example.de", false},
        {"anna<b>@example.de", false},
        {"anna\"b\"@example.de", false},
        {"anna@exa/mple.de", false},
        {"", false},
        {"example.de", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidEmailAddress(c.address), c.valid) << c.address;
}

TEST(NewUserPage, FirstFailingCheckGivesItsMessage)
{
    const auto noProfile = [](const std::string&) { return false; };
    const auto annaExists = [](const std::string& e) { return e == "ANNA@example.de" || e == "anna@example.de"; };
    struct Case
    {
        TNewUserInput in;
        bool profileExists;
        int expected;
    } cases[] = {
        {{"", "geheim", "geheim", "Anna", "Berg"}, false, 10601},
        {{"anna@example", "geheim", "geheim", "Anna", "Berg"}, false, 10601},
        {{"anna@example.de", "", "", "Anna", "Berg"}, false, 10602},
        {{"anna@example.de", "abc", "abc", "Anna", "Berg"}, false, 10604},
        {{"anna@example.de", "abcd", "abcd", "Anna", "Berg"}, false, 0},
        {{"anna@example.de", "abcd", "abcD", "Anna", "Berg"}, false, 10605},
        {{"anna@example.de", "abcd", "abcd", "", "Berg"}, false, 10606},
        {{"anna@example.de", "abcd", "abcd", "Anna", ""}, false, 10606},
        {{"ANNA@example.de", "abcd", "abcd", "Anna", "Berg"}, true, 10607},
        // The first failing check wins: a short password before a missing name.
        {{"anna@example.de", "ab", "xy", "", ""}, false, 10604},
    };
    for (const Case& c : cases) {
        const int got = c.profileExists ? CheckNewUser(c.in, annaExists) : CheckNewUser(c.in, noProfile);
        EXPECT_EQ(got, c.expected) << c.in.Email << " / " << c.in.Password;
    }
}

TEST(MemberPage, ChecksAndNoLengthRule)
{
    const auto none = [](const std::string&) { return false; };
    const auto all = [](const std::string&) { return true; };
    EXPECT_EQ(CheckExistingMember("", "x", none), 10601);
    EXPECT_EQ(CheckExistingMember("ben@example.de", "", none), 10602);
    EXPECT_EQ(CheckExistingMember("ben@example.de", "x", none), 0);
    EXPECT_EQ(CheckExistingMember("ben@example.de", "x", all), 10607);
}

TEST(RegistrationCode, Form)
{
    struct Case
    {
        const char* code;
        bool ok;
    } cases[] = {
        {"ABCDE-12345-FGHIJ-67890-KLMNO", true},
        {"abcde-12345-fghij-67890-klmno", true}, // the characters between are not checked
        {"ABCDE-12345-FGHIJ-67890-KLMN", false},  // 28 characters
        {"ABCDE-12345-FGHIJ-67890XKLMNO", false}, // a letter where a dash belongs
        {"ABCDEF12345-FGHIJ-67890-KLMNO", false},
        {"ABCDE-12345-FGHIJ-67890-KLMNO-", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsRegistrationCodeForm(c.code), c.ok) << c.code;
}

TEST(OptionalData, BirthdayAndMobile)
{
    double birth = -1;
    EXPECT_EQ(CheckOptionalData("", "", "", "", birth), 0);
    EXPECT_EQ(birth, 0.0);
    EXPECT_EQ(CheckOptionalData("29", "2", "2000", "0172 5555555", birth), 0);
    EXPECT_GT(birth, 36000.0);
    EXPECT_EQ(CheckOptionalData("29", "2", "2001", "", birth), 10610);
    EXPECT_EQ(CheckOptionalData("1", "", "1990", "", birth), 10610);
    EXPECT_EQ(CheckOptionalData("x", "1", "1990", "", birth), 10610);
    EXPECT_EQ(CheckOptionalData("", "", "", "+49-170-5555555", birth), 0);
    EXPECT_EQ(CheckOptionalData("", "", "", "Handy", birth), 11033);
}
