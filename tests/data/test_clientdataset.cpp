#include "data/clientdataset.h"
#include "data/valueconv.h"

#include "platform/calendar.h"

#include <gtest/gtest.h>

using namespace riz;

namespace {

TFieldDefs PeopleFields()
{
    return {IntField("ID"),        StrField("NAME", 10), MemoField("NOTE"), FloatField("SCORE"),
            DateTimeField("WHEN"), BoolField("FLAG"),    BlobField("DATA")};
}

void AddPerson(TClientDataSet& ds, int id, const std::string& name)
{
    ds.Append();
    ds.FieldByName("ID").SetAsInteger(id);
    ds.FieldByName("NAME").SetAsString(name);
    ds.Post();
}

std::vector<std::string> VisibleNames(TClientDataSet& ds)
{
    std::vector<std::string> names;
    for (ds.First(); !ds.Eof(); ds.Next())
        names.push_back(ds.FieldByName("NAME").AsString());
    return names;
}

TEST(ClientDataSet, TypedFieldsNullsAndConversions)
{
    TClientDataSet ds("T");
    ds.FieldDefs = PeopleFields();
    ds.CreateDataSet();
    ds.Append();
    EXPECT_TRUE(ds.FieldByName("SCORE").IsNull());
    ds.FieldByName("id").SetAsString(" 42 ");                // names ignore case; text to int
    ds.FieldByName("NAME").SetAsString("Hans-Peter Müller"); // cut at 10 bytes
    ds.FieldByName("NOTE").SetAsString(std::string(5000, 'x'));
    ds.FieldByName("SCORE").SetAsString("2,5");
    ds.FieldByName("WHEN").SetAsString("24.12.2001 18:30:00");
    ds.FieldByName("FLAG").SetAsInteger(7);
    ds.FieldByName("DATA").SetAsString(std::string("\0\x01\xff", 3));
    ds.Post();

    EXPECT_EQ(ds.FieldByName("ID").AsInteger(), 42);
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), "Hans-Peter");
    EXPECT_EQ(ds.FieldByName("NOTE").AsString().size(), 5000u);
    EXPECT_DOUBLE_EQ(ds.FieldByName("SCORE").AsFloat(), 2.5);
    EXPECT_EQ(ds.FieldByName("SCORE").AsString(), "2,5");
    EXPECT_EQ(ds.FieldByName("WHEN").AsString(), "24.12.2001 18:30:00");
    EXPECT_TRUE(ds.FieldByName("FLAG").AsBoolean());
    EXPECT_EQ(ds.FieldByName("DATA").AsString(), std::string("\0\x01\xff", 3));

    ds.Edit();
    EXPECT_THROW(ds.FieldByName("ID").SetAsString("zwölf"), EConvertError);
    ds.FieldByName("SCORE").Clear();
    ds.Post();
    EXPECT_TRUE(ds.FieldByName("SCORE").IsNull());
    EXPECT_EQ(ds.FieldByName("SCORE").AsFloat(), 0.0);
    EXPECT_THROW(ds.FieldByName("NOPE"), EDatabaseError);
    EXPECT_THROW(ds.FieldByName("ID").SetAsInteger(1), EDatabaseError); // not in edit mode
}

TEST(ClientDataSet, EditCancelDeleteAndNavigation)
{
    TClientDataSet ds("T");
    ds.FieldDefs = PeopleFields();
    ds.CreateDataSet();
    for (int i = 1; i <= 4; ++i)
        AddPerson(ds, i, "P" + std::to_string(i));
    EXPECT_EQ(ds.RecNo(), 4); // the posted row is current

    ds.SetRecNo(2);
    ds.Edit();
    ds.FieldByName("NAME").SetAsString("changed");
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), "P2");

    ds.Append();
    ds.FieldByName("NAME").SetAsString("never");
    ds.Cancel();
    EXPECT_EQ(ds.RecordCount(), 4);

    ds.SetRecNo(2);
    ds.Delete(); // the next row becomes current
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), "P3");
    ds.Last();
    ds.Delete(); // at the end the previous one does
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), "P3");
    EXPECT_EQ(VisibleNames(ds), (std::vector<std::string>{"P1", "P3"}));

    EXPECT_TRUE(ds.Locate("name", TValue(std::string("p1")), true));
    EXPECT_EQ(ds.FieldByName("ID").AsInteger(), 1);
    EXPECT_FALSE(ds.Locate("NAME", TValue(std::string("p3")), false));
    EXPECT_EQ(ds.FieldByName("ID").AsInteger(), 1); // unchanged when nothing matches
}

