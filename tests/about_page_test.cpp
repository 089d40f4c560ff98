#include "config/about_page.h"

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPushButton>

#include "config/about_background.h"
#include "config/about_wave.h"
#include "config/config_dialog.h"
#include "config/graphic_panel.h"
#include "config/page_control.h"
#include "fake_config_host.h"
#include "qt_app_environment.h"

namespace {

TEST(AboutWave, OffsetsOverOnePeriodWaveWithoutDrifting) {
    int sum = 0;
    for (int phase = 0; phase < AboutWavePeriod; ++phase) {
        const int expected = (phase >= 3 && phase <= 13) ? 1 : (phase >= 19 && phase <= 29) ? -1 : 0;
        EXPECT_EQ(WaveOffset(phase), expected) << "phase " << phase;
        sum += WaveOffset(phase);
        EXPECT_EQ(NextWavePhase(phase), phase == 31 ? 0 : phase + 1);
    }
    EXPECT_EQ(sum, 0);
}

TEST(AboutBackground, StripRunsFromBlueToWhite) {
    const QImage strip = AboutBackground::Strip();
    ASSERT_EQ(strip.size(), QSize(340, 1));
    const QRgb left = strip.pixel(0, 0);
    EXPECT_GT(qBlue(left), qRed(left) + 100);
    EXPECT_EQ(strip.pixel(339, 0), qRgb(255, 255, 255));
    for (int x = 1; x < 340; ++x)
        EXPECT_GE(qGray(strip.pixel(x, 0)), qGray(strip.pixel(x - 1, 0))) << x;
}

TEST(AboutBackground, TicksMoveThePictureDownAndSideways) {
    AboutBackground background;
    background.rebuild(QSize(170, 3));
    const QImage strip = AboutBackground::Strip();
    // Each row holds the strip halved to 170 pixels.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 170; ++x)
            ASSERT_EQ(background.picture().pixel(x, y), strip.pixel(2 * x, 0)) << x << ", " << y;

    // Phases 0 to 2 move straight down: the rows, all alike, stay the same.
    for (int i = 0; i < 3; ++i)
        background.tick();
    const QImage straight = background.picture().copy();
    for (int y = 1; y < 3; ++y)
        EXPECT_EQ(background.picture().copy(0, y, 170, 1), background.picture().copy(0, 0, 170, 1));

    // Phase 3 moves one column to the right: the row below shows the row shifted, and the
    // uncovered first column keeps what it held.
    background.tick();
    EXPECT_EQ(background.phase(), 4);
    const QImage& p = background.picture();
    EXPECT_EQ(p.copy(0, 0, 170, 1), straight.copy(0, 0, 170, 1)); // the top row drawn afresh
    for (int y = 1; y < 3; ++y) {
        EXPECT_EQ(p.pixel(0, y), straight.pixel(0, y));
        for (int x = 1; x < 170; ++x)
            ASSERT_EQ(p.pixel(x, y), straight.pixel(x - 1, y - 1)) << x << ", " << y;
    }
}

class AboutPageTest : public testing::Test {
protected:
    void SetUp() override {
        dialog = new TfrmConfig(host, TfrmConfig::Use::Interactive);
        dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        dialog->show();
        page = dialog->findChild<AboutPage*>();
        ASSERT_NE(page, nullptr);
    }
    void TearDown() override { delete dialog; }
    void showPage(int index) { dialog->findChild<PageControl*>()->setCurrentIndex(index); }
    void clickPicture() {
        auto* picture = dialog->findChild<TGraphicPanel*>(QStringLiteral("pbxAbout"));
        const QPoint at(10, 10);
        QMouseEvent release(QEvent::MouseButtonRelease, at, picture->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &release);
    }

    static constexpr int About = 5;
    FakeConfigHost host;
    TfrmConfig* dialog = nullptr;
    AboutPage* page = nullptr;
};

TEST_F(AboutPageTest, AnimationRunsOnlyWhileThePageShows) {
    EXPECT_FALSE(page->animating());
    showPage(About);
    EXPECT_TRUE(page->animating());
    EXPECT_FALSE(dialog->findChild<QPushButton*>(QStringLiteral("btnApply"))->isVisibleTo(dialog));
    // The background fills the page above the 19-pixel status bar.
    EXPECT_EQ(page->background().picture().size(), QSize(page->width(), page->height() - 19));
    EXPECT_EQ(page->width(), 393);
    showPage(0);
    EXPECT_FALSE(page->animating());
    EXPECT_TRUE(dialog->findChild<QPushButton*>(QStringLiteral("btnApply"))->isVisibleTo(dialog));
    EXPECT_TRUE(host.calls == QStringList{QStringLiteral("dropPendingUpdateCheck")});
}

TEST_F(AboutPageTest, ClicksSwitchTheTextAndAVisitStartsAgain) {
    showPage(About);
    EXPECT_EQ(page->aboutText(), QStringLiteral("Kelvara 2.0"));
    clickPicture();
    EXPECT_EQ(page->aboutText(), AboutPage::webAddress());
    EXPECT_EQ(page->aboutFontSize(), 18);
    clickPicture();
    EXPECT_EQ(page->aboutText(), QStringLiteral("Kelvara 2.0"));
    EXPECT_EQ(page->aboutFontSize(), 36);

    // Leaving and coming back resets the text and the wave.
    clickPicture();
    page->tick();
    page->tick();
    showPage(0);
    showPage(About);
    EXPECT_EQ(page->aboutText(), QStringLiteral("Kelvara 2.0"));
    EXPECT_EQ(page->aboutFontSize(), 36);
    EXPECT_EQ(page->background().phase(), 0);
}

} // namespace
