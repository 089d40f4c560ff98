#include "core/main_menu.h"

#include <QMenu>

namespace {

QAction* AddItem(QMenu* menu, const char* name, const QString& caption) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// Separators carry the tag -1, which keeps them out of translation files.
QAction* AddSeparator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    action->setProperty("tag", -1);
    return action;
}

} // namespace

MainMenu BuildMainMenu(QWidget* form) {
    MainMenu menu;
    menu.pmMain = new QMenu(form);
    menu.pmMain->setObjectName(QStringLiteral("pmMain"));
    menu.Config1 = AddItem(menu.pmMain, "Config1", QStringLiteral("&Config"));
    menu.N2 = AddSeparator(menu.pmMain, "N2");
    menu.NewTab1 = AddItem(menu.pmMain, "NewTab1", QStringLiteral("&New Tab"));
    menu.AddApplications1 = AddItem(menu.pmMain, "AddApplications1", QStringLiteral("Add &Applications..."));
    menu.Refresh1 = AddItem(menu.pmMain, "Refresh1", QStringLiteral("Re&fresh"));
    auto* advanced = new QMenu(QStringLiteral("Advanced"), menu.pmMain);
    advanced->setObjectName(QStringLiteral("mnuAdvanced"));
    menu.Advanced1 = menu.pmMain->addMenu(advanced);
    menu.Advanced1->setObjectName(QStringLiteral("Advanced1"));
    menu.WriteTranslationFile1 =
        AddItem(advanced, "WriteTranslationFile1", QStringLiteral("Write Translation File"));
    menu.N3 = AddSeparator(menu.pmMain, "N3");
    menu.Rename1 = AddItem(menu.pmMain, "Rename1", QStringLiteral("&Rename"));
    menu.Edit1 = AddItem(menu.pmMain, "Edit1", QStringLiteral("&Edit"));
    menu.Delete1 = AddItem(menu.pmMain, "Delete1", QStringLiteral("&Delete"));
    menu.N1 = AddSeparator(menu.pmMain, "N1");
    menu.Exit1 = AddItem(menu.pmMain, "Exit1", QStringLiteral("E&xit"));
    return menu;
}
