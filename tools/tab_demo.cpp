// Shows a row of four tabs built in code (no files needed) on one screen edge and opens one, for
// looking at the tab windows under a real X server:
//
//   tab_demo [bottom|left|top|right] [--open N] [--align topleft|center|bottomright]
//            [--alpha V] [--skin NAME [--app PROGRAM_FOLDER]] [--report FILE]
//
// With --skin a shipped skin is loaded from the program folder (default: Kelvara beside the
// tools folder); otherwise a skin is drawn in code.
// The opened tab stays open (its leave detection is switched off), so a screenshot shows it.
// With --report FILE gets a line per window once the opened tab has come to rest: index, x, y,
// width, height, translucent (0/1), HeadHeight, ItemHeight and the number of items.

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QSaveFile>
#include <QTextStream>
#include <QTimer>
#include <QTransform>

#include "platform/x11_compositor.h"
#include "skins/skin.h"
#include "skins/skin_list.h"
#include "tabs/tab.h"
#include "tabwindow/tab_window.h"
#include "tabwindow/work_area.h"

namespace {

const QRgb Key = PixelFromColour(KeyColour);

// Turns a bottom-edge picture for another edge, as loading a skin does.
QImage ForEdge(const QImage& picture, TabEdge edge) {
    const int angle = edge == TabEdge::Top     ? 180
                      : edge == TabEdge::Left  ? 90
                      : edge == TabEdge::Right ? 270
                                               : 0;
    return angle == 0 ? picture : picture.transformed(QTransform().rotate(angle));
}

// A head picture: a vertical gradient with its two top corners cut round into KeyColour.
QImage HeadPicture(int w, int h, QColor colour, int r) {
    QImage image(w, h, QImage::Format_RGB32);
    {
        QPainter p(&image);
        QLinearGradient g(0, 0, 0, h);
        g.setColorAt(0, colour.lighter(150));
        g.setColorAt(1, colour);
        p.fillRect(image.rect(), g);
    }
    QRegion inside(0, 0, 2 * r, 2 * r, QRegion::Ellipse);
    inside += QRegion(w - 2 * r, 0, 2 * r, 2 * r, QRegion::Ellipse);
    inside += QRegion(r, 0, w - 2 * r, r);
    inside += QRegion(0, r, w, h - r);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (!inside.contains(QPoint(x, y)))
                image.setPixel(x, y, Key);
    return image;
}

QImage ItemPicture(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    QPainter p(&image);
    p.setPen(colour.darker(130));
    p.drawLine(0, h - 1, w - 1, h - 1);
    return image;
}

QImage Icon(QColor colour, QChar letter) {
    QImage icon(32, 32, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(colour.darker(150));
    p.drawEllipse(1, 1, 30, 30);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(18);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(icon.rect(), Qt::AlignCenter, QString(letter));
    return icon;
}

TSkin DemoSkin(TabEdge edge) {
    TSkin skin;
    skin.Name = QStringLiteral("Demo");
    skin.TabWidth = 128;
    skin.TabHeight = 20;
    skin.HeadHeight = 22;
    skin.ItemHeight = 40;
    skin.RoundRad = 6;
    const QColor heads[] = {QColor(70, 110, 190), QColor(60, 150, 90), QColor(190, 120, 50),
                            QColor(150, 70, 160)};
    for (const QColor& c : heads)
        skin.TabBitmaps.append(ForEdge(HeadPicture(128, 22, c, 6), edge));
    skin.ItemBitmaps = {ForEdge(ItemPicture(128, 40, QColor(235, 238, 245)), edge),
                        ForEdge(ItemPicture(128, 40, QColor(220, 226, 238)), edge)};
    skin.ItemHBitmaps = {ForEdge(ItemPicture(128, 40, QColor(60, 90, 170)), edge)};
    skin.TitleFont = skin.TextFont = QStringLiteral("DejaVu Sans");
    skin.TitleFontSize = 8;
    skin.TextFontSize = 7;
    skin.TitleFontColor = MakeColourValue(255, 255, 255);
    skin.FontColor = MakeColourValue(30, 30, 40);
    skin.SelFontColor = MakeColourValue(255, 255, 255);
    skin.UseIcon = skin.UseText = skin.UseTitle = true;
    skin.TitlePos = {0, 1, 128, 20};
    skin.IconPos = {4, 4, 32, 32};
    skin.TextPos = {40, 4, 84, 32};
    skin.TabShape = ShapeKind::Rounded;
    return skin;
}

TabEdge EdgeNamed(const QString& name) {
    if (name == QLatin1String("left"))
        return TabEdge::Left;
    if (name == QLatin1String("top"))
        return TabEdge::Top;
    if (name == QLatin1String("right"))
        return TabEdge::Right;
    return TabEdge::Bottom;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    Settings settings;
    settings.Spacing = 12;
    settings.Screen = 1;
    settings.OpenAnim = AnimMode::Accelerated;
    settings.CloseAnim = AnimMode::Accelerated;
    settings.TabAlign = TabAlignment::Center;
    int openIndex = -1;
    QString report;
    QString skinName;
    QString appDir = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../Kelvara")) +
                     QLatin1Char('/');
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == QLatin1String("--open") && hasValue) {
            openIndex = args[++i].toInt();
        } else if (a == QLatin1String("--align") && hasValue) {
            const QString v = args[++i];
            settings.TabAlign = v == QLatin1String("topleft")       ? TabAlignment::TopLeft
                                : v == QLatin1String("bottomright") ? TabAlignment::BottomRight
                                                                    : TabAlignment::Center;
        } else if (a == QLatin1String("--alpha") && hasValue) {
            settings.Alpha = true;
            settings.AlphaV = args[++i].toInt();
        } else if (a == QLatin1String("--skin") && hasValue) {
            skinName = args[++i];
        } else if (a == QLatin1String("--app") && hasValue) {
            appDir = QDir::cleanPath(args[++i]) + QLatin1Char('/');
        } else if (a == QLatin1String("--report") && hasValue) {
            report = args[++i];
        } else {
            settings.TabPos = EdgeNamed(a);
        }
    }

