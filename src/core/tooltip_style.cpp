#include "core/tooltip_style.h"

#include <QApplication>
#include <QToolTip>

int TooltipStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                            QStyleHintReturn* returnData) const {
    switch (hint) {
    case SH_ToolTip_WakeUpDelay:
        return 0;
    case SH_ToolTip_FallAsleepDelay:
        return 32767;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}

void InstallTooltipStyle() {
    QApplication::setStyle(new TooltipStyle);
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, QApplication::palette().color(QPalette::Button));
    QToolTip::setPalette(palette);
}
