#include "data/clientdataset.h"
#include "data/tablefile.h"
#include "tests/support/testpaths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace riz;

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

TFieldDefs AllTypes()
{
    return {IntField("I"),       StrField("S", 30),
            MemoField("M"),      BlobField("B"),
            GraphicField("G"),   DateField("D"),
            DateTimeField("DT"), FloatField("F"),
            BoolField("BO"),     NestedField("SUB", {IntField("K"), StrField("V", 10)}, "K")};
}

TEST(TableFile, RoundTripKeepsTypesNullsBytesAndNestedRows)
{
    const std::string path = test::TempDir("riz-tf") + "/all.0.1.cds";
    TClientDataSet ds("ALL");
    ds.FieldDefs = AllTypes();
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName("I").SetAsInteger(-2147483647 - 1);
    ds.FieldByName("S").SetAsString("Gr\xfc\xdf"
                                    "e \x80"); // Windows-1252 bytes
    ds.FieldByName("M").SetAsString("");       // empty, not null
    ds.FieldByName("B").SetAsString(std::string("\0\x01\x02\xff", 4));
    ds.FieldByName("D").SetAsDateTime(EncodeDate(9999, 5, 17));
    ds.FieldByName("DT").SetAsDateTime(37249.75);
    ds.FieldByName("F").SetAsFloat(0.1);
    ds.FieldByName("BO").SetAsBoolean(false);
    ds.Post();
    for (int k : {2, 1}) {
        TClientDataSet& sub = ds.FieldByName("SUB").NestedDataSet();
        sub.Append();
        sub.FieldByName("K").SetAsInteger(k);
        sub.FieldByName("V").SetAsString("v" + std::to_string(k));
        sub.Post();
    }
    ds.Append();
    ds.Post(); // a row of nulls
    ds.SaveToFile(path);

    TClientDataSet back("ALL");
    back.FieldDefs = AllTypes();
    back.LoadFromFile(path);
    ASSERT_EQ(back.RecordCount(), 2);
    ASSERT_EQ(back.FieldCount(), 10);
    for (int i = 0; i < back.FieldCount(); ++i) {
        EXPECT_EQ(back.Defs()[i].Name, ds.Defs()[i].Name);
        EXPECT_EQ(back.Defs()[i].DataType, ds.Defs()[i].DataType);
        EXPECT_EQ(back.Defs()[i].Size, ds.Defs()[i].Size);
    }
    back.First();
    ds.First();
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(back.Fields(i).Value(), ds.Fields(i).Value()) << back.Defs()[i].Name;
    EXPECT_FALSE(back.FieldByName("M").IsNull());
    EXPECT_TRUE(back.FieldByName("G").IsNull());
    TClientDataSet& sub = back.FieldByName("SUB").NestedDataSet();
    ASSERT_EQ(sub.RecordCount(), 2);
    sub.First();
    EXPECT_EQ(sub.FieldByName("V").AsString(), "v1"); // kept order by K
    back.Next();
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(back.Fields(i).IsNull());
    EXPECT_EQ(back.FieldByName("SUB").NestedDataSet().RecordCount(), 0);
    EXPECT_FALSE(back.HasChanges());
}

