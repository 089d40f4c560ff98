#pragma once

#include <QDialog>

#include "formats/shortcut_link.h"

class QComboBox;
class QLineEdit;
class QSpinBox;

// The properties of one item's shortcut file: target, arguments, working folder, description,
// icon and show command, edited in place. It stays open on its own (modeless); what the user
// saves shows at the next rebuild of the tab set.
class TfrmItemProperties : public QDialog {
    Q_OBJECT
public:
    // Reads the shortcut file; raises the reader's error when it cannot be read.
    TfrmItemProperties(const QString& linkFile, QWidget* owner = nullptr);

    // Writes the edited fields back to the shortcut file (raising the writer's error).
    void Save();

    QLineEdit* edtTarget() const { return m_target; }
    QLineEdit* edtArguments() const { return m_arguments; }
    QLineEdit* edtWorkingDir() const { return m_workingDir; }
    QLineEdit* edtDescription() const { return m_description; }
    QLineEdit* edtIconLocation() const { return m_iconLocation; }
    QSpinBox* edtIconNumber() const { return m_iconNumber; }
    QComboBox* cbxShowCmd() const { return m_showCmd; }

private:
    TShortcutLink m_link;
    QLineEdit* m_target;
    QLineEdit* m_arguments;
    QLineEdit* m_workingDir;
    QLineEdit* m_description;
    QLineEdit* m_iconLocation;
    QSpinBox* m_iconNumber;
    QComboBox* m_showCmd;
};

// Opens the properties of the shortcut file in a modeless dialog that deletes itself on close.
void ShowItemProperties(const QString& linkFile, QWidget* owner);
