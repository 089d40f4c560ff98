#pragma once

class QAction;
class QMenu;
class QWidget;

// The program's only menu, pmMain, as the controller owns it. Translation files address its
// items by these names, so the controller and the template generator build it the same way.
struct MainMenu {
    QMenu* pmMain = nullptr;
    QAction* Config1 = nullptr;
    QAction* N2 = nullptr;
    QAction* NewTab1 = nullptr;
    QAction* AddApplications1 = nullptr;
    QAction* Refresh1 = nullptr;
    QAction* Advanced1 = nullptr;
    QAction* WriteTranslationFile1 = nullptr;
    QAction* N3 = nullptr;
    QAction* Rename1 = nullptr;
    QAction* Edit1 = nullptr;
    QAction* Delete1 = nullptr;
    QAction* N1 = nullptr;
    QAction* Exit1 = nullptr;
};

// Builds pmMain with its items, captions and separators as a child of form.
MainMenu BuildMainMenu(QWidget* form);
