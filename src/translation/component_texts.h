#pragma once

#include <QString>

class QObject;

// The kinds of component whose texts a translation file carries. Qt classes stand for them:
// QLabel for labels and static texts, QPushButton, QRadioButton and QCheckBox for the buttons and
// check boxes (caption and hint); QAction for menu items (caption only); QTreeView for tree views
// (node texts). Every other class keeps its built-in texts: tool buttons, group boxes, page tabs,
// combo boxes, edit boxes and window titles among them.
enum class ComponentKind { Other, CaptionAndHint, MenuItem, TreeView };

// Classifies by class name so that the walk needs no widget library.
ComponentKind KindOf(const QObject* component);

// A window of its own inside another form's tree: a dialog, a main window or an object that
// carries the dynamic property "form" = true. The walk of the outer form does not enter it.
bool IsNestedForm(const QObject* component);

// The dynamic property "tag" == -1 excludes a component and all it owns from translation.
bool IsExcludedFromTranslation(const QObject* component);

// Caption (the "text" property) and hint (the "toolTip" property) of a component.
QString CaptionOf(const QObject* component);
void SetCaption(QObject* component, const QString& text);
QString HintOf(const QObject* component);
void SetHint(QObject* component, const QString& text);
