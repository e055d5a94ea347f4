#include "data/datasetutils.h"
#include "data/tablefile.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace riz;

namespace {

// Writes a table file with the given fields and one row per entry of names.
void WriteTable(const std::string& path, TFieldDefs defs, const std::vector<std::string>& names)
{
    TClientDataSet ds("T");
    ds.FieldDefs = std::move(defs);
    ds.CreateDataSet();
    for (const std::string& n : names) {
        ds.Append();
        ds.FieldByName("NAME").SetAsString(n);
        ds.Post();
    }
    ds.SaveToFile(path);
}

std::vector<std::string> Names(TClientDataSet& ds)
{
    std::vector<std::string> out;
    for (ds.First(); !ds.Eof(); ds.Next())
        out.push_back(ds.FieldByName("NAME").AsString());
    return out;
}

TFieldDefs HistoryNow()
{
    return {IntField("CUSTOMER_ID"), StrField("NAME", 50), MemoField("TREE")};
}
TFieldDefs HistoryOld()
{
    return {StrField("name", 50), IntField("GONE")};
}

TEST(DatasetUtils, DeleteAllRowsLeavesFilteredOutRows)
{
    TClientDataSet ds("T");
    ds.FieldDefs = {IntField("C"), StrField("NAME")};
    ds.CreateDataSet();
    for (int i = 0; i < 6; ++i) {
        ds.Append();
        ds.FieldByName("C").SetAsInteger(i % 3);
        ds.FieldByName("NAME").SetAsString(std::to_string(i));
        ds.Post();
    }
    ds.SetFilter(FieldEquals("C", 1));
    DeleteAllRows(ds);
    EXPECT_EQ(ds.RecordCount(), 0);
    ds.ClearFilter();
    EXPECT_EQ(Names(ds), (std::vector<std::string>{"0", "2", "3", "5"}));
}

TEST(DatasetUtils, NameInListIgnoresCase)
{
    const std::vector<std::string> list = {"Anna", "BERND", "\xc4rger"};
    EXPECT_TRUE(NameInList(list, "anna"));
    EXPECT_TRUE(NameInList(list, "Bernd"));
    EXPECT_TRUE(NameInList(list, "\xe4rger")); // Windows-1252 umlauts
    EXPECT_FALSE(NameInList(list, "Ann"));
    EXPECT_FALSE(NameInList({}, ""));
}

TEST(DatasetUtils, CopyRowsByFieldName)
{
    TClientDataSet source("S");
    source.FieldDefs = {StrField("name", 50), IntField("GONE"), StrField("NUMBER", 10),
                        NestedField("SUB", {StrField("V", 5), IntField("X")})};
    source.CreateDataSet();
    for (const char* n : {"a", "b"}) {
        source.Append();
        source.FieldByName("name").SetAsString(n);
        source.FieldByName("GONE").SetAsInteger(1);
        source.FieldByName("NUMBER").SetAsString("12");
        source.Post();
        TClientDataSet& sub = source.FieldByName("SUB").NestedDataSet();
        sub.Append();
        sub.FieldByName("V").SetAsString(std::string(n) + "1");
        sub.Post();
    }
    source.SetFilter(FieldEquals("GONE", 99)); // the copy takes every row regardless

    TClientDataSet target("T");
    target.FieldDefs = {IntField("NEW"), StrField("NAME", 50), IntField("NUMBER"),
                        NestedField("SUB", {StrField("V", 5)})};
    target.CreateDataSet();
    target.Append();
    target.FieldByName("NAME").SetAsString("old row");
    target.Post();
    target.SetFilter(FieldEquals("NEW", 5)); // hidden rows go as well

    CopyRowsByFieldName(source, target);
    target.ClearFilter();
    EXPECT_EQ(Names(target), (std::vector<std::string>{"a", "b"}));
    target.First();
    EXPECT_TRUE(target.FieldByName("NEW").IsNull());
    EXPECT_EQ(target.FieldByName("NUMBER").AsInteger(), 12); // converted to the target's type
    EXPECT_EQ(target.FindField("GONE"), -1);
    TClientDataSet& sub = target.FieldByName("SUB").NestedDataSet();
    ASSERT_EQ(sub.RecordCount(), 1);
    sub.First();
    EXPECT_EQ(sub.FieldByName("V").AsString(), "a1");

    // No common field: the target is not touched.
    TClientDataSet unrelated("U");
    unrelated.FieldDefs = {IntField("OTHER")};
    unrelated.CreateDataSet();
    CopyRowsByFieldName(unrelated, target);
    EXPECT_EQ(target.RecordCount(), 2);

    // A value the target cannot take: the error comes through, earlier rows stay.
    source.ClearFilter();
    source.Last();
    source.Edit();
    source.FieldByName("NUMBER").SetAsString("zwölf");
    source.Post();
    EXPECT_THROW(CopyRowsByFieldName(source, target), EConvertError);
    EXPECT_EQ(Names(target), (std::vector<std::string>{"a"}));
    EXPECT_EQ(target.State(), TDataSetState::Browse);
}

class UpgradeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = test::TempDir("riz-up");
        table.FieldDefs = HistoryNow();
        table.CreateDataSet();
    }
    std::string Path(const std::string& name) const { return dir + "/" + name; }

    std::string dir;
    TClientDataSet table{"H"};
};

