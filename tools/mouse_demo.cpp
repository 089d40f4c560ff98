// A small stand-in for the launcher for the real-window tests of the mouse and drop handling:
// it shows one tab window per folder of a tabs folder, in the order of its order file, on the
// bottom edge with a plain skin, and plays the controller's part for them (rebuilds, a popup menu
// named "pmMain", questions answered by message boxes).
//
// Usage: mouse_demo TABS_FOLDER
#include <cstdio>

#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include "common/error.h"
#include "skins/skin.h"
#include "tabs/order_file.h"
#include "tabwindow/tab_host.h"
#include "tabwindow/tab_window.h"
#include "platform/user_question.h"

namespace {

QImage Solid(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// The default metrics: tabs 128 wide, a closed tab shows 16 of its 17 head pixels, items 40 high.
TSkin PlainSkin() {
    TSkin skin;
    skin.Name = QStringLiteral("Plain");
    skin.TabWidth = 128;
    skin.TabHeight = 16;
    skin.HeadHeight = 17;
    skin.ItemHeight = 40;
    skin.TabBitmaps = {Solid(128, 17, QColor(70, 110, 190))};
    skin.ItemBitmaps = {Solid(128, 40, QColor(235, 238, 245))};
    skin.ItemHBitmaps = {Solid(128, 40, QColor(60, 90, 170))};
    skin.TitleFont = skin.TextFont = QStringLiteral("DejaVu Sans");
    skin.TitleFontSize = skin.TextFontSize = 8;
    skin.TitleFontColor = MakeColourValue(255, 255, 255);
    skin.FontColor = MakeColourValue(30, 30, 40);
    skin.SelFontColor = MakeColourValue(255, 255, 255);
    skin.UseText = skin.UseTitle = true;
    skin.TitlePos = {0, 0, 128, 16};
    skin.TextPos = {8, 4, 112, 32};
    skin.TabShape = skin.ItemShape = ShapeKind::Rect;
    return skin;
}

class DemoHost : public TabHost {
public:
    explicit DemoHost(QString tabsFolder) : m_tabsFolder(std::move(tabsFolder)), m_skin(PlainSkin()) {
        m_settings.Spacing = 12;
        m_settings.OpenAnim = m_settings.CloseAnim = AnimMode::Linear;
        m_context.settings = &m_settings;
        m_context.skin = &m_skin;
        m_context.layeredMode = false;
        m_context.host = this;
        m_menu.setObjectName(QStringLiteral("pmMain"));
        m_menu.setWindowTitle(QStringLiteral("pmMain"));
        m_menu.addAction(QStringLiteral("&Config"));
        m_menu.addAction(QStringLiteral("E&xit"), qApp, &QApplication::quit);
    }

    void RequestRebuild() override {
        for (const QPointer<TfrmTab>& window : std::as_const(m_windows)) {
            if (window) {
                window->hide();
                window->deleteLater();
            }
        }
        m_windows.clear();
        const QList<OrderedName> names = OrderedListing(m_tabsFolder, QStringLiteral("*.*"), false, true);
        QList<TfrmTab*> row;
        for (qsizetype i = 0; i < names.size(); ++i) {
            auto* window = new TfrmTab(m_context);
            window->setWindowTitle(QStringLiteral("Kelvara tab ") + names.at(i).name);
            TTab& model = window->TabModel();
            model.TabName = names.at(i).name;
            model.TabFolder = m_tabsFolder + QLatin1Char('/') + names.at(i).entryName;
            try {
                model.LoadItems();
            } catch (const Error& e) {
                std::fprintf(stderr, "%s\n", qPrintable(e.message()));
            }
            model.TabIndex = int(i);
            model.TabCount = int(names.size());
            window->RebuildImage();
            m_windows.append(window);
            row.append(window);
        }
        PlaceTabs(row, m_context);
        for (TfrmTab* window : std::as_const(row))
            window->show();
    }

    void ShowPopup(const TItem& target, const QPoint& screenPos, TfrmTab* opener) override {
        const bool anim = opener->tmrAnim().isActive();
        const bool drop = opener->tmrDrop().isActive();
        opener->tmrAnim().stop();
        opener->tmrDrop().stop();
        m_popupItem = target;
        m_menu.exec(screenPos);
        if (anim)
            opener->tmrAnim().start();
        if (drop)
            opener->tmrDrop().start();
    }

    int TabWindowCount() const override { return int(m_windows.size()); }

    bool AskUser(const QString& caption, const QString& text) override { return AskYesNo(caption, text); }

private:
    QString m_tabsFolder;
    TSkin m_skin;
    Settings m_settings;
    TabContext m_context;
    QList<QPointer<TfrmTab>> m_windows;
    QMenu m_menu;
    TItem m_popupItem;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: mouse_demo TABS_FOLDER\n");
        return 2;
    }
    DemoHost host(app.arguments().at(1));
    host.RequestRebuild();
    return app.exec();
}
