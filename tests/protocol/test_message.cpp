#include "protocol/cserror.h"
#include "protocol/csdatastring.h"
#include "protocol/cstable.h"

#include "platform/calendar.h"

#include <gtest/gtest.h>

using namespace riz;

namespace {

// The code of the ECSError that f raises, or 0.
template <typename F> int ErrorCode(F&& f)
{
    try {
        f();
    } catch (const ECSError& e) {
        return e.Code;
    }
    return 0;
}

TCSDataString DecodeMessage(const std::string& text)
{
    TCSDataString m;
    m.Decode(text);
    return m;
}

} // namespace

TEST(TaggedMessage, TableExampleEncodesExactly)
{
    TCSTable t;
    t.SetColumnCount(2);
    t.ColumnName(0) = "id";
    t.ColumnName(1) = "name";
    t.AddRow();
    t.CurrentCell(0).SetInt(7);
    t.CurrentCell(1).SetString("Gru\xDF<1>");
    EXPECT_EQ(t.Encode(), "<TBL ROWS=\"1\" COLS=\"2\">id\\;name\\;7\\;Gru\xDF\\<1\\>\\;</TBL>");

    TCSDataString m;
    m.AddParam(TCSParam("categories", t));
    const std::string text = m.Encode();
    EXPECT_EQ(text, "<ZK TYPE=\"\" NAME=\"\" VER=\"\" PROGVER=\"\">"
                    "categories=\\<TBL ROWS=\"1\" COLS=\"2\"\\>id\\\\;name\\\\;7\\\\;Gru\xDF"
                    "\\\\\\<1\\\\\\>\\\\;\\</TBL\\>\\p</ZK>");

    // Read back through the reading pattern of the tasks.
    TCSDataString back = DecodeMessage(text);
    TCSTable r = back.GetParam("categories").AsTable();
    r.First();
    ASSERT_EQ(r.RowCount(), 1);
    EXPECT_EQ(r.CurrentCell("ID").AsInt(), 7);
    EXPECT_EQ(r.CurrentCell("name").AsString(), "Gru\xDF<1>");
}

TEST(TaggedMessage, RequestExampleEncodesExactly)
{
    TCSDataString m;
    m.Type = "RQST";
    m.Name = "GET_SMS_CREDITS";
    m.Ver = "1.00";
    m.ProgVer = "0.97.01";
    m.AddParam(TCSParam("email_address", "kunde@example.de"));
    m.AddParam(TCSParam("password", "geheim"));
    m.AddParam(TCSParam("my_version", "0.97.01"));
    EXPECT_EQ(m.Encode(), "<ZK TYPE=\"RQST\" NAME=\"GET_SMS_CREDITS\" VER=\"1.00\" "
                          "PROGVER=\"0.97.01\">email_address=kunde@example.de\\p"
                          "password=geheim\\pmy_version=0.97.01\\p</ZK>");
}

TEST(TaggedMessage, ShortestMessageAndTagFaults)
{
    TCSDataString m = DecodeMessage("<ZK></ZK>");
    EXPECT_EQ(m.Type, "");
    EXPECT_TRUE(m.Params.empty());

    struct Case
    {
        const char* text;
        int code;
    } cases[] = {
        {"<ZK>", 4001},
        {"<ZX></ZK>", 4002},
        {"<ZK></ZK>\n", 4003},
        {"<ZKabc</ZK>", 4004},
        {"<ZK =\"1\"></ZK>", 4005},
        {"<ZK A-B=\"1\"></ZK>", 4005},
        {"<ZK A=x></ZK>", 4005},
        {"<ZK A=1x></ZK>", 4005},
        {"<ZK>novalue\\p</ZK>", 1001},
        {"<ZK>=x\\p</ZK>", 1002},
        {"<ZK>a=1\\pa=2\\p</ZK>", 2001},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorCode([&] { DecodeMessage(c.text); }), c.code) << c.text;

    TCSDataString empty;
    empty.Tag.clear();
    EXPECT_EQ(ErrorCode([&] { empty.Encode(); }), 4007);
}

TEST(TaggedMessage, AttributesQuotedBareAndUnclosed)
{
    TCSDataString m = DecodeMessage("<ZK NAME=\"a\\\"b\" ROWS=10 VER=\"x\">rslt=0\\p</ZK>");
    EXPECT_EQ(m.Name, "a\"b");
    EXPECT_EQ(m.GetAttribute("ROWS"), "10");
    EXPECT_EQ(m.Ver, "x");
    // A bare value as the last thing before ">" is never closed and is left out.
    TCSDataString n = DecodeMessage("<ZK ROWS=10></ZK>");
    EXPECT_EQ(n.GetAttribute("ROWS"), "");
    TCSDataString o = DecodeMessage("<ZK NAME=\"open></ZK>");
    EXPECT_EQ(o.Name, "");
}

