#pragma once

#include <QApplication>
#include <QImage>
#include <QList>
#include <QString>

#include "common/colour.h"
#include "skins/skin.h"
#include "tabs/tab.h"

// Skins and tabs built in code for the tab drawing and window tests.

// Text drawing and windows need an application object; the tests share one.
inline void EnsureApp() {
    static int argc = 1;
    static char name[] = "tab_test";
    static char* argv[] = {name, nullptr};
    // A test program that registers its own application (destroyed before exit) uses that one.
    // Ours is never destroyed: destroyed among the exit handlers, it would run Qt's clean-up
    // routines after Qt's own caches (the icon cache among them) are gone.
    if (!QCoreApplication::instance())
        new QApplication(argc, argv);
    // The offscreen platform cannot shape windows and says so at every shape change.
    static const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (!message.contains(QLatin1String("does not support setting window masks")))
                previous(type, context, message);
        });
}

inline QImage Solid(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A skin with the default metrics, one solid picture per series and no texts.
inline TSkin PlainSkin(int tabWidth = 128) {
    TSkin skin;
    skin.TabWidth = tabWidth;
    skin.TabHeight = 16;
    skin.HeadHeight = 17;
    skin.ItemHeight = 40;
    skin.RoundRad = 4;
    skin.TabBitmaps = {Solid(tabWidth, 17, qRgb(200, 0, 0))};
    skin.ItemBitmaps = {Solid(tabWidth, 40, qRgb(0, 200, 0))};
    skin.ItemHBitmaps = {Solid(tabWidth, 40, qRgb(0, 0, 200))};
    skin.TitleFont = skin.TextFont = QStringLiteral("DejaVu Sans");
    skin.TitleFontSize = skin.TextFontSize = 8;
    skin.FontColor = MakeColourValue(255, 255, 255);
    skin.SelFontColor = MakeColourValue(255, 255, 0);
    skin.TitleFontColor = MakeColourValue(0, 0, 0);
    skin.IconPos = {4, 4, 32, 32};
    skin.TextPos = {40, 4, 80, 32};
    skin.TitlePos = {0, 0, tabWidth, 16};
    return skin;
}

inline void AddItems(TTab& tab, int count, int itemHeight) {
    for (int i = 0; i < count; ++i) {
        TItem item;
        item.Index = i;
        item.Data.Name = QStringLiteral("Item %1").arg(i);
        tab.Items.append(item);
    }
    tab.ItemsLength = static_cast<qint32>(tab.Items.size()) * itemHeight;
}
