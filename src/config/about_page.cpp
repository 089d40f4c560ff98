#include "config/about_page.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStatusBar>

#include "config/graphic_panel.h"
#include "translation/ui_text.h"

namespace {

constexpr int VersionFontSize = 36;
constexpr int AddressFontSize = 18;
constexpr int StatusBarHeight = 19;

} // namespace

AboutPage::AboutPage(PageContext& context, QWidget* parent)
    : ConfigPage(context, QStringLiteral("tsAbout"), parent), AboutText(versionText()) {
    pbxAbout = place<TGraphicPanel>(this, QStringLiteral("pbxAbout"), 0, 0);
    pbxAbout->resize(393, 287);
    pbxAbout->setCursor(Qt::PointingHandCursor);

    StatusBar1 = place<QStatusBar>(this, QStringLiteral("StatusBar1"), 0, 287);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->resize(393, StatusBarHeight);

    tmrAbout.setObjectName(QStringLiteral("tmrAbout"));
    tmrAbout.setInterval(10);

    connect(&tmrAbout, &QTimer::timeout, this, &AboutPage::tick);
    connect(pbxAbout, &TGraphicPanel::clicked, this, &AboutPage::clicked);
    connect(pbxAbout, &TGraphicPanel::paint, this, &AboutPage::paint);
    setTexts();
}

void AboutPage::setTexts() {
    StatusBar1->showMessage(
        UiText("About.Line", "Kelvara is free software, made with care by the Kelvara developers."));
}

QString AboutPage::versionText() {
    return QStringLiteral("Kelvara 2.0");
}

QString AboutPage::webAddress() {
    return QStringLiteral("https://kelvara.example.org");
}

void AboutPage::loadControls() {
    // Each visit starts again from the version text, phase 0 and a freshly stretched background.
    AboutFontSize = VersionFontSize;
    AboutText = versionText();
    layOut(true);
    tmrAbout.start();
}

void AboutPage::resizeEvent(QResizeEvent* event) {
    ConfigPage::resizeEvent(event);
    // The picture fills the page above the status bar.
    const int pictureHeight = std::max(0, height() - StatusBarHeight);
    pbxAbout->setGeometry(0, 0, width(), pictureHeight);
    StatusBar1->setGeometry(0, pictureHeight, width(), StatusBarHeight);
    layOut(true);
}

QFont AboutPage::aboutFont() const {
    QFont font(QStringLiteral("Verdana"));
    font.setPointSize(AboutFontSize);
    return font;
}

void AboutPage::layOut(bool rebuildBackground) {
    if (rebuildBackground)
        m_background.rebuild(pbxAbout->size());
    const QFontMetrics metrics(aboutFont(), pbxAbout);
    m_textHeight = metrics.height();
    m_textLeft = pbxAbout->width() / 2 - metrics.horizontalAdvance(AboutText) / 2;
    m_textTop = pbxAbout->height() / 2 - m_textHeight / 2;
}

void AboutPage::tick() {
    m_background.tick();
    pbxAbout->update();
}

void AboutPage::clicked() {
    if (AboutText != versionText()) {
        AboutText = versionText();
        AboutFontSize = VersionFontSize;
    } else {
        AboutText = webAddress();
        AboutFontSize = AddressFontSize;
    }
    // The next tick shows the change.
    layOut(false);
}

void AboutPage::paint(QPainter& painter) {
    painter.drawImage(0, 0, m_background.picture());

    // The text band is striped with the default pen: black, one pixel.
    painter.setPen(QPen(Qt::black, 1));
    const int right = pbxAbout->width() - 1;
    for (int y = m_textTop; y < m_textTop + m_textHeight; y += 2)
        painter.drawLine(0, y, right, y);

    // A light outline at the four diagonal offsets, then the text itself.
    painter.setFont(aboutFont());
    painter.setBackgroundMode(Qt::TransparentMode);
    const QRect box(m_textLeft, m_textTop, pbxAbout->width() * 2, m_textHeight);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
    painter.setPen(QColor(0, 255, 0));
    for (const QPoint offset : {QPoint(-1, -1), QPoint(-1, 1), QPoint(1, -1), QPoint(1, 1)})
        painter.drawText(box.translated(offset), flags, AboutText);
    painter.setPen(QColor(0, 136, 0));
    painter.drawText(box, flags, AboutText);
}
