#include "shell/controls/orvobanner.h"
#include "shell/controls/webaddress.h"
#include "shell/formbanner.h"
#include "tests/shell/guiapp.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace riz {
namespace {

TEST(FormBanner, RefusesToCloseBeforeItsWaitTime)
{
    struct Case
    {
        int waitMs;
        int ticksUntilClosable;
    };
    for (const Case c : {Case{0, 0}, Case{-200, 0}, Case{1000, 5}, Case{1100, 6}}) {
        QPixmap picture(200, 50);
        picture.fill(Qt::blue);
        TFormBanner form({picture, "", c.waitMs});
        form.show();
        for (int tick = 0; tick < c.ticksUntilClosable; ++tick) {
            // The frame's close button and Escape both do nothing yet.
            EXPECT_FALSE(form.close()) << c.waitMs << " ms, tick " << tick;
            QTest::keyClick(&form, Qt::Key_Escape);
            EXPECT_TRUE(form.isVisible()) << c.waitMs << " ms, tick " << tick;
            EXPECT_TRUE(form.ProgressBar()->isVisibleTo(&form));
            EXPECT_FALSE(form.BtnClose()->isVisibleTo(&form));
            form.TimerTick();
        }
        EXPECT_TRUE(form.CanClose()) << c.waitMs;
        EXPECT_FALSE(form.ProgressBar()->isVisibleTo(&form));
        EXPECT_TRUE(form.BtnClose()->isVisibleTo(&form));
        EXPECT_TRUE(form.close()) << c.waitMs;
        EXPECT_FALSE(form.isVisible());
    }
}

TEST(FormBanner, SizesToThePictureAndOpensTheLink)
{
    std::vector<std::string> opened;
    SetWebAddressOpener([&](const std::string& a) { opened.push_back(a); });
    QPixmap picture(300, 80);
    picture.fill(Qt::green);
    TFormBanner form({picture, "http://sponsor.example/", 400});
    EXPECT_EQ(form.size(), QSize(308, 140));
    EXPECT_EQ(form.Picture()->size(), QSize(300, 80));
    EXPECT_EQ(form.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(form.Picture()->toolTip(), QStringLiteral("http://sponsor.example/"));
    form.show();
    QTest::mouseClick(form.Picture(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(opened, std::vector<std::string>{"http://sponsor.example/"});
    SetWebAddressOpener({});

    TFormBanner plain({picture, "", 400});
    EXPECT_EQ(plain.cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(plain.Picture()->toolTip().isEmpty());
}

} // namespace
} // namespace riz
