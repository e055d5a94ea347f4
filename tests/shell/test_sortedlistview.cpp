#include "shell/controls/sortedlistview.h"
#include "tests/shell/guiapp.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <gtest/gtest.h>

namespace riz {
namespace {

using DCT = TDateColumnType;

struct CompareCase
{
    const char* name;
    const char* text1;
    const char* text2;
    bool dateColumn;
    DCT type;
    bool descending;
    int expected;
};

class CompareTexts : public ::testing::TestWithParam<CompareCase>
{
};

TEST_P(CompareTexts, GivesTheSign)
{
    const CompareCase& c = GetParam();
    EXPECT_EQ(ListViewCompareTexts(QString::fromUtf8(c.text1), QString::fromUtf8(c.text2),
                                   c.dateColumn, c.type, c.descending),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompareTexts,
    ::testing::Values(
        CompareCase{"EmptyFirst", "", "Anna", false, DCT::dctDate, false, -1},
        CompareCase{"EmptySecond", "Anna", "", false, DCT::dctDate, false, 1},
        CompareCase{"BothEmpty", "", "", false, DCT::dctDate, false, -1},
        CompareCase{"EmptyFirstDescending", "", "Anna", false, DCT::dctDate, true, 1},
        CompareCase{"EmptyInDateColumn", "", "01.01.2000", true, DCT::dctDate, false, -1},
        CompareCase{"TextIgnoresCase", "anna", "Berta", false, DCT::dctDate, false, -1},
        CompareCase{"TextSameButCase", "ANNA", "anna", false, DCT::dctDate, false, 0},
        CompareCase{"UmlautCollatesWithVowel", "Äpfel", "Birne", false, DCT::dctDate, false, -1},
        CompareCase{"TextDescending", "anna", "Berta", false, DCT::dctDate, true, 1},
        // As texts "02.01.2000" < "10.01.1999"; as dates it is the other way round.
        CompareCase{"DateByValue", "02.01.2000", "10.01.1999", true, DCT::dctDate, false, 1},
        CompareCase{"DateOutsideDateColumnIsText", "02.01.2000", "10.01.1999", false, DCT::dctDate,
                    false, -1},
        CompareCase{"DateDescending", "02.01.2000", "10.01.1999", true, DCT::dctDate, true, -1},
        CompareCase{"EqualDates", "01.01.2000", "01.01.2000", true, DCT::dctDate, false, 1},
        CompareCase{"EqualDatesDescending", "01.01.2000", "01.01.2000", true, DCT::dctDate, true,
                    -1},
        CompareCase{"NonDateComparesAsText", "Ostern", "01.04.2000", true, DCT::dctDate, false, 1},
        CompareCase{"NonDateFirstAsText", "02.01.2000", "bald", true, DCT::dctDate, false, -1},
        CompareCase{"InvalidDayIsText", "30.02.2000", "10.01.1999", true, DCT::dctDate, false, 1},
        // Birthdays: only day and month count; 29 February stays valid.
        CompareCase{"BirthdayLeapDayAfter28th", "29.02.1980", "28.02.1990", true,
                    DCT::dctDateWithoutYear, false, 1},
        CompareCase{"BirthdayLeapDayBefore1st", "29.02.1980", "01.03.1950", true,
                    DCT::dctDateWithoutYear, false, -1},
        CompareCase{"BirthdaySameDayOtherYear", "05.05.1970", "05.05.1980", true,
                    DCT::dctDateWithoutYear, false, 1},
        CompareCase{"BirthdaySameDayOtherYearSwapped", "05.05.1980", "05.05.1970", true,
                    DCT::dctDateWithoutYear, false, 1},
        CompareCase{"DateWithYearKeepsYear", "29.02.1980", "01.03.1950", true, DCT::dctDate, false,
                    1},
        // "9:30" sorts after "10:00" as text but before it as a time.
        CompareCase{"DateTimeByValue", "01.01.2000 9:30", "01.01.2000 10:00", true,
                    DCT::dctDateTime, false, -1},
        CompareCase{"DateTimeWithoutTime", "01.01.2000", "01.01.2000 00:01", true, DCT::dctDateTime,
                    false, -1},
        CompareCase{"TimeInPlainDateColumnIsText", "01.01.2000 9:30", "01.01.2000 10:00", true,
                    DCT::dctDate, false, 1}),
    [](const ::testing::TestParamInfo<CompareCase>& info) { return info.param.name; });

class SortedListView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::GuiApp();
        view.setColumnCount(3);
        view.setHeaderLabels(
            {QStringLiteral("Name"), QStringLiteral("Ort"), QStringLiteral("Geburtstag")});
    }

    void AddRow(const QString& name, const QString& city, const QString& birthday)
    {
        new QTreeWidgetItem(&view, QStringList{name, city, birthday});
    }

    QStringList Column(int column) const
    {
        QStringList out;
        for (int i = 0; i < view.topLevelItemCount(); ++i)
            out << view.topLevelItem(i)->text(column);
        return out;
    }

    void ClickHeader(int column)
    {
        // The header's own signal, as a click on the section sends it.
        emit view.header()->sectionClicked(column);
    }

