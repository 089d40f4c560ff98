#include "config/position_page.h"

#include <algorithm>

#include <QButtonGroup>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QSignalBlocker>
#include <QToolButton>

#include "config/config_host.h"
#include "config/graphic_panel.h"
#include "config/spacing_text.h"
#include "config/plain_controls.h"
#include "translation/ui_text.h"

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
    lblMonitor->setText(QStringLiteral("&Monitor:"));
    lblMonitor->setToolTip(HintLines({QStringLiteral("Which monitor to display Kelvara"),
                                      QStringLiteral("on when using a multi-monitor system.")}));
    autoSized(lblMonitor);

    lblPosition = place<PlainLabel>(this, QStringLiteral("lblPosition"), 16, 16);
    lblPosition->setText(QStringLiteral("&Position:"));
    lblPosition->setToolTip(HintLines({QStringLiteral("Select the position and orientation of"),
                                       QStringLiteral("the Tabs on your screen using this diagram.")}));
    autoSized(lblPosition);

    lblSpacing = place<PlainLabel>(this, QStringLiteral("lblSpacing"), 16, 176);
    lblSpacing->setText(QStringLiteral("&Spacing:"));
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
    // The arrow keys move the row on the diagram as clicks do.
    gpPosition->setFocusPolicy(Qt::StrongFocus);

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
    context.watchMouseMove(edtSpacing);

    lblPosition->setBuddy(gpPosition);
    lblSpacing->setBuddy(edtSpacing);
    QList<QAbstractButton*> screens;
    for (QToolButton* button : sbScreen)
        screens.append(button);
    followCheckedButton(lblMonitor, screens);
    tabOrder({gpPosition, sbScreen[0], sbScreen[1], sbScreen[2], sbScreen[3], sbScreen[4], sbScreen[5],
              sbScreen[6], sbScreen[7], edtSpacing});
    setTexts();

    connect(gpPosition, &TGraphicPanel::paint, this, &PositionPage::paintDiagram);
    connect(gpPosition, &TGraphicPanel::mouseMoved, this, &PositionPage::diagramMouseMoved);
    connect(gpPosition, &TGraphicPanel::clicked, this, &PositionPage::diagramClicked);
    connect(gpPosition, &TGraphicPanel::keyPressed, this, &PositionPage::diagramKey);
    connect(m_screens, &QButtonGroup::idClicked, this, &PositionPage::screenClicked);
    connect(edtSpacing, &QLineEdit::textChanged, this, &PositionPage::spacingChanged);
}

void PositionPage::setTexts() {
    edtSpacing->setToolTip(UiText("Position.SpacingHint", "Use this to set the spacing between\r\n"
                                                          "two tabs, and the spacing between\r\n"
                                                          "the end tabs and the edge of the\r\n"
                                                          "screen if not aligned to center."));
    for (QToolButton* button : sbScreen)
        button->setAccessibleName(UiText("Position.MonitorName", "Monitor %1").arg(button->text()));
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
    if (gpPosition->hasFocus()) {
        // The keyboard focus: a dotted frame just inside the diagram's edge.
        QStyleOptionFocusRect focus;
        focus.initFrom(gpPosition);
        focus.rect = gpPosition->rect().adjusted(1, 1, -1, -1);
        focus.backgroundColor = colours.color(QPalette::Button);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, gpPosition);
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
    choosePosition(m_hoverCode);
}

void PositionPage::diagramKey(QKeyEvent* event) {
    DiagramArrow arrow;
    switch (event->key()) {
    case Qt::Key_Left:
        arrow = DiagramArrow::Left;
        break;
    case Qt::Key_Right:
        arrow = DiagramArrow::Right;
        break;
    case Qt::Key_Up:
        arrow = DiagramArrow::Up;
        break;
    case Qt::Key_Down:
        arrow = DiagramArrow::Down;
        break;
    default:
        return;
    }
    event->accept();
    const Settings& s = host().stored().settings;
    const PositionCode current = MakePositionCode(s.TabPos, s.TabAlign);
    const PositionCode next = StepPosition(current, arrow);
    if (next != current)
        choosePosition(next);
}

void PositionPage::choosePosition(PositionCode code) {
    Settings& s = host().stored().settings;
    const bool edgeChanged = s.TabPos != PositionEdge(code);
    s.TabPos = PositionEdge(code);
    s.TabAlign = PositionAlign(code);
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
    const qint32 saved = std::clamp(*spacing, kMinSpacing, kMaxSpacing);
    host().stored().settings.Spacing = saved;
    host().saveSettings();
    if (saved != *spacing) {
        // The field shows the value that was saved, not one past the limits.
        const QSignalBlocker quiet(edtSpacing);
        edtSpacing->setText(QString::number(saved));
    }
    context().markRebuild();
}
