#include "skins/font_substitutions.h"

#include <QFont>
#include <QStringList>

void InstallFontSubstitutions() {
    // Liberation Sans has Arial's metrics, the nearest to the small bitmap sans of the dialogs;
    // DejaVu Sans shares Verdana's wide, open shapes.
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Tahoma"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
}