// Writes after each kind of change and compares the file's content with the table's.
TEST(TableFile, ChangeWritesReachTheFile)
{
    const std::string path = test::TempDir("riz-tf") + "/t.0.1.cds";
    TClientDataSet ds("T");
    ds.FieldDefs = {IntField("ID"), StrField("NAME", 20), NestedField("SUB", {StrField("V", 10)})};
    ds.CreateDataSet();
    for (int i = 1; i <= 5; ++i) {
        ds.Append();
        ds.FieldByName("ID").SetAsInteger(i);
        ds.Post();
    }
    ds.SaveToFile(path);

    auto fileRows = [&path]() {
        TClientDataSet f("F");
        f.LoadFromFile(path);
        std::string s;
        for (f.First(); !f.Eof(); f.Next()) {
            s += f.FieldByName("ID").AsString() + f.FieldByName("NAME").AsString();
            TClientDataSet& sub = f.FieldByName("SUB").NestedDataSet();
            for (sub.First(); !sub.Eof(); sub.Next())
                s += "/" + sub.FieldByName("V").AsString();
            s += " ";
        }
        return s;
    };
    const std::vector<std::pair<std::string, std::function<void()>>> changes = {
        {"1 2 3 4 5 6 ",
         [&] {
             ds.Append();
             ds.FieldByName("ID").SetAsInteger(6);
             ds.Post();
         }},
        {"1 2x 3 4 5 6 ",
         [&] {
             ds.SetRecNo(2);
             ds.Edit();
             ds.FieldByName("NAME").SetAsString("x");
             ds.Post();
         }},
        {"1 2x 4 5 6 ",
         [&] {
             ds.SetRecNo(3);
             ds.Delete();
         }},
        {"1 2x/a/b 4 5 6 ",
         [&] {
             ds.SetRecNo(2);
             for (const char* v : {"a", "b"}) {
                 TClientDataSet& sub = ds.FieldByName("SUB").NestedDataSet();
                 sub.Append();
                 sub.FieldByName("V").SetAsString(v);
                 sub.Post();
             }
         }},
        {"1 2x/b 4 5 6 ",
         [&] {
             ds.SetRecNo(2);
             TClientDataSet& sub = ds.FieldByName("SUB").NestedDataSet();
             sub.First();
             sub.Delete();
         }},
        {"1 4 5 6 7/c ",
         [&] {
             ds.SetRecNo(2);
             ds.Delete();
             ds.Append();
             ds.FieldByName("ID").SetAsInteger(7);
             ds.Post();
             TClientDataSet& sub = ds.FieldByName("SUB").NestedDataSet();
             sub.Append();
             sub.FieldByName("V").SetAsString("c");
             sub.Post();
         }},
        {"1 4 5 6 7/c ",
         [&] {
             ds.Append();
             ds.Post();
             ds.Delete();
         }}, // inserted and gone
        {"1 4 6 7/c ",
         [&] {
             ds.SetFilter(FieldEquals("ID", 5));
             ds.DeleteVisibleRows();
             ds.ClearFilter();
         }},
        {"", [&] { ds.EmptyDataSet(); }},
    };
    for (const auto& [expected, change] : changes) {
        change();
        ds.SaveToFile(path);
        EXPECT_FALSE(ds.HasChanges());
        EXPECT_EQ(fileRows(), expected);
    }
}

TEST(TableFile, CancelUpdatesReturnsToTheLastWrite)
{
    const std::string path = test::TempDir("riz-tf") + "/t.0.1.cds";
    TClientDataSet ds("T");
    ds.FieldDefs = {IntField("ID")};
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName("ID").SetAsInteger(1);
    ds.Post();
    ds.SaveToFile(path);
    ds.Append();
    ds.FieldByName("ID").SetAsInteger(2);
    ds.Post();
    ds.First();
    ds.Edit();
    ds.FieldByName("ID").SetAsInteger(10);
    ds.Post();
    EXPECT_EQ(ds.ChangeCount(), 2u);
    ds.CancelUpdates();
    ASSERT_EQ(ds.RecordCount(), 1);
    ds.First();
    EXPECT_EQ(ds.FieldByName("ID").AsInteger(), 1);
    ds.SaveToFile(path); // nothing to write; the file stays valid
    TClientDataSet f("F");
    f.LoadFromFile(path);
    EXPECT_EQ(f.RecordCount(), 1);
}

// Files that are no table files: each load fails with 19020, the table keeps what it had, and
// it then refuses to write over that file (19022), which stays byte for byte as it was.
TEST(TableFile, UnreadableFileIsReportedAndNeverOverwritten)
{
    const std::string dir = test::TempDir("riz-tf");
    // A real table file cut in half.
    TClientDataSet big("BIG");
    big.FieldDefs = {IntField("ID"), MemoField("TEXT")};
    big.CreateDataSet();
    for (int i = 0; i < 2000; ++i) {
        big.Append();
        big.FieldByName("ID").SetAsInteger(i);
        big.FieldByName("TEXT").SetAsString(std::string(100, 'x'));
        big.Post();
    }
    big.SaveToFile(dir + "/whole.cds");
    const std::string whole = ReadBytes(dir + "/whole.cds");
    std::string foreignDb;
    {
        // An SQLite file of someone else's layout.
        TClientDataSet other("O");
        other.FieldDefs = {IntField("X")};
        other.CreateDataSet();
        other.SaveToFile(dir + "/other.cds");
    }

    const std::vector<std::pair<std::string, std::string>> files = {
        {"garbage.cds", "this is not a table file at all\n"},
        {"truncated.cds", whole.substr(0, whole.size() / 2)},
        {"header-only.cds", whole.substr(0, 100)},
    };
    for (const auto& [name, bytes] : files) {
        const std::string path = dir + "/" + name;
        WriteBytes(path, bytes);
        TClientDataSet ds("T");
        ds.FieldDefs = {IntField("ID")};
        ds.CreateDataSet();
        ds.Append();
        ds.FieldByName("ID").SetAsInteger(5);
        ds.Post();
        try {
            ds.LoadFromFile(path);
            ADD_FAILURE() << name << " was read";
        } catch (const ETableFileError& e) {
            EXPECT_EQ(e.Code, 19020) << name;
            EXPECT_EQ(e.Path(), path);
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
        }
        EXPECT_EQ(ds.RecordCount(), 1) << name; // the table kept its rows
        try {
            ds.SaveToFile(path);
            ADD_FAILURE() << name << " was overwritten";
        } catch (const ETableFileError& e) {
            EXPECT_EQ(e.Code, 19022);
        }
        EXPECT_EQ(ReadBytes(path), bytes) << name;
        ds.SaveToFile(dir + "/elsewhere.cds"); // other files are fine
    }
    // A directory where the file should be.
    std::filesystem::create_directory(dir + "/folder.cds");
    TClientDataSet ds("T");
    EXPECT_THROW(ds.LoadFromFile(dir + "/folder.cds"), ETableFileError);
    EXPECT_THROW(ds.LoadFromFile(dir + "/missing.cds"), ETableFileError);
}