    TSkin skin;
    if (skinName.isEmpty()) {
        skin = DemoSkin(settings.TabPos);
    } else {
        try {
            skin.Load(skinName, settings, FindSkins({appDir}), {appDir}, true);
        } catch (const Error& e) {
            std::fprintf(stderr, "%s\n", e.what());
            return 1;
        }
    }
    TabContext context;
    context.settings = &settings;
    context.skin = &skin;
    context.aot = StackingMode::Normal;
    context.compositing = CompositorRunning();

    const QStringList names = {QStringLiteral("Programs"), QStringLiteral("Games"),
                               QStringLiteral("Documents"), QStringLiteral("System")};
    const QStringList captions = {QStringLiteral("Text Editor"), QStringLiteral("Terminal"),
                                  QStringLiteral("Web Browser with a long name"),
                                  QStringLiteral("Calculator"), QStringLiteral("Image Viewer")};
    const QColor iconColours[] = {Qt::darkRed, Qt::darkGreen, Qt::darkBlue, Qt::darkMagenta, Qt::darkCyan};
    QList<TfrmTab*> windows;
    for (int t = 0; t < names.size(); ++t) {
        auto* window = new TfrmTab(context);
        TTab& tab = window->TabModel();
        tab.TabName = names[t];
        tab.TabIndex = t;
        tab.TabCount = static_cast<qint32>(names.size());
        for (int i = 0; i < 3 + t % 3; ++i) {
            TItem item;
            item.Index = i;
            item.Data.Name = captions[i];
            item.Icon = Icon(iconColours[i], captions[i][0]);
            tab.Items.append(item);
        }
        tab.ItemsLength = static_cast<qint32>(tab.Items.size()) * skin.ItemHeight;
        windows.append(window);
    }
    PlaceTabs(windows, context);
    ScreenWatcher watcher;
    QObject::connect(&watcher, &ScreenWatcher::changed, [&] { PlaceTabs(windows, context); });
    for (TfrmTab* window : windows)
        window->show();

    if (openIndex >= 0 && openIndex < windows.size()) {
        TfrmTab* window = windows[openIndex];
        QTimer::singleShot(300, window, [window] {
            window->SetOpen(true);
            window->tmrDrop().stop(); // keep it open for the screenshot
            window->SetHotIndex(1);
        });
    }
    if (!report.isEmpty()) {
        // The report is written once the opened tab has come to rest (at once when none opens),
        // and put in place whole, so a script that finds it may read it.
        auto* settle = new QTimer(&app);
        QObject::connect(settle, &QTimer::timeout, &app, [&, settle] {
            if (openIndex >= 0 && openIndex < windows.size() &&
                (!windows[openIndex]->Open() || windows[openIndex]->tmrAnim().isActive()))
                return;
            settle->stop();
            QSaveFile file(report);
            if (!file.open(QIODevice::WriteOnly))
                return;
            QTextStream out(&file);
            for (int t = 0; t < windows.size(); ++t) {
                const QRect g = windows[t]->geometry();
                out << t << ' ' << g.x() << ' ' << g.y() << ' ' << g.width() << ' ' << g.height() << ' '
                    << (windows[t]->Translucent() ? 1 : 0) << ' ' << skin.HeadHeight << ' ' << skin.ItemHeight
                    << ' ' << windows[t]->TabModel().Items.size() << '\n';
            }
            out.flush();
            file.commit();
        });
        settle->start(20);
    }
    return app.exec();
}
