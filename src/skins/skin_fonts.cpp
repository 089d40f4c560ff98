#include "skins/skin_fonts.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QList>

namespace {

struct RegisteredFont {
    QString path;
    int id = -1; // the font table's id, -1 when the file was not registered
};

QList<RegisteredFont>& Registered() {
    static QList<RegisteredFont> fonts;
    return fonts;
}

// The font table belongs to the GUI application; without one nothing can be registered.
bool HaveFontTable() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
}

} // namespace

void RegisterSkinFont(const QString& path) {
    RegisteredFont font{path, -1};
    if (HaveFontTable())
        font.id = QFontDatabase::addApplicationFont(path);
    Registered().append(font);
}

void UnregisterSkinFonts() {
    QList<RegisteredFont>& fonts = Registered();
    if (fonts.isEmpty())
        return;
    if (HaveFontTable()) {
        for (const RegisteredFont& font : std::as_const(fonts)) {
            if (font.id != -1)
                QFontDatabase::removeApplicationFont(font.id);
        }
    }
    fonts.clear();
}

QStringList SkinFonts() {
    QStringList paths;
    for (const RegisteredFont& font : std::as_const(Registered()))
        paths.append(font.path);
    return paths;
}
