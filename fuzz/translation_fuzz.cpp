// Reads arbitrary bytes as a translation file into a small form of real widgets (labels, buttons,
// check boxes, menu items, a tree view, a component tagged -1 and a nested dialog). A malformed
// escape may raise Error; otherwise the texts, written out as a translation file and read into a
// fresh form, come back unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include "common/error.h"
#include "common/ini_file.h"
#include "common/names.h"
#include "translation/translation.h"
#include "translation/translation_walk.h"

namespace {

// The profile functions give at most this many characters of a value.
constexpr qsizetype MaxValueLength = 2047;

template <typename T> T* Named(QWidget* parent, const char* name) {
    T* component = new T(parent);
    component->setObjectName(QString::fromLatin1(name));
    return component;
}

std::unique_ptr<QWidget> MakeForm() {
    auto form = std::make_unique<QWidget>();
    form->setObjectName(QStringLiteral("frmConfig"));
    Named<QLabel>(form.get(), "lblName")->setText(QStringLiteral("Name"));
    Named<QPushButton>(form.get(), "btnOK")->setToolTip(QStringLiteral("Close"));
    Named<QCheckBox>(form.get(), "chkAlpha")->setText(QStringLiteral("&Alpha"));
    Named<QRadioButton>(form.get(), "rbLeft")->setText(QStringLiteral("Left"));
    Named<QLabel>(form.get(), "lblHidden")->setProperty("tag", -1);
    auto* menu = Named<QMenu>(form.get(), "pmMain");
    menu->addAction(QStringLiteral("&Config"))->setObjectName(QStringLiteral("Config1"));
    menu->addAction(QStringLiteral("E&xit"))->setObjectName(QStringLiteral("Exit1"));
    auto* tree = Named<QTreeWidget>(form.get(), "tvwPages");
    auto* general = new QTreeWidgetItem(tree, QStringList(QStringLiteral("General")));
    new QTreeWidgetItem(general, QStringList(QStringLiteral("Skins")));
    new QTreeWidgetItem(tree, QStringList(QStringLiteral("About")));
    auto* nested = Named<QDialog>(form.get(), "frmNested");
    Named<QLabel>(nested, "lblInner")->setText(QStringLiteral("Inner"));
    return form;
}

// Calls text(getter, setter) for every text a translation carries, in one fixed order.
template <typename F> void ForEachText(QWidget& form, F&& text) {
    for (QObject* child : form.findChildren<QObject*>()) {
        for (const char* property : {"text", "toolTip"}) {
            if (child->property(property).isValid())
                text([=] { return child->property(property).toString(); },
                     [=](const QString& value) { child->setProperty(property, value); });
        }
    }
    auto* tree = form.findChild<QTreeWidget*>(QStringLiteral("tvwPages"));
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        QTreeWidgetItem* node = *it;
        text([=] { return node->text(0); }, [=](const QString& value) { node->setText(0, value); });
    }
}

QStringList Texts(QWidget& form) {
    QStringList texts;
    ForEachText(form, [&](auto get, auto) { texts << get(); });
    return texts;
}

void SetTexts(QWidget& form, const QStringList& texts) {
    qsizetype i = 0;
    ForEachText(form, [&](auto, auto set) { set(texts.at(i++)); });
}

// A text survives a round trip when the file can hold it: the reader drops blanks around values
// and cuts them at MaxValueLength, and a lone surrogate has no UTF-8 form.
bool RoundTrips(const QString& text) {
    return text == text.trimmed() && text.isValidUtf16() && EscapeName(text).size() <= MaxValueLength;
}

QString FilePath() {
    return QDir::tempPath() +
           QStringLiteral("/translation_fuzz_%1.txt").arg(QCoreApplication::applicationPid());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile file(FilePath());
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size))
            std::abort();
    }
    // The forms are made once (widgets are slow to make) and get their built-in texts back for
    // every input.
    static const std::unique_ptr<QWidget> form = MakeForm();
    static const std::unique_ptr<QWidget> copy = MakeForm();
    static const QStringList builtIn = Texts(*form);
    SetTexts(*form, builtIn);
    SetTexts(*copy, builtIn);
    try {
        ApplyTranslation(form.get(), FilePath(), ConfigSection);
    } catch (const Error&) {
        return 0;
    }
    const QStringList texts = Texts(*form);
    for (const QString& text : texts) {
        if (!RoundTrips(text))
            return 0;
    }

    IniFile written = IniFile::fromData(FilePath(), QByteArrayView());
    WriteTranslationKeys(form.get(), written, ConfigSection);
    const IniFile reread = IniFile::fromData(FilePath(), written.serialize());
    ReadTranslation(copy.get(), reread, ConfigSection);
    if (Texts(*copy) != texts)
        std::abort();
    return 0;
}
