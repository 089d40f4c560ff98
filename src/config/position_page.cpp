#include "config/position_page.h"

#include <algorithm>

#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

#include "config/config_host.h"
#include "config/graphic_panel.h"
#include "config/spacing_text.h"
#include "config/plain_controls.h"

namespace {

constexpr int ScreenButtonSize = 33;

// Draws the three rectangles of a marker. Each covers its rectangle exactly, outline included.
void DrawMarker(QPainter& painter, PositionCode code, const QBrush& fill) {
    for (const QRect& r : MarkerRects(code, DiagramWidth, DiagramHeight)) {
        if (fill.style() != Qt::NoBrush)
            painter.fillRect(r, fill);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

} // namespace

PositionPage::PositionPage(PageContext& context, QWidget* parent)
    : ConfigPage(context, QStringLiteral("tsPosition"), parent) {
    // The order of creation is the order of the keys in a written translation file.
    lblMonitor = place<PlainLabel>(this, QStringLiteral("lblMonitor"), 216, 16);
    lblMonitor->setText(QStringLiteral("Monitor:"));
    lblMonitor->setToolTip(HintLines({QStringLiteral("Which monitor to display Kelvara"),
                                      QStringLiteral("on when using a multi-monitor system.")}));
    autoSized(lblMonitor);

    lblPosition = place<PlainLabel>(this, QStringLiteral("lblPosition"), 16, 16);
    lblPosition->setText(QStringLiteral("Position:"));
    lblPosition->setToolTip(HintLines({QStringLiteral("Select the position and orientation of"),
                                       QStringLiteral("the Tabs on your screen using this diagram.")}));
    autoSized(lblPosition);

    lblSpacing = place<PlainLabel>(this, QStringLiteral("lblSpacing"), 16, 176);
    lblSpacing->setText(QStringLiteral("Spacing:"));
    autoSized(lblSpacing);

    Label6 = place<PlainLabel>(this, QStringLiteral("Label6"), 88, 195);
    Label6->setText(QStringLiteral("pixels"));
    autoSized(Label6);

    panPosition = place<QFrame>(this, QStringLiteral("panPosition"), 32, 34);
    panPosition->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panPosition->setLineWidth(1);
    panPosition->resize(DiagramWidth + 6, DiagramHeight + 6);
    gpPosition = place<TGraphicPanel>(panPosition, QStringLiteral("gpPosition"), 3, 3);
    gpPosition->resize(DiagramWidth, DiagramHeight);

    m_screens = new QButtonGroup(this);
    m_screens->setExclusive(true);
    QFont screenFont = font();
    screenFont.setPixelSize(24);
    for (int i = 0; i < 8; ++i) {
        const int number = i + 1;
        QToolButton* button = place<QToolButton>(this, QStringLiteral("sbScreen%1").arg(number),
                                                 224 + 40 * (i % 4), i < 4 ? 34 : 74);
        button->resize(ScreenButtonSize, ScreenButtonSize);
        button->setText(QString::number(number));
        button->setFont(screenFont);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setProperty("tag", number);
        m_screens->addButton(button, number);
        sbScreen[i] = button;
    }

    edtSpacing = place<QLineEdit>(this, QStringLiteral("edtSpacing"), 32, 192);
    edtSpacing->resize(49, edtSpacing->sizeHint().height());
    edtSpacing->setText(QStringLiteral("12"));
    edtSpacing->setToolTip(HintLines({QStringLiteral("Use this to set the spacing between"),
                                      QStringLiteral("two tabs, and the spacing between"),
                                      QStringLiteral("the end tabs and the edge of the"),
                                      QStringLiteral("screen if not aligned to center.")}));
    context.watchMouseMove(edtSpacing);

    connect(gpPosition, &TGraphicPanel::paint, this, &PositionPage::paintDiagram);
    connect(gpPosition, &TGraphicPanel::mouseMoved, this, &PositionPage::diagramMouseMoved);
    connect(gpPosition, &TGraphicPanel::clicked, this, &PositionPage::diagramClicked);
    connect(m_screens, &QButtonGroup::idClicked, this, &PositionPage::screenClicked);
    connect(edtSpacing, &QLineEdit::textChanged, this, &PositionPage::spacingChanged);
}

void PositionPage::clearHover() {
    if (!m_hoverShown)
        return;
    m_hoverShown = false;
    gpPosition->update();
}

void PositionPage::arrange() {
    // The position caption shares its row with the monitor caption: a longer one is cut before it.
    lblPosition->resize(std::min(lblPosition->width(), lblMonitor->x() - 8 - lblPosition->x()),
                        lblPosition->height());
}

void PositionPage::loadControls() {
    const Settings& s = host().stored().settings;
    edtSpacing->setText(QString::number(s.Spacing));
    // A Screen value outside 1..8 presses no button.
    m_screens->setExclusive(false);
    for (QToolButton* button : sbScreen)
        button->setChecked(button->property("tag").toInt() == s.Screen);
    m_screens->setExclusive(true);
    const int monitors = host().monitorCount();
    for (int i = 0; i < 8; ++i)
        sbScreen[i]->setVisible(monitors >= i + 1);
    gpPosition->update();
}

void PositionPage::paintDiagram(QPainter& painter) {
    const QPalette& colours = palette();
    painter.fillRect(0, 0, DiagramWidth, DiagramHeight, colours.color(QPalette::Button));
    const Settings& s = host().stored().settings;
    painter.setPen(QPen(colours.color(QPalette::WindowText), 1, Qt::SolidLine));
    DrawMarker(painter, MakePositionCode(s.TabPos, s.TabAlign), colours.color(QPalette::Highlight));
    if (m_hoverShown) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        DrawMarker(painter, m_hoverCode, Qt::NoBrush);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
}

void PositionPage::diagramMouseMoved(QPoint position) {
    const PositionCode code = HitTestPosition(position.x(), position.y(), DiagramWidth, DiagramHeight);
    if (m_hoverShown && m_hoverCode == code)
        return;
    m_hoverShown = true;
    m_hoverCode = code;
    gpPosition->update();
}

void PositionPage::diagramClicked() {
    Settings& s = host().stored().settings;
    const bool edgeChanged = s.TabPos != PositionEdge(m_hoverCode);
    s.TabPos = PositionEdge(m_hoverCode);
    s.TabAlign = PositionAlign(m_hoverCode);
    gpPosition->update();
    host().saveSettings();
    if (edgeChanged) {
        // The skin's pictures are prepared for the edge.
        host().reloadSkin();
        host().rebuildTabs();
    } else {
        host().placeTabs();
    }
}

void PositionPage::screenClicked(int number) {
    host().stored().settings.Screen = number;
    host().saveSettings();
    host().placeTabs();
}

void PositionPage::spacingChanged(const QString& text) {
    if (loading())
        return;
    const std::optional<qint32> spacing = ParseSpacing(text);
    if (!spacing)
        return;
    host().stored().settings.Spacing = std::clamp(*spacing, kMinSpacing, kMaxSpacing);
    host().saveSettings();
    context().markRebuild();
}
