#include "protocol/servernames.h"

#include <gtest/gtest.h>

using namespace riz;

TEST(ServerNames, ListRoundTripAndWalk)
{
    TServerNames s;
    s.SetServerList("a;b*;c");
    EXPECT_EQ(s.GetServerList(), "a;b*;c;");
    EXPECT_EQ(s.CurrentServer(), "b");
    EXPECT_EQ(s.NextServer(), "a");
    EXPECT_EQ(s.NextServer(), "c");
    EXPECT_EQ(s.NextServer(), "");
    EXPECT_EQ(s.NextServer(), "");

    s.SetCurrentServer("d");
    EXPECT_EQ(s.GetServerList(), "a;b;c;d*;");
    EXPECT_EQ(s.NextServer(), "a");
    EXPECT_EQ(s.NextServer(), "b");
    EXPECT_EQ(s.NextServer(), "c");
    EXPECT_EQ(s.NextServer(), "");
}

TEST(ServerNames, SortedWithoutCaseDuplicatesAndDefaults)
{
    TServerNames s;
    s.SetServerList("Gamma;alpha;BETA;beta;");
    EXPECT_EQ(s.GetServerList(), "alpha;BETA;Gamma;");
    EXPECT_EQ(s.CurrentServer(), "alpha"); // none preferred: the first one
    EXPECT_EQ(s.GetServerList(), "alpha*;BETA;Gamma;");

    TServerNames one;
    one.SetServerList("only*;");
    EXPECT_EQ(one.CurrentServer(), "only");
    EXPECT_EQ(one.NextServer(), ""); // a single server has no other to try

    TServerNames empty;
    empty.SetServerList("");
    EXPECT_EQ(empty.CurrentServer(), "");
    EXPECT_EQ(empty.NextServer(), "");
    empty.SetServerList(";;x;;");
    EXPECT_EQ(empty.GetServerList(), "x;");
}
