#pragma once

#include <array>

#include "config/config_page.h"
#include "config/position_code.h"

class QButtonGroup;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPainter;
class QToolButton;
class TGraphicPanel;

// The Position page: the edge and alignment of the tabs through a clickable screen diagram, the
// monitor, and the spacing between tabs.
class PositionPage : public ConfigPage {
    Q_OBJECT
public:
    void setTexts() override;
    explicit PositionPage(PageContext& context, QWidget* parent = nullptr);

    // The common mouse-move handler: removes the hover outline, if shown.
    void clearHover();
    bool hoverShown() const { return m_hoverShown; }
    PositionCode hoverCode() const { return m_hoverCode; }

protected:
    void loadControls() override;
    void arrange() override;

private:
    void paintDiagram(QPainter& painter);
    void diagramMouseMoved(QPoint position);
    void diagramClicked();
    void diagramKey(QKeyEvent* event);
    void choosePosition(PositionCode code);
    void screenClicked(int number);
    void spacingChanged(const QString& text);

    QLabel* lblMonitor;
    QLabel* lblPosition;
    QLabel* lblSpacing;
    QLabel* Label6;
    QFrame* panPosition;
    TGraphicPanel* gpPosition;
    QLineEdit* edtSpacing;
    QButtonGroup* m_screens;
    std::array<QToolButton*, 8> sbScreen;

    bool m_hoverShown = false;
    PositionCode m_hoverCode = 0;
};
