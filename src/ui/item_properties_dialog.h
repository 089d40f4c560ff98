#pragma once

#include <QDialog>

#include "formats/shortcut_link.h"
#include "tabs/desktop_entry_edit.h"

class QComboBox;
class QFormLayout;
class QLineEdit;
class QSpinBox;

// The properties of one item's file, edited in place: of a shortcut its target, arguments, working
// folder, description, icon and show command; of a desktop entry its name, command (the address of
// a link entry), working folder, comment and icon. It stays open on its own (modeless); what the
// user saves shows at the next rebuild of the tab set.
class TfrmItemProperties : public QDialog {
    Q_OBJECT
public:
    // Reads the item's file; raises the reader's error when it cannot be read.
    TfrmItemProperties(const QString& linkFile, QWidget* owner = nullptr);

    // Writes the edited fields back to the item's file (raising the writer's error).
    void Save();

    // Fields a desktop entry does not have (its arguments, icon number and show command) are
    // nullptr for one, and the name is nullptr for a shortcut, named by its file.
    QLineEdit* edtName() const { return m_name; }
    QLineEdit* edtTarget() const { return m_target; }
    QLineEdit* edtArguments() const { return m_arguments; }
    QLineEdit* edtWorkingDir() const { return m_workingDir; }
    QLineEdit* edtDescription() const { return m_description; }
    QLineEdit* edtIconLocation() const { return m_iconLocation; }
    QSpinBox* edtIconNumber() const { return m_iconNumber; }
    QComboBox* cbxShowCmd() const { return m_showCmd; }

private:
    void AddShortcutFields(QFormLayout* form);
    void AddEntryFields(QFormLayout* form);

    QString m_file;
    bool m_isEntry;
    TShortcutLink m_link;
    DesktopEntryFields m_entry;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_target = nullptr;
    QLineEdit* m_arguments = nullptr;
    QLineEdit* m_workingDir = nullptr;
    QLineEdit* m_description = nullptr;
    QLineEdit* m_iconLocation = nullptr;
    QSpinBox* m_iconNumber = nullptr;
    QComboBox* m_showCmd = nullptr;
};

// Opens the properties of the item's file in a modeless dialog that deletes itself on close.
void ShowItemProperties(const QString& linkFile, QWidget* owner);
