#include "shell/controls/formimages.h"
#include "shell/controls/orvobanner.h"
#include "shell/controls/orvotrayicon.h"
#include "shell/controls/webaddress.h"
#include "tests/shell/guiapp.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <gtest/gtest.h>

namespace riz {
namespace {

class TrayIcon : public ::testing::Test
{
protected:
    void SetUp() override { test::GuiApp(); }
};

TEST_F(TrayIcon, HintShorterThan64CharactersIsTaken)
{
    TOrvoTrayIcon tray;
    const QString first = QStringLiteral("Parvion RIZ Avivaze  ");
    tray.SetHint(first);
    ASSERT_EQ(tray.Hint(), first);

    struct Case
    {
        int length;
        bool taken;
    };
    for (const Case c : {Case{63, true}, Case{64, false}, Case{65, false}}) {
        tray.SetHint(first);
        const QString hint(c.length, QLatin1Char('x'));
        tray.SetHint(hint);
        EXPECT_EQ(tray.Hint(), c.taken ? hint : first) << c.length << " characters";
        EXPECT_EQ(tray.Native()->toolTip(), tray.Hint()) << c.length << " characters";
    }
    tray.SetHint(QString());
    EXPECT_TRUE(tray.Hint().isEmpty());
}

TEST_F(TrayIcon, IconIndexPicksFromTheListAndDefaultReturnsToAppIcon)
{
    TFormImages images;
    QApplication::setWindowIcon(images.AppIcon);
    TOrvoTrayIcon tray;
    EXPECT_EQ(tray.Icon().cacheKey(), QApplication::windowIcon().cacheKey());

    tray.SetIcons(&images.TrayIcons);
    tray.SetIconIndex(1);
    EXPECT_EQ(tray.Icon().cacheKey(), images.TrayIcons.at(1).cacheKey());
    EXPECT_EQ(tray.Native()->icon().cacheKey(), images.TrayIcons.at(1).cacheKey());
    tray.SetIconIndex(0);
    EXPECT_EQ(tray.Icon().cacheKey(), images.TrayIcons.at(0).cacheKey());
    tray.SetIconIndex(1);
    tray.SetDefaultIcon();
    EXPECT_EQ(tray.Icon().cacheKey(), QApplication::windowIcon().cacheKey());
}

TEST_F(TrayIcon, VisibleFollowsTheProperty)
{
    TOrvoTrayIcon tray;
    EXPECT_FALSE(tray.Visible());
    tray.SetVisible(true);
    EXPECT_TRUE(tray.Visible());
    EXPECT_TRUE(tray.Native()->isVisible());
    tray.SetVisible(false);
    EXPECT_FALSE(tray.Native()->isVisible());
}

TEST_F(TrayIcon, ClicksReachTheirSignals)
{
    TOrvoTrayIcon tray;
    QSignalSpy clicked(&tray, &TOrvoTrayIcon::Clicked);
    QSignalSpy doubleClicked(&tray, &TOrvoTrayIcon::DoubleClicked);
    emit tray.Native()->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(doubleClicked.count(), 0);
    emit tray.Native()->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_EQ(doubleClicked.count(), 1);
}

TEST_F(TrayIcon, ShowMenuOpensThePopupAtThePosition)
{
    TOrvoTrayIcon tray;
    tray.ShowMenu(QPoint(120, 80));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "no popup menu, nothing opens";

    QMenu menu;
    menu.addAction(QStringLiteral("Beenden"));
    tray.SetPopupMenu(&menu);
    EXPECT_EQ(tray.Native()->contextMenu(), &menu);
    tray.ShowMenu(QPoint(120, 80));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.pos(), QPoint(120, 80));
    menu.close();
}

class Banner : public ::testing::Test
{
protected:
    void SetUp() override { test::GuiApp(); }
    void TearDown() override { SetWebAddressOpener({}); }
};

TEST_F(Banner, TakesTheSizeOfItsPicture)
{
    TFormImages images;
    EXPECT_EQ(images.ImageLogo.size(), QSize(640, 42));

    TOrvoBanner banner;
    banner.SetPicturePointer(&images.ImageLogo);
    EXPECT_EQ(banner.size(), QSize(640, 42));
    const QImage shown = banner.grab().toImage();
    EXPECT_EQ(shown.pixelColor(320, 20), images.ImageLogo.toImage().pixelColor(320, 20));

    QPixmap own(100, 20);
    own.fill(Qt::red);
    banner.SetPicture(own);
    EXPECT_EQ(banner.size(), QSize(100, 20));
    EXPECT_EQ(banner.grab().toImage().pixelColor(50, 10), QColor(Qt::red));
}

TEST_F(Banner, WithoutPictureDrawsAnOutline)
{
    TOrvoBanner banner;
    banner.resize(60, 30);
    const QImage shown = banner.grab().toImage();
    const QColor line = banner.palette().color(QPalette::WindowText);
    const QColor fill = banner.palette().color(QPalette::Window);
    EXPECT_EQ(shown.pixelColor(0, 0), line);
    EXPECT_EQ(shown.pixelColor(59, 29), line);
    EXPECT_EQ(shown.pixelColor(30, 15), fill);
}

TEST_F(Banner, ClickOpensTheAddressAndSetsTheCursor)
{
    std::vector<std::string> opened;
    SetWebAddressOpener([&](const std::string& a) { opened.push_back(a); });
    TOrvoBanner banner;
    banner.resize(100, 20);
    QTest::mouseClick(&banner, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(banner.cursor().shape(), Qt::ArrowCursor);

    banner.SetURL("http://sponsor.example/angebot");
    EXPECT_EQ(banner.cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(&banner, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(opened, std::vector<std::string>{"http://sponsor.example/angebot"});
    banner.SetURL("");
    EXPECT_EQ(banner.cursor().shape(), Qt::ArrowCursor);
}

// Records the mouse presses that reach it.
class PressRecorder final : public QWidget
{
public:
    std::vector<QPoint> presses;

protected:
    void mousePressEvent(QMouseEvent* e) override { presses.push_back(e->position().toPoint()); }
};

TEST_F(Banner, PassesMouseDownToTheParentOnlyWithoutAddress)
{
    SetWebAddressOpener([](const std::string&) {});
    struct Case
    {
        bool pass;
        std::string url;
        bool reachesParent;
    };
    for (const Case& c :
         {Case{false, "", false}, Case{true, "", true}, Case{true, "http://x.example/", false}}) {
        PressRecorder parent;
        parent.resize(300, 200);
        TOrvoBanner banner(&parent);
        banner.setGeometry(20, 30, 100, 20);
        banner.SetPassMouseDownToParent(c.pass);
        banner.SetURL(c.url);
        parent.show();
        QTest::mousePress(&banner, Qt::LeftButton, {}, QPoint(5, 6));
        if (c.reachesParent) {
            ASSERT_EQ(parent.presses.size(), 1u);
            EXPECT_EQ(parent.presses[0], QPoint(25, 36));
        } else {
            EXPECT_TRUE(parent.presses.empty()) << "pass " << c.pass << " url " << c.url;
        }
        QTest::mouseRelease(&banner, Qt::LeftButton, {}, QPoint(5, 6));
    }
}

TEST(WebAddress, OnlyWebAddressesReachTheBrowser)
{
    test::GuiApp();
    std::vector<std::string> opened;
    SetWebAddressOpener([&](const std::string& a) { opened.push_back(a); });
    struct Case
    {
        std::string address;
        std::string opens; // empty: refused
    };
    const std::vector<Case> cases = {
        {"http://www.parvion.example/", "http://www.parvion.example/"},
        {"https://www.parvion.example/hilfe", "https://www.parvion.example/hilfe"},
        {"www.parvion.example", "http://www.parvion.example"},
        {"mailto:service@parvion.example", "mailto:service@parvion.example"},
        {"file:///etc/passwd", ""},
        {"/usr/bin/xterm", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        opened.clear();
        OpenWebAddress(c.address);
        if (c.opens.empty())
            EXPECT_TRUE(opened.empty()) << c.address;
        else
            EXPECT_EQ(opened, std::vector<std::string>{c.opens}) << c.address;
    }
    SetWebAddressOpener({});
}

} // namespace
} // namespace riz
