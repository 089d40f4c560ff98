#include "tabs/caption_fit.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>

#include "support/qt_test_support.h"

// A caption that fits stays as it is; a longer one shows the lines that fit whole, the last
// ending in an ellipsis, never a line cut through its letters.
TEST(CaptionFit, ALongCaptionShowsWholeLinesEndingInAnEllipsis) {
    EnsureApplication();
    QImage canvas(200, 200, QImage::Format_RGB32);
    const QFont font(QStringLiteral("DejaVu Sans"), 9);
    const QFontMetrics metrics(font, &canvas);
    const QSize box(82, 2 * metrics.lineSpacing() + 2); // the Aqua caption box holds two lines

    for (const QString& text : {QStringLiteral("Plank"), QStringLiteral("Record Everything"), QString()})
        EXPECT_EQ(FitCaption(text, font, box, &canvas), text);

    const QString name = QStringLiteral("ImageMagick (color depth=q16) with a very long name");
    const QString fitted = FitCaption(name, font, box, &canvas);
    const QStringList lines = fitted.split(u'\n');
    ASSERT_EQ(lines.size(), 2) << fitted.toStdString();
    EXPECT_TRUE(name.startsWith(lines[0] + u' ')) << fitted.toStdString();
    EXPECT_TRUE(lines[1].endsWith(QChar(0x2026))) << fitted.toStdString();
    for (const QString& line : lines)
        EXPECT_LE(metrics.horizontalAdvance(line), box.width()) << line.toStdString();
    EXPECT_LE(metrics.boundingRect(QRect(QPoint(0, 0), box), Qt::TextWordWrap, fitted).height(),
              box.height());

    // A box lower than one line still shows one line.
    EXPECT_EQ(FitCaption(name, font, QSize(82, 4), &canvas).count(u'\n'), 0);
}

// Lines that fill the box to the last pixel fit: the caption comes back as it is. A pixel less and
// the last line no longer fits.
TEST(CaptionFit, LinesThatFillTheBoxExactlyAreKept) {
    EnsureApplication();
    QImage canvas(200, 200, QImage::Format_RGB32);
    const QFont font(QStringLiteral("DejaVu Sans"), 9);
    const QFontMetrics metrics(font, &canvas);
    for (const QString& text :
         {QStringLiteral("Record Everything"), QStringLiteral("Record Everything and Play It Back")}) {
        SCOPED_TRACE(text.toStdString());
        // The height word-wrapped drawing takes for the text in a box 82 pixels wide.
        const int height = metrics.boundingRect(QRect(0, 0, 82, 1000), Qt::TextWordWrap, text).height();
        ASSERT_GT(height, metrics.height()) << "one line only";
        EXPECT_EQ(FitCaption(text, font, QSize(82, height), &canvas), text);
        EXPECT_NE(FitCaption(text, font, QSize(82, height - 1), &canvas), text);
    }
}