TEST(TaggedMessage, ParametersAndLookup)
{
    TCSDataString m = DecodeMessage("<ZK>rslt=0\\pcredits=25</ZK>");
    ASSERT_EQ(m.Params.size(), 1u); // the last parameter lacks its "\p"
    EXPECT_EQ(m.GetParam("RSLT").AsInt(), 0);
    EXPECT_FALSE(m.HasParam("credits"));
    try {
        m.GetParam("credits");
        FAIL();
    } catch (const ECSError& e) {
        EXPECT_EQ(e.Code, 2002);
        EXPECT_EQ(e.DetailString, "credits");
        EXPECT_EQ(std::string(e.what()), "\nClient/Server exception\n- Code: 2002\n- Description: "
                                         "\n- Detail Number: 0\n- Detail String: credits");
    }
    // The duplicate check is exact, the lookup is not.
    m.AddParam(TCSParam("RSLT", 5));
    EXPECT_EQ(m.Params.size(), 2u);
    EXPECT_EQ(ErrorCode([&] { m.AddParam(TCSParam("rslt", 1)); }), 2001);
    // "=" inside a value stays in the value.
    TCSDataString v = DecodeMessage("<ZK>url=a=b\\p</ZK>");
    EXPECT_EQ(v.GetParam("url").AsString(), "a=b");
}

TEST(TaggedMessage, ValueCodingsRoundTrip)
{
    TCSParam p;
    p.SetString("a\\b<c>");
    EXPECT_EQ(p.Value, "a\\\\b\\<c\\>");
    EXPECT_EQ(p.AsString(), "a\\b<c>");

    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes += static_cast<char>(i);
    p.SetStream(bytes);
    EXPECT_EQ(p.Value.find('\0'), std::string::npos);
    EXPECT_EQ(p.AsStream(), bytes);

    p.SetInt(-2147483647 - 1);
    EXPECT_EQ(p.Value, "-2147483648");
    EXPECT_EQ(p.AsInt(), -2147483647 - 1);

    p.SetFloat(0.1);
    EXPECT_EQ(p.Value, "0.10000000000000001");
    EXPECT_DOUBLE_EQ(p.AsFloat(), 0.1);

    const double dt = calendar::DateValue(2001, 5, 17) + (14 * 3600 + 3 * 60 + 9) / 86400.0;
    p.SetDateTime(dt);
    EXPECT_EQ(p.Value, "2001-05-17 14:03:09");
    EXPECT_NEAR(p.AsDateTime(), dt, 1e-9);
}

TEST(TaggedMessage, GetterEdgeCases)
{
    struct IntCase
    {
        const char* value;
        int expected;
    } ints[] = {{"12abc", 12}, {"abc", 0}, {"  -7", -7}, {"+3", 3}, {"", 0}, {"99999999999", 2147483647}};
    for (const IntCase& c : ints) {
        TCSParam p;
        p.Value = c.value;
        EXPECT_EQ(p.AsInt(), c.expected) << c.value;
    }
    TCSParam d;
    d.Value = "2001-05-17";
    EXPECT_DOUBLE_EQ(d.AsDateTime(), calendar::DateValue(2001, 5, 17));
    d.Value = "2001-5-17";
    EXPECT_EQ(d.AsDateTime(), 0.0);
    d.Value = "2001-02-30";
    EXPECT_THROW(d.AsDateTime(), EConvertError);
    d.Value = "20x1-02-03";
    EXPECT_THROW(d.AsDateTime(), EConvertError);

    TCSParam f;
    f.Value = "3.5e2xyz";
    EXPECT_DOUBLE_EQ(f.AsFloat(), 350.0);
    f.Value = "x";
    EXPECT_EQ(f.AsFloat(), 0.0);

    for (const char* bad : {"a\\pb", "a<b", "a>b", "\\q"}) {
        TCSParam t;
        t.Value = bad;
        EXPECT_EQ(ErrorCode([&] { t.AsString(); }), 1003) << bad;
    }
    TCSParam end;
    end.Value = "ab\\";
    EXPECT_EQ(end.AsString(), "ab");
    end.Value = "\\0";
    EXPECT_EQ(ErrorCode([&] { end.AsString(); }), 1003);
    EXPECT_EQ(end.AsStream(), std::string(1, '\0'));
}