TEST(ClientDataSet, FilterHidesRowsAndFollowsPosts)
{
    TClientDataSet ds("T");
    ds.FieldDefs = PeopleFields();
    ds.CreateDataSet();
    for (int i = 1; i <= 5; ++i)
        AddPerson(ds, i % 2, "P" + std::to_string(i));
    ds.SetFilter(FieldEquals("ID", 1));
    EXPECT_EQ(ds.Filter().Text, "ID = 1");
    EXPECT_EQ(VisibleNames(ds), (std::vector<std::string>{"P1", "P3", "P5"}));
    EXPECT_EQ(ds.TotalRecordCount(), 5);

    AddPerson(ds, 0, "hidden"); // posted, but not shown
    AddPerson(ds, 1, "shown");
    EXPECT_EQ(VisibleNames(ds), (std::vector<std::string>{"P1", "P3", "P5", "shown"}));

    ds.First();
    ds.Edit();
    ds.FieldByName("ID").SetAsInteger(0); // leaves the filter
    ds.Post();
    EXPECT_EQ(VisibleNames(ds), (std::vector<std::string>{"P3", "P5", "shown"}));

    ds.ClearFilter();
    EXPECT_EQ(ds.RecordCount(), 7);
}

TEST(ClientDataSet, KeptOrderByIndexField)
{
    TClientDataSet ds("T");
    ds.FieldDefs = PeopleFields();
    ds.SetIndexFieldName("NAME");
    ds.CreateDataSet();
    for (const char* n : {"Maria", "anton", "Zoe", "berta", "Anton"})
        AddPerson(ds, 0, n);
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), "Anton"); // the posted row stays current
    EXPECT_EQ(VisibleNames(ds),
              (std::vector<std::string>{"Anton", "anton", "berta", "Maria", "Zoe"}));

    ASSERT_TRUE(ds.Locate("NAME", TValue(std::string("Zoe"))));
    ds.Edit();
    ds.FieldByName("NAME").SetAsString("Anna");
    ds.Post();
    EXPECT_EQ(ds.FieldByName("NAME").AsString(), "Anna");
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(VisibleNames(ds),
              (std::vector<std::string>{"Anna", "Anton", "anton", "berta", "Maria"}));
}

TEST(ClientDataSet, HooksAndCalculatedFields)
{
    TClientDataSet ds("T");
    TFieldDef calc = StrField("UPPER", 10);
    calc.InternalCalc = true;
    ds.FieldDefs = {IntField("OWNER"), StrField("NAME", 10), calc};
    ds.CreateDataSet();
    std::vector<std::string> events;
    ds.AfterInsert = [&](TClientDataSet& t) {
        events.push_back("insert");
        t.FieldByName("OWNER").SetAsInteger(7);
    };
    ds.OnCalcFields = [&](TClientDataSet& t) {
        events.push_back("calc");
        std::string s = t.FieldByName("NAME").AsString();
        for (char& c : s)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        t.FieldByName("UPPER").SetAsString(s);
    };
    ds.AfterPost = [&](TClientDataSet& t) {
        events.push_back("post " + t.FieldByName("NAME").AsString());
    };
    ds.BeforeDelete = [&](TClientDataSet& t) {
        events.push_back("delete " + t.FieldByName("NAME").AsString());
    };

    ds.Append();
    ds.FieldByName("NAME").SetAsString("abc");
    ds.Post();
    EXPECT_EQ(ds.FieldByName("OWNER").AsInteger(), 7);
    EXPECT_EQ(ds.FieldByName("UPPER").AsString(), "ABC");
    ds.Edit();
    ds.FieldByName("NAME").SetAsString("xy");
    ds.Post();
    EXPECT_EQ(ds.FieldByName("UPPER").AsString(), "XY");
    ds.Delete();
    ds.Append();
    ds.Post();
    ds.EmptyDataSet(); // emptying is no row deletion: no hook
    EXPECT_EQ(events, (std::vector<std::string>{"insert", "calc", "post abc", "calc", "post xy",
                                                "delete xy", "insert", "calc", "post "}));
    EXPECT_TRUE(ds.IsEmpty());
}

