#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include "formats/shortcut_link.h"
#include "qt_app_environment.h"
#include "tab_test_skin.h"
#include "tabwindow/tab_host.h"
#include "tabwindow/tab_window.h"

// Names written as one text separated by spaces.
inline QStringList Names(const char* names) {
    return QString::fromUtf8(names).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// A controller stand-in that records what a tab window asks of it.
class RecordingHost : public TabHost {
public:
    void RequestRebuild() override { ++rebuilds; }
    void ShowPopup(const TItem& target, const QPoint& screenPos, TfrmTab*) override {
        popups.append(target);
        popupPos = screenPos;
    }
    int TabWindowCount() const override { return tabCount; }
    bool AskUser(const QString&, const QString& text) override {
        questions.append(text);
        return answer;
    }

    void OwnChangeShown() override { ++ownChanges; }

    int rebuilds = 0;
    int ownChanges = 0;
    QList<TItem> popups;
    QPoint popupPos;
    int tabCount = 1;
    bool answer = true;
    QStringList questions;
};

// A tabs folder in a temporary folder with one tab window on the bottom edge, fully open.
class TabWindowFixture {
public:
    explicit TabWindowFixture(const QString& tabName = QStringLiteral("Tools")) {
        // The offscreen platform can neither shape windows nor grab the mouse for a tab drag, and
        // says so every time.
        static const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                if (!message.contains(QLatin1String("does not support grabbing the mouse")) &&
                    !message.contains(QLatin1String("does not support setting window masks")))
                    previous(type, context, message);
            });
        root = dir.path();
        tabsFolder = root + QStringLiteral("/Tabs");
        tabFolder = tabsFolder + QLatin1Char('/') + tabName;
        QDir().mkpath(tabFolder);
        skin = PlainSkin();
        settings.TabPos = TabEdge::Bottom;
        settings.Spacing = 12;
        settings.OpenAnim = settings.CloseAnim = AnimMode::Off;
        context.settings = &settings;
        context.skin = &skin;
        context.workArea = [] { return QRect(0, 0, 1024, 768); };
        context.host = &host;
        this->tabName = tabName;
    }

    // Writes a shortcut with this target into folder (the tab folder when empty).
    QString WriteLink(const QString& name, const QString& target = QStringLiteral("/bin/true"),
                      const QString& folder = QString()) {
        TShortcutLink link;
        link.ShortcutFile = (folder.isEmpty() ? tabFolder : folder) + QLatin1Char('/') + name;
        link.Target = target;
        link.Write();
        return link.ShortcutFile;
    }

    void WriteOrder(const QString& folder, const QStringList& names) {
        QFile file(folder + QStringLiteral("/order.lst"));
        file.open(QIODevice::WriteOnly);
        for (const QString& name : names)
            file.write(name.toUtf8() + "\r\n");
    }

    QStringList ReadOrder(const QString& folder) const {
        QFile file(folder + QStringLiteral("/order.lst"));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    // Writes a script that records its arguments in the file it returns, and a shortcut name in
    // the tab folder that runs it with arguments. The record is renamed into place, so it is
    // whole once it exists.
    QString WriteRecordingLink(const QString& name, const QString& arguments) {
        const QString marker = root + QStringLiteral("/launched");
        const QString script = root + QStringLiteral("/launch.sh");
        QFile file(script);
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\necho \"$@\" > \"" + marker.toUtf8() + ".tmp\"\nmv \"" + marker.toUtf8() +
                   ".tmp\" \"" + marker.toUtf8() + "\"\n");
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
        TShortcutLink link;
        link.ShortcutFile = tabFolder + QLatin1Char('/') + name;
        link.Target = script;
        link.Arguments = arguments;
        link.Write();
        return marker;
    }

    // Creates the window and reads the items; the tab stays closed.
    TfrmTab& Build() {
        window = std::make_unique<TfrmTab>(context);
        window->TabModel().TabName = tabName;
        window->TabModel().TabFolder = tabFolder;
        window->TabModel().LoadItems();
        window->RebuildImage();
        return *window;
    }

    // Creates the window, reads the items and opens the tab all the way.
    TfrmTab& Open() {
        Build();
        window->SetOpen(true);
        Animate();
        return *window;
    }

    // Ticks the animation until its timer stops; one that still runs after 1000 ticks never ends.
    void Animate() {
        for (int ticks = 0; window->tmrAnim().isActive(); ++ticks) {
            if (ticks == 1000) {
                ADD_FAILURE() << "the tab's animation still ran after 1000 ticks";
                return;
            }
            window->tmrAnimTimer();
        }
    }

    QStringList Captions() const {
        QStringList names;
        for (const TItem& item : window->TabModel().Items)
            names.append(item.Data.Name);
        return names;
    }

    QTemporaryDir dir;
    QString root;
    QString tabsFolder;
    QString tabFolder;
    QString tabName;
    TSkin skin;
    Settings settings;
    RecordingHost host;
    TabContext context;
    std::unique_ptr<TfrmTab> window;
};
