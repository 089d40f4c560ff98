#pragma once

#include <QProxyStyle>

// Tooltips show at once and use the button-face colour as background.
class TooltipStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// Installs the style and the tooltip colours on the application.
void InstallTooltipStyle();
