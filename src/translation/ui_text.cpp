#include "translation/ui_text.h"

#include <memory>
#include <mutex>

#include <QFileInfo>

#include "common/error.h"
#include "common/ini_file.h"
#include "common/names.h"

namespace {

struct ActiveTexts {
    std::mutex lock;
    std::shared_ptr<const IniFile> file;
};

ActiveTexts& Active() {
    static ActiveTexts active;
    return active;
}

} // namespace

QString UiText(const char* key, const char* english) {
    const QString builtIn = QString::fromUtf8(english);
    std::shared_ptr<const IniFile> file;
    {
        const std::lock_guard<std::mutex> guard(Active().lock);
        file = Active().file;
    }
    if (!file)
        return builtIn;
    try {
        return UnescapeName(file->readString(TextsSection, QString::fromLatin1(key), EscapeName(builtIn)));
    } catch (const Error&) {
        // A malformed value never keeps a message from being shown: it stays English.
        return builtIn;
    }
}

QString Worded(const UserText& text) {
    return text.wordedBy(&UiText);
}

void LoadUiTexts(const QString& path) {
    std::shared_ptr<const IniFile> file;
    if (!path.isEmpty() && QFileInfo(path).isFile())
        file = std::make_shared<const IniFile>(path);
    const std::lock_guard<std::mutex> guard(Active().lock);
    Active().file = std::move(file);
}

void WriteUiTexts(IniFile& file) {
    for (const CatalogText& text : UiTextCatalog())
        file.writeString(TextsSection, QString::fromLatin1(text.key),
                         EscapeName(QString::fromUtf8(text.english)));
}