TEST(ClientDataSet, NestedTablesBelongToTheirRow)
{
    TClientDataSet ds("T");
    ds.FieldDefs = {IntField("ID"),
                    NestedField("ITEMS", {IntField("N"), StrField("TEXT", 20)}, "N")};
    ds.CreateDataSet();
    for (int id = 1; id <= 2; ++id) {
        ds.Append();
        ds.FieldByName("ID").SetAsInteger(id);
        EXPECT_THROW(ds.FieldByName("ITEMS").NestedDataSet(), EDatabaseError); // post first
        ds.Post();
        TClientDataSet& items = ds.FieldByName("ITEMS").NestedDataSet();
        for (int n : {3, 1, 2}) {
            items.Append();
            items.FieldByName("N").SetAsInteger(n * id);
            items.Post();
        }
    }
    ds.First();
    TClientDataSet& first = ds.FieldByName("ITEMS").NestedDataSet();
    std::vector<int> ns;
    for (first.First(); !first.Eof(); first.Next())
        ns.push_back(first.FieldByName("N").AsInteger());
    EXPECT_EQ(ns, (std::vector<int>{1, 2, 3}));
    ds.Next();
    EXPECT_EQ(ds.FieldByName("ITEMS").NestedDataSet().RecordCount(), 3);
    EXPECT_NE(&ds.FieldByName("ITEMS").NestedDataSet(), &first);
}

// Each step changes the table; rolling back to a savepoint must give back exactly the rows
// (and nested rows) the table had when the point was taken.
TEST(ClientDataSet, SavePointRollsBackEveryKindOfChange)
{
    TClientDataSet ds("T");
    ds.FieldDefs = {IntField("ID"), StrField("NAME", 20), NestedField("ITEMS", {IntField("N")})};
    ds.CreateDataSet();
    auto snapshot = [&ds]() {
        std::string s;
        for (const auto& row : ds.Rows()) {
            s += std::to_string(std::get<std::int32_t>(row->Values[0])) + ":" +
                 (std::holds_alternative<std::string>(row->Values[1])
                      ? std::get<std::string>(row->Values[1])
                      : "-") +
                 "[";
            for (const auto& item : row->Nested[0]->Rows())
                s += std::to_string(std::get<std::int32_t>(item->Values[0])) + ",";
            s += "] ";
        }
        return s;
    };
    for (int i = 1; i <= 3; ++i) {
        ds.Append();
        ds.FieldByName("ID").SetAsInteger(i);
        ds.FieldByName("NAME").SetAsString("row" + std::to_string(i));
        ds.Post();
        TClientDataSet& items = ds.FieldByName("ITEMS").NestedDataSet();
        items.Append();
        items.FieldByName("N").SetAsInteger(i * 10);
        items.Post();
    }
    ds.SetFilter(FieldEquals("ID", 2));
    const std::string before = snapshot();
    const auto point = ds.SavePoint();

    const std::vector<std::function<void()>> steps = {
        [&] {
            ds.Append();
            ds.FieldByName("ID").SetAsInteger(2);
            ds.Post();
        },
        [&] {
            ds.First();
            ds.Edit();
            ds.FieldByName("NAME").SetAsString("edited");
            ds.Post();
        },
        [&] {
            ds.First();
            ds.Delete();
        },
        [&] {
            ds.First();
            TClientDataSet& items = ds.FieldByName("ITEMS").NestedDataSet();
            items.Append();
            items.FieldByName("N").SetAsInteger(99);
            items.Post();
            items.First();
            items.Delete();
        },
        [&] {
            ds.ClearFilter();
            ds.EmptyDataSet();
        },
    };
    for (std::size_t n = 1; n <= steps.size(); ++n) {
        for (std::size_t i = 0; i < n; ++i)
            steps[i]();
        EXPECT_NE(snapshot(), before) << n;
        ds.RollbackTo(point);
        EXPECT_EQ(snapshot(), before) << "after " << n << " steps";
        ds.SetFilter(FieldEquals("ID", 2));
        EXPECT_EQ(ds.RecordCount(), 1);
    }
    // A point in the middle keeps what came before it.
    steps[0]();
    const auto middle = ds.SavePoint();
    const std::string withFirst = snapshot();
    steps[2]();
    ds.RollbackTo(middle);
    EXPECT_EQ(snapshot(), withFirst);
    ds.CancelUpdates();
    EXPECT_EQ(ds.ChangeCount(), 0u);
    EXPECT_TRUE(ds.Rows().empty()); // nothing was ever written: back to empty
}

} // namespace