TEST_F(UpgradeTest, GreatestOlderFileWins)
{
    WriteTable(Path("sms_history.0.90.cds"), HistoryOld(), {"from 0.90"});
    WriteTable(Path("sms_history.0.94.cds"), HistoryOld(), {"from 0.94", "second"});
    WriteTable(Path("sms_queue.0.99.cds"), HistoryOld(), {"other table"});
    ASSERT_TRUE(UpgradeTableFile(Path("sms_history.0.96.cds"), table));
    EXPECT_EQ(Names(table), (std::vector<std::string>{"from 0.94", "second"}));
    table.First();
    EXPECT_TRUE(table.FieldByName("CUSTOMER_ID").IsNull());              // the old file lacked it
    EXPECT_TRUE(std::filesystem::exists(Path("sms_history.0.94.cds")));  // old file stays
    EXPECT_FALSE(std::filesystem::exists(Path("sms_history.0.96.cds"))); // the caller writes
}

TEST_F(UpgradeTest, OwnFileWithContentIsNeverUpgraded)
{
    WriteTable(Path("sms_history.0.90.cds"), HistoryOld(), {"old"});
    std::ofstream(Path("sms_history.0.94.cds")) << "x";
    EXPECT_FALSE(UpgradeTableFile(Path("sms_history.0.94.cds"), table));
    EXPECT_TRUE(table.IsEmpty());
}

TEST_F(UpgradeTest, UnreadableCandidatesAreSkipped)
{
    WriteTable(Path("sms_history.0.90.cds"), HistoryOld(), {"readable"});
    // Greater names that are no table files: the own 0-byte file, a broken file, a folder.
    std::ofstream(Path("sms_history.0.94.cds")).close();
    std::ofstream(Path("sms_history.0.93.cds")) << "broken";
    std::filesystem::create_directory(Path("sms_history.0.99.cds"));
    const std::string brokenBefore = "broken";
    ASSERT_TRUE(UpgradeTableFile(Path("sms_history.0.94.cds"), table));
    EXPECT_EQ(Names(table), (std::vector<std::string>{"readable"}));
    std::ifstream in(Path("sms_history.0.93.cds"));
    std::string after((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(after, brokenBefore);
}

TEST_F(UpgradeTest, NothingToUpgrade)
{
    // No dot in the name; no candidate at all; only unreadable candidates.
    EXPECT_FALSE(UpgradeTableFile(Path("history"), table));
    EXPECT_FALSE(UpgradeTableFile(Path("sms_history.0.94.cds"), table));
    std::ofstream(Path("sms_history.0.80.cds")) << "junk";
    EXPECT_FALSE(UpgradeTableFile(Path("sms_history.0.94.cds"), table));
    EXPECT_TRUE(table.IsEmpty());
}

} // namespace