TEST(TaggedTable, DecodeFaults)
{
    auto decode = [](const std::string& text) {
        TCSTable t;
        t.Decode(text);
        return t;
    };
    EXPECT_EQ(ErrorCode([&] { decode("<TBL ROWS=\"2\" COLS=\"1\">a\\;x\\;</TBL>"); }), 3002);
    EXPECT_EQ(ErrorCode([&] { decode("<TBL ROWS=\"1\" COLS=\"1\">a\\;x\\;y\\;</TBL>"); }), 3003);
    EXPECT_EQ(ErrorCode([&] { decode("<TBL ROWS=\"0\" COLS=\"0\"></TBL>"); }), 3002);
    EXPECT_EQ(ErrorCode([&] { decode("<TBL ROWS=\"0\" COLS=\"1\">a\\;\\</TBL>"); }), 3002);
    EXPECT_EQ(ErrorCode([&] { decode("<TBL ROWS=\"-1\" COLS=\"1\">a\\;</TBL>"); }), 3002);
    // A forged size must not allocate: it cannot be filled by so short a content.
    EXPECT_EQ(ErrorCode([&] { decode("<TBL ROWS=\"2000000000\" COLS=\"2000000000\">a\\;</TBL>"); }),
              3002);
    EXPECT_EQ(ErrorCode([&] { decode("<TBL ROWS=\"0\" COLS=\"2000000000\">a\\;</TBL>"); }), 3002);

    TCSTable header = decode("<TBL ROWS=\"0\" COLS=\"2\">a\\;b\\;</TBL>");
    EXPECT_EQ(header.RowCount(), 0);
    EXPECT_EQ(header.ColumnName(1), "b");
    EXPECT_EQ(ErrorCode([&] { header.CurrentCell("a"); }), 3004);
    EXPECT_EQ(ErrorCode([&] { header.ColumnName(2); }), 3003);
    EXPECT_EQ(ErrorCode([&] { header.Cell(0, 0); }), 3003);

    TCSTable two = decode("<TBL ROWS=\"2\" COLS=\"1\">a\\;x\\;y\\;</TBL>");
    EXPECT_EQ(two.CurrentRow(), 1); // after decoding the current row is the last one
    two.First();
    EXPECT_EQ(two.CurrentCell("A").AsString(), "x");
    two.Next();
    two.Next(); // stays on the last row
    EXPECT_EQ(two.CurrentCell("a").AsString(), "y");
    try {
        two.CurrentCell("nope");
        FAIL();
    } catch (const ECSError& e) {
        EXPECT_EQ(e.Code, 3004);
        EXPECT_EQ(e.DetailString, "nope");
    }
}

TEST(TaggedTable, NestedTableFaultKeepsCodeWithoutDetail)
{
    TCSParam p;
    p.SetString("<TBL ROWS=\"2\" COLS=\"1\">a\\;x\\;</TBL>");
    try {
        p.AsTable();
        FAIL();
    } catch (const ECSError& e) {
        EXPECT_EQ(e.Code, 3002);
        EXPECT_EQ(e.DetailString, "");
    }
}

TEST(TaggedTable, LargeTableRoundTripWithAwkwardTexts)
{
    TCSTable t;
    t.SetColumnCount(3);
    t.ColumnName(0) = "QUEUE_ID";
    t.ColumnName(1) = "TEXT";
    t.ColumnName(2) = "DATA";
    for (int i = 0; i < 500; ++i) {
        t.AddRow();
        t.CurrentCell(0).SetInt(i);
        t.CurrentCell(1).SetString("\\;\\p<>" + std::to_string(i) + "\xE4\xF6\xFC");
        t.CurrentCell(2).SetStream(std::string("\0\\;\xFF", 4));
    }
    TCSDataString m;
    m.AddParam(TCSParam("history", t));
    m.AddParam(TCSParam("rslt", 0));
    TCSDataString back = DecodeMessage(m.Encode());
    TCSTable r = back.GetParam("history").AsTable();
    ASSERT_EQ(r.RowCount(), 500);
    r.First();
    for (int i = 0; i < 500; ++i) {
        EXPECT_EQ(r.CurrentCell("queue_id").AsInt(), i);
        EXPECT_EQ(r.CurrentCell("text").AsString(), "\\;\\p<>" + std::to_string(i) + "\xE4\xF6\xFC");
        EXPECT_EQ(r.CurrentCell("data").AsStream(), std::string("\0\\;\xFF", 4));
        r.Next();
    }
}