namespace {

// Deleting the visible rows at once must give the same table, change record and file as
// deleting them one by one, and a rollback must put every row back at its place.
TEST(ClientDataSet, DeleteVisibleRowsKeepsOrderForUndoAndFile)
{
    for (bool withHook : {false, true}) {
        TClientDataSet ds("T");
        ds.FieldDefs = {IntField("C"), StrField("NAME")};
        ds.CreateDataSet();
        std::vector<std::string> all;
        for (int i = 0; i < 12; ++i) {
            ds.Append();
            ds.FieldByName("C").SetAsInteger(i % 3);
            ds.FieldByName("NAME").SetAsString("r" + std::to_string(i));
            ds.Post();
            all.push_back("r" + std::to_string(i));
        }
        std::vector<std::string> hooked;
        if (withHook)
            ds.BeforeDelete = [&](TClientDataSet& t) {
                hooked.push_back(t.FieldByName("NAME").AsString());
            };
        const auto point = ds.SavePoint();
        ds.SetFilter(FieldEquals("C", 1));
        ds.DeleteVisibleRows();
        EXPECT_TRUE(ds.IsEmpty());
        if (withHook) {
            EXPECT_EQ(hooked, (std::vector<std::string>{"r10", "r7", "r4", "r1"}));
        }
        ds.ClearFilter();
        EXPECT_EQ(VisibleNames(ds),
                  (std::vector<std::string>{"r0", "r2", "r3", "r5", "r6", "r8", "r9", "r11"}));
        ds.RollbackTo(point);
        EXPECT_EQ(VisibleNames(ds), all) << withHook;
    }
}

} // namespace

namespace {

std::vector<std::string> AllRows(const TClientDataSet& ds)
{
    std::vector<std::string> out;
    for (const auto& row : ds.Rows()) {
        std::string s = std::to_string(row->Id) + ":";
        for (const TValue& v : row->Values)
            s += std::to_string(v.index()) + ValueToString(v, TFieldType::Memo) + "|";
        out.push_back(s);
    }
    return out;
}

// Random changes of every kind, each followed now and then by a rollback to a random earlier
// savepoint: the rows must be exactly those the table had at that point, in the same order.
TEST(ClientDataSet, RandomChangesRollBackToAnySavePoint)
{
    for (bool indexed : {false, true}) {
        TClientDataSet ds("T");
        ds.FieldDefs = {IntField("C"), StrField("NAME")};
        if (indexed)
            ds.SetIndexFieldName("NAME");
        ds.CreateDataSet();
        std::uint32_t seed = 12345;
        auto next = [&seed](std::uint32_t n) {
            seed = seed * 1103515245u + 12345u;
            return (seed >> 8) % n;
        };
        std::vector<std::pair<TClientDataSet::TSavePoint, std::vector<std::string>>> points;
        for (int step = 0; step < 400; ++step) {
            switch (next(6)) {
            case 0:
            case 1:
                ds.Append();
                ds.FieldByName("C").SetAsInteger(static_cast<int>(next(3)));
                ds.FieldByName("NAME").SetAsString("n" + std::to_string(next(50)));
                ds.Post();
                break;
            case 2:
                if (!ds.IsEmpty()) {
                    ds.SetRecNo(static_cast<int>(next(ds.RecordCount())) + 1);
                    ds.Edit();
                    ds.FieldByName("NAME").SetAsString("e" + std::to_string(next(50)));
                    ds.Post();
                }
                break;
            case 3:
                if (!ds.IsEmpty()) {
                    ds.SetRecNo(static_cast<int>(next(ds.RecordCount())) + 1);
                    ds.Delete();
                }
                break;
            case 4:
                if (next(4) == 0) {
                    ds.SetFilter(FieldEquals("C", static_cast<int>(next(3))));
                    ds.DeleteVisibleRows();
                    ds.ClearFilter();
                }
                break;
            case 5:
                points.emplace_back(ds.SavePoint(), AllRows(ds));
                break;
            }
            if (!points.empty() && next(10) == 0) {
                const std::size_t k = next(static_cast<std::uint32_t>(points.size()));
                ds.RollbackTo(points[k].first);
                ASSERT_EQ(AllRows(ds), points[k].second)
                    << "step " << step << " indexed " << indexed;
                points.resize(k + 1);
            }
        }
    }
}

} // namespace
