// A tab window that moves between screens of different device pixel ratios. The test program
// makes its own two screens, so it needs an application of its own.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/qt_test_support.h"
#include "tab_test_skin.h"
#include "tabs/tab_shape.h"
#include "tabwindow/tab_window.h"

namespace {

// Two screens side by side, the second with twice the device pixels per logical pixel.
void StartOnTwoScreens() {
    static QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"screens": [
        {"name": "one", "x": 0, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96},
        {"name": "two", "x": 1024, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96}
    ]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
    qputenv("QT_SCREEN_SCALE_FACTORS", "1;2");
    EnsureApp();
}

TEST(TabWindowScreens, APictureIsDrawnAgainForTheRatioOfTheScreenItMovesTo) {
    StartOnTwoScreens();
    ASSERT_EQ(QGuiApplication::screens().size(), 2);
    TSkin skin = PlainSkin();
    Settings settings;
    TabContext context;
    context.settings = &settings;
    context.skin = &skin;
    context.workArea = [] { return QRect(0, 0, 1024, 768); };
    TfrmTab window(context);
    window.TabModel().TabName = QStringLiteral("Tools");
    AddItems(window.TabModel(), 2, skin.ItemHeight);
    window.RebuildImage();
    window.Place(QPoint(100, 631));
    window.show();
    // Open, so that the window holds the whole picture.
    window.SetOpen(true);
    while (window.tmrAnim().isActive())
        window.tmrAnimTimer();
    const QRegion shape = window.WindowShapeRegion();
    EXPECT_EQ(window.TabImage().devicePixelRatio(), 1.0);

    // Onto the second screen: the picture in twice the pixels each way, the same logical shape.
    window.Place(QPoint(1124, 100)); // the second screen is 512 x 384 logical pixels
    ASSERT_TRUE(WaitUntil([&] { return window.TabImage().devicePixelRatio() == 2; }));
    const QImage open = window.TabImage();
    EXPECT_EQ(open.size(), QSize(256, 2 * (17 + 80)));
    EXPECT_EQ(OpaqueRegion(open), QRegion(0, 0, 128, 17 + 80));
    EXPECT_EQ(window.WindowShapeRegion(), shape);

    // Back on the first screen, back to one pixel per logical pixel.
    window.Place(QPoint(100, 631));
    ASSERT_TRUE(WaitUntil([&] { return window.TabImage().devicePixelRatio() == 1; }));
    EXPECT_EQ(window.TabImage().size(), QSize(128, 17 + 80));
    EXPECT_EQ(window.WindowShapeRegion(), shape);
}

} // namespace
