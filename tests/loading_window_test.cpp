#include "ui/loading_window.h"

#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QWindow>

#include "common/opaque_region.h"
#include "formats/avi_reader.h"
#include "formats/avi_writer.h"
#include "ui/animation_control.h"
#include "ui/error_report.h"
#include "ui/error_window.h"
#include "support/app_environment.h"
#include "support/qt_test_support.h"

namespace {

AppEnvironment* const Environment = RegisterAppEnvironment();

KelvaraApplication& App() {
    return Environment->app();
}

constexpr QRgb Lime = qRgb(0, 255, 0);
constexpr QRgb Blue = qRgb(20, 60, 200);

// A frame of lime with a blue square whose corner moves with `index`.
QImage Frame(QSize size, int index) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Lime);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x)
            image.setPixel(index + x, 1 + y, Blue);
    }
    return image;
}

class Splash : public testing::Test {
protected:
    void SetUp() override {
        App();
        if (ErrorDialog())
            ErrorDialog()->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        ASSERT_TRUE(m_dir.isValid());
    }

    QString WriteClip(QSize size, int frames) {
        QList<QImage> images;
        for (int i = 0; i < frames; ++i)
            images.append(Frame(size, i));
        AviWriteOptions options;
        options.framePeriodUs = 40000;
        QFile file(m_dir.filePath(QStringLiteral("Loading.avi")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(WriteAvi(images, options));
        return file.fileName();
    }

    QTemporaryDir m_dir;
};

// Runs the event loop until the animation has changed its frame count times, and calls atFrame
// inside each change, before the next frame can come (a frame lasts one period, which a look
// from outside may miss). False when the changes do not come.
bool RunFrames(TAnimate* animate, int count, const std::function<void()>& atFrame) {
    int seen = 0;
    const QMetaObject::Connection connection = QObject::connect(animate, &TAnimate::FrameChanged, [&] {
        if (seen < count) {
            ++seen;
            atFrame();
        }
    });
    const bool done = WaitUntil([&] { return seen == count; });
    QObject::disconnect(connection);
    return done;
}

QStringList ReportedLines() {
    return ErrorDialog() ? ErrorDialog()->Lines() : QStringList();
}

} // namespace

TEST(CentredPosition, HalvesScreenAndWindowSeparately) {
    const struct {
        QRect screen;
        QSize window;
        QPoint expected;
    } rows[] = {
        {{0, 0, 1024, 768}, {142, 107}, {441, 331}},
        {{0, 0, 1025, 769}, {143, 108}, {441, 330}},
        {{0, 0, 100, 80}, {200, 150}, {-50, -35}},
        {{1280, 0, 800, 600}, {96, 64}, {1632, 268}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(CentredPosition(row.screen, row.window), row.expected);
}

TEST(OpaqueRegion, HoldsExactlyThePixelsThatAreNotTheKey) {
    QImage image(4, 3, QImage::Format_ARGB32);
    image.fill(Lime);
    image.setPixel(0, 0, Blue);
    image.setPixel(2, 0, qRgba(0, 255, 0, 10)); // lime with another alpha is still lime
    image.setPixel(1, 1, qRgb(0, 254, 0));
    image.setPixel(2, 1, Blue);
    image.setPixel(3, 2, Blue);
    const QRegion region = OpaqueRegion(image, Lime);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(region.contains(QPoint(x, y)), (image.pixel(x, y) & 0xFFFFFF) != (Lime & 0xFFFFFF))
                << x << "," << y;
    }
    EXPECT_FALSE(region.contains(QPoint(-1, 0)));
    EXPECT_TRUE(OpaqueRegion(Frame({8, 8}, 0).copy(0, 5, 8, 3), Lime).isEmpty());
}

TEST_F(Splash, TakesTheClipSizeAndIsCentredAndShapedByItsLimePixels) {
    TfrmLoading splash(WriteClip({200, 150}, 3));
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.size(), QSize(200, 150));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(splash.pos(), screen.topLeft() + QPoint(screen.width() / 2 - 100, screen.height() / 2 - 75));
    EXPECT_TRUE(ReportedLines().isEmpty());
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowDoesNotAcceptFocus);

    TAnimate* animate = splash.Animate1();
    EXPECT_TRUE(animate->Active());
    EXPECT_EQ(animate->IntervalMs(), 40);
    EXPECT_EQ(splash.mask(), OpaqueRegion(Frame({200, 150}, 0), Lime));
    // Frames advance on the timer, loop after the last, and the shape follows each one.
    std::vector<int> frames;
    ASSERT_TRUE(RunFrames(animate, 3, [&] {
        frames.push_back(animate->FrameIndex());
        EXPECT_EQ(splash.mask(), OpaqueRegion(Frame({200, 150}, animate->FrameIndex()), Lime));
    }));
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 0}));
}

TEST_F(Splash, LaterShowingsRecentreButNeverRestartTheAnimation) {
    TfrmLoading splash(WriteClip({20, 10}, 4));
    TAnimate* animate = splash.Animate1();
    // Hidden at its second frame, the clip holds it: no timer runs.
    ASSERT_TRUE(RunFrames(animate, 2, [&] {
        if (animate->FrameIndex() == 2)
            splash.hide();
    }));
    EXPECT_EQ(animate->FrameIndex(), 2);
    EXPECT_FALSE(animate->Ticking());
    splash.move(0, 0);
    splash.show();
    EXPECT_EQ(animate->FrameIndex(), 2);
    EXPECT_TRUE(animate->Active());
    EXPECT_EQ(splash.pos(), CentredPosition(QGuiApplication::primaryScreen()->geometry(), {20, 10}));
    ASSERT_TRUE(RunFrames(animate, 1, [] {}));
    EXPECT_EQ(animate->FrameIndex(), 3);
}