    TSortedListView view;
};

TEST_F(SortedListView, HeaderClicksToggleOnlyOnTheSameColumn)
{
    AddRow(QStringLiteral("berta"), QStringLiteral("Köln"), QString());
    AddRow(QStringLiteral("Anna"), QStringLiteral("Berlin"), QString());
    AddRow(QStringLiteral("Carl"), QStringLiteral("Aachen"), QString());

    struct Step
    {
        int column;
        QStringList names;
        bool descending;
    };
    const std::vector<Step> steps = {
        {0, {"Anna", "berta", "Carl"}, false}, {0, {"Carl", "berta", "Anna"}, true},
        {0, {"Anna", "berta", "Carl"}, false}, {1, {"Carl", "Anna", "berta"}, false},
        {1, {"berta", "Anna", "Carl"}, true},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        ClickHeader(steps[i].column);
        EXPECT_EQ(Column(0), steps[i].names) << "after click " << i + 1;
        EXPECT_EQ(view.Descending(), steps[i].descending) << "after click " << i + 1;
        EXPECT_EQ(view.LastSortedColumn(), steps[i].column);
    }
}

TEST_F(SortedListView, BirthdaysSortByDayAndMonth)
{
    view.SetDateColumn(2);
    view.SetDateColumnType(TDateColumnType::dctDateWithoutYear);
    AddRow(QStringLiteral("Ede"), {}, QStringLiteral("01.03.1950"));
    AddRow(QStringLiteral("Fritz"), {}, QStringLiteral("29.02.1980"));
    AddRow(QStringLiteral("Gabi"), {}, QStringLiteral("28.02.1990"));
    AddRow(QStringLiteral("Hans"), {}, QStringLiteral("15.01.2001"));

    view.SortByColumn(2);
    EXPECT_EQ(Column(2), QStringList({"15.01.2001", "28.02.1990", "29.02.1980", "01.03.1950"}));
    // A header click on the column SortByColumn chose sorts it descending.
    ClickHeader(2);
    EXPECT_EQ(Column(2), QStringList({"01.03.1950", "29.02.1980", "28.02.1990", "15.01.2001"}));
}

TEST_F(SortedListView, EmptyTextsFirstAscendingAndLastDescending)
{
    view.SetDateColumn(2);
    AddRow(QStringLiteral("A"), {}, QStringLiteral("03.03.2003"));
    AddRow(QStringLiteral("B"), {}, QString());
    AddRow(QStringLiteral("C"), {}, QStringLiteral("01.01.2001"));
    AddRow(QStringLiteral("D"), {}, QString());

    ClickHeader(2);
    EXPECT_EQ(Column(0), QStringList({"B", "D", "C", "A"}));
    ClickHeader(2);
    EXPECT_EQ(Column(0), QStringList({"A", "C", "B", "D"}));
}

TEST_F(SortedListView, SortingOffLeavesTheOrder)
{
    AddRow(QStringLiteral("b"), {}, {});
    AddRow(QStringLiteral("a"), {}, {});
    view.SetSortOnColumnClick(false);
    ClickHeader(0);
    EXPECT_EQ(Column(0), QStringList({"b", "a"}));
    EXPECT_EQ(view.ListViewCompare(view.topLevelItem(0), view.topLevelItem(1)), 0);
}

TEST_F(SortedListView, InfoTipLeavesOutEmptyAndDataColumns)
{
    view.setColumnCount(4);
    view.setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Ort"),
                          QStringLiteral("Geburtstag"), QStringLiteral("Mitglieder")});
    view.SetDataColumn(3);
    auto* full = new QTreeWidgetItem(&view, QStringList{"Anna", "Berlin", "01.02.1990", "3;5;"});
    auto* gap = new QTreeWidgetItem(&view, QStringList{"Berta", "", "02.03.1991", "7;"});
    auto* lastEmpty = new QTreeWidgetItem(&view, QStringList{"Carl", "Bonn", "", ""});

    EXPECT_EQ(view.ListViewInfoTip(full),
              QStringLiteral("Name: Anna\nOrt: Berlin\nGeburtstag: 01.02.1990"));
    EXPECT_EQ(view.ListViewInfoTip(gap), QStringLiteral("Name: Berta\nGeburtstag: 02.03.1991"));
    EXPECT_EQ(view.ListViewInfoTip(lastEmpty), QStringLiteral("Name: Carl\nOrt: Bonn"));
    EXPECT_TRUE(view.isColumnHidden(3));
}

TEST_F(SortedListView, HoverShowsTheTipOnlyWhenSwitchedOn)
{
    new QTreeWidgetItem(&view, QStringList{"Anna", "Berlin", ""});
    view.resize(400, 200);
    view.show();
    const QPoint pos = view.visualItemRect(view.topLevelItem(0)).center();

    for (bool on : {false, true}) {
        QToolTip::hideText();
        view.SetShowInfoTips(on);
        QHelpEvent event(QEvent::ToolTip, pos, view.viewport()->mapToGlobal(pos));
        QCoreApplication::sendEvent(view.viewport(), &event);
        EXPECT_EQ(QToolTip::text(), on ? QStringLiteral("Name: Anna\nOrt: Berlin") : QString())
            << "tips " << (on ? "on" : "off");
    }
    QToolTip::hideText();
}

} // namespace
} // namespace riz