// The child rewrites the table again and again: generation g sets every row's G to g and adds
// one row, so a consistent file has n0 + g rows that all carry g. Every third generation is a
// whole-file write, the others are change writes. The parent kills the child at different
// moments and each time finds a readable file with the old or the new generation.
TEST(TableFile, KilledWriterLeavesOldOrNewRows)
{
    const std::string dir = test::TempDir("riz-kill");
    const std::string path = dir + "/kill.0.1.cds";
    constexpr int kInitialRows = 3000;
    {
        TClientDataSet ds("K");
        ds.FieldDefs = {IntField("G"), MemoField("PAD")};
        ds.CreateDataSet();
        for (int i = 0; i < kInitialRows; ++i) {
            ds.Append();
            ds.FieldByName("G").SetAsInteger(0);
            ds.FieldByName("PAD").SetAsString(std::string(200, static_cast<char>('a' + i % 26)));
            ds.Post();
        }
        ds.SaveToFile(path);
    }

    int lastSeen = 0;
    for (int round = 0; round < 8; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(fds[0]);
            try {
                TClientDataSet ds("K");
                ds.LoadFromFile(path);
                int g = 0;
                for (ds.First(); !ds.Eof(); ds.Next())
                    g = ds.FieldByName("G").AsInteger();
                for (;;) {
                    ++g;
                    for (ds.First(); !ds.Eof(); ds.Next()) {
                        ds.Edit();
                        ds.FieldByName("G").SetAsInteger(g);
                        ds.Post();
                    }
                    ds.Append();
                    ds.FieldByName("G").SetAsInteger(g);
                    ds.Post();
                    if (g % 3 == 0)
                        ds.ForgetFile();
                    ds.SaveToFile(path);
                    const char one = 1;
                    if (write(fds[1], &one, 1) != 1)
                        _exit(3);
                }
            } catch (...) {
                _exit(2);
            }
        }
        close(fds[1]);
        // Let the child finish a few writes, then kill it a little later each round.
        char c;
        for (int i = 0; i < 2; ++i)
            ASSERT_EQ(read(fds[0], &c, 1), 1) << "child ended early";
        std::this_thread::sleep_for(std::chrono::microseconds(700 * round + 150));
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        close(fds[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "child ended by itself, status " << status;

        TClientDataSet back("K");
        ASSERT_NO_THROW(back.LoadFromFile(path)) << "round " << round;
        ASSERT_GT(back.RecordCount(), 0);
        back.First();
        const int g = back.FieldByName("G").AsInteger();
        EXPECT_GE(g, lastSeen + 2) << "the writes the child reported must be in the file";
        EXPECT_EQ(back.RecordCount(), kInitialRows + g) << "round " << round;
        int mixed = 0;
        for (; !back.Eof(); back.Next())
            mixed += back.FieldByName("G").AsInteger() != g;
        EXPECT_EQ(mixed, 0) << "round " << round;
        lastSeen = g;
    }
    // No temporary file is left where the upgrade could take it for an older table.
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(name == "kill.0.1.cds" || name.rfind(".~", 0) == 0) << name;
    }
}

TEST(TableFile, WrittenFilesAreOwnerOnly)
{
    const std::string path = test::TempDir("riz-tf") + "/t.0.1.cds";
    TClientDataSet ds("T");
    ds.FieldDefs = {IntField("ID")};
    ds.CreateDataSet();
    ds.SaveToFile(path);
    struct stat st
    {
    };
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

} // namespace
