#include "skins/skin_fonts.h"

#include <algorithm>

#include <QCoreApplication>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QList>

#include "common/regular_file.h"

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
    QList<RegisteredFont>& fonts = Registered();
    RegisteredFont font{path, -1};
    // A file in the font table already shares that entry. Every registration would add the file
    // again and make Qt drop all its font caches, so that the next text drawn anywhere loads
    // its fonts anew: each skin chosen in the settings dialog's list would do that.
    const auto same = std::find_if(fonts.cbegin(), fonts.cend(), [&](const RegisteredFont& registered) {
        return registered.id != -1 && registered.path == path;
    });
    if (same != fonts.cend())
        font.id = same->id;
    else if (HaveFontTable() && IsRegularFile(path)) // a FIFO would hold the font loader for ever
        font.id = QFontDatabase::addApplicationFont(path);
    fonts.append(font);
}

void UnregisterSkinFonts() {
    QList<RegisteredFont>& fonts = Registered();
    if (fonts.isEmpty())
        return;
    if (HaveFontTable()) {
        QList<int> removed;
        for (const RegisteredFont& font : std::as_const(fonts)) {
            if (font.id != -1 && !removed.contains(font.id)) {
                QFontDatabase::removeApplicationFont(font.id);
                removed.append(font.id);
            }
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
