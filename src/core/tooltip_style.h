#pragma once

#include <QObject>
#include <QProxyStyle>

// How long a tooltip stays up: Qt's own time (10 s and a little more per letter) is too short to
// read a long name.
inline constexpr int TooltipDisplayMs = 32767;

// Tooltips show at once and use the button-face colour as background.
class TooltipStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// Shows the tooltips of widgets for TooltipDisplayMs: Qt's tooltip events carry no display time,
// so the filter answers them itself.
class TooltipDisplayTime : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Installs the style, the display time and the tooltip colours on the application.
void InstallTooltipStyle();