// A window withdrawn while the window manager is still mapping it can be mapped by the manager
// afterwards and stay: a hide asked for before the window is known to be mapped waits for that.
TEST_F(Splash, AHideBeforeTheWindowIsMappedWaitsForTheMap) {
    TfrmLoading splash(WriteClip({20, 10}, 4));
    ASSERT_TRUE(splash.windowHandle());
    ASSERT_FALSE(splash.windowHandle()->isExposed()) << "the platform reported the map at once";
    splash.hide();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_TRUE(splash.HidePending());
    ASSERT_TRUE(WaitUntil([&] { return !splash.isVisible(); })) << "the splash was never hidden";
    EXPECT_FALSE(splash.HidePending());

    // Shown again before the map came back: the hide is forgotten, and it is a showing that
    // centres the window again.
    splash.show();
    ASSERT_TRUE(WaitUntil([&] { return splash.windowHandle()->isExposed(); }));
    splash.hide();
    splash.show();
    splash.hide();
    splash.move(0, 0);
    splash.show();
    EXPECT_FALSE(splash.HidePending());
    EXPECT_EQ(splash.pos(), CentredPosition(QGuiApplication::primaryScreen()->geometry(), {20, 10}));
    QCoreApplication::processEvents();
    EXPECT_TRUE(splash.isVisible());
}

TEST_F(Splash, MissingOrBrokenClipIsReportedAtCreationAndEveryLaterShowing) {
    QFile broken(m_dir.filePath(QStringLiteral("broken.avi")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("RIFF\x10\0\0\0AVI junk");
    broken.close();
    for (const QString& clip : {m_dir.filePath(QStringLiteral("missing.avi")), broken.fileName()}) {
        SCOPED_TRACE(clip.toStdString());
        if (ErrorDialog())
            ErrorDialog()->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        TfrmLoading splash(clip);
        EXPECT_TRUE(splash.isVisible());
        EXPECT_EQ(splash.size(), QSize(142, 107));
        EXPECT_EQ(ReportedLines(), QStringList{QStringLiteral("Cannot open AVI")});
        // Shaped, but with nothing inside the window: all of it is see-through.
        EXPECT_FALSE(splash.mask().isEmpty());
        EXPECT_TRUE(splash.mask().intersected(splash.rect()).isEmpty());
        EXPECT_FALSE(splash.Animate1()->Active());

        splash.hide();
        splash.show();
        EXPECT_EQ(ReportedLines(),
                  (QStringList{QStringLiteral("Cannot open AVI"), QStringLiteral("Cannot open AVI")}));
        EXPECT_EQ(splash.pos(), CentredPosition(QGuiApplication::primaryScreen()->geometry(), {142, 107}));
    }
}

// Read on a worker thread, the clip decides when the splash shows: once it is there, in the state
// the last show or hide before it asked for.
TEST_F(Splash, AClipReadInTheBackgroundShowsTheSplashOnlyIfStillWanted) {
    const QString clip = WriteClip({20, 10}, 4);
    const QString missing = m_dir.filePath(QStringLiteral("missing.avi"));
    struct Row {
        QString file;
        bool hiddenBeforeTheClip;
        bool shown;
        QSize size;
        QStringList reported;
    } rows[] = {
        {clip, false, true, {20, 10}, {}},
        {clip, true, false, {20, 10}, {}},
        {missing, false, true, {142, 107}, {QStringLiteral("Cannot open AVI")}},
        {missing, true, false, {142, 107}, {QStringLiteral("Cannot open AVI")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.toStdString() + (row.hiddenBeforeTheClip ? " hidden" : " shown"));
        if (ErrorDialog())
            ErrorDialog()->findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        TfrmLoading splash(row.file, nullptr, TfrmLoading::ClipLoading::InBackground);
        ASSERT_TRUE(splash.ClipPending()) << "the clip was read before the constructor returned";
        EXPECT_FALSE(splash.isVisible());
        if (row.hiddenBeforeTheClip)
            splash.hide();
        ASSERT_TRUE(WaitUntil([&] { return !splash.ClipPending(); })) << "the clip never came";
        EXPECT_EQ(splash.isVisible(), row.shown);
        EXPECT_EQ(splash.size(), row.size);
        EXPECT_EQ(ReportedLines(), row.reported);
        // Later showings behave as with a clip read at once.
        splash.show();
        EXPECT_TRUE(splash.isVisible());
        EXPECT_EQ(splash.pos(), CentredPosition(QGuiApplication::primaryScreen()->geometry(), row.size));
    }
}

TEST(ShippedClip, IsALoopingClipOnLime) {
    QFile file(QStringLiteral(KELVARA_SOURCE_DIR "/data/Loading.avi"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const AviClip clip = ReadAvi(file.readAll());
    EXPECT_GE(clip.frames.size(), 16);
    EXPECT_LE(clip.frameSize.width(), 142);
    EXPECT_LE(clip.frameSize.height(), 107);
    for (const QImage& frame : clip.frames) {
        const QRegion opaque = OpaqueRegion(frame, Lime);
        EXPECT_FALSE(opaque.isEmpty());
        EXPECT_NE(opaque, QRegion(frame.rect())) << "the background must be lime";
        EXPECT_EQ(frame.pixel(0, 0), Lime);
    }
    EXPECT_NE(clip.frames.first(), clip.frames.last());
}
