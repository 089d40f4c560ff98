#include "ui/item_properties_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "tabs/tab.h"
#include "translation/ui_text.h"

namespace {

QLineEdit* AddLine(QFormLayout* form, const char* name, const QString& label, const QString& text) {
    auto* edit = new QLineEdit(text);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(320);
    form->addRow(label, edit);
    return edit;
}

} // namespace

TfrmItemProperties::TfrmItemProperties(const QString& linkFile, QWidget* owner)
    : QDialog(owner), m_file(linkFile), m_isEntry(IsDesktopEntryName(linkFile)) {
    setObjectName(QStringLiteral("frmItemProperties"));
    if (m_isEntry) {
        m_entry = ReadDesktopEntryFields(linkFile);
    } else {
        m_link.ShortcutFile = linkFile;
        m_link.Read();
    }
    setWindowTitle(UiText("Edit.Title", "%1 Properties").arg(QFileInfo(linkFile).completeBaseName()));

    auto* form = new QFormLayout(this);
    if (m_isEntry)
        AddEntryFields(form);
    else
        AddShortcutFields(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(UiText("Button.OK", "OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(UiText("Button.Cancel", "Cancel"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        Save();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void TfrmItemProperties::AddShortcutFields(QFormLayout* form) {
    m_target = AddLine(form, "edtTarget", UiText("Edit.Target", "&Target:"), m_link.Target);
    m_arguments = AddLine(form, "edtArguments", UiText("Edit.Arguments", "&Arguments:"), m_link.Arguments);
    m_workingDir = AddLine(form, "edtWorkingDir", UiText("Edit.StartIn", "&Start in:"), m_link.WorkingDir);
    m_description = AddLine(form, "edtDescription", UiText("Edit.Comment", "&Comment:"), m_link.Description);
    m_iconLocation =
        AddLine(form, "edtIconLocation", UiText("Edit.IconFile", "&Icon file:"), m_link.IconLocation);
    m_iconNumber = new QSpinBox;
    m_iconNumber->setObjectName(QStringLiteral("edtIconNumber"));
    m_iconNumber->setRange(0, 65535);
    m_iconNumber->setValue(m_link.IconNumber);
    form->addRow(UiText("Edit.IconNumber", "Icon &number:"), m_iconNumber);
    m_showCmd = new QComboBox;
    m_showCmd->setObjectName(QStringLiteral("cbxShowCmd"));
    m_showCmd->addItem(UiText("Edit.NormalWindow", "Normal window"), int(scShowNormal));
    m_showCmd->addItem(UiText("Edit.Minimized", "Minimized"), int(scShowMinimized));
    m_showCmd->addItem(UiText("Edit.Maximized", "Maximized"), int(scShowMaximized));
    m_showCmd->setCurrentIndex(m_showCmd->findData(int(m_link.ShowCmd)));
    form->addRow(UiText("Edit.Run", "&Run:"), m_showCmd);
}

// A desktop entry names itself and holds one command line; its icon is a theme name or a file.
void TfrmItemProperties::AddEntryFields(QFormLayout* form) {
    m_name = AddLine(form, "edtName", UiText("Edit.Name", "&Name:"), m_entry.name);
    // A link entry's target is its address.
    m_target = AddLine(form, "edtTarget",
                       m_entry.link ? UiText("Edit.Target", "&Target:") : UiText("Edit.Command", "Co&mmand:"),
                       m_entry.command);
    m_workingDir = AddLine(form, "edtWorkingDir", UiText("Edit.StartIn", "&Start in:"), m_entry.workingDir);
    m_description = AddLine(form, "edtDescription", UiText("Edit.Comment", "&Comment:"), m_entry.comment);
    m_iconLocation = AddLine(form, "edtIconLocation", UiText("Edit.Icon", "&Icon:"), m_entry.icon);
}

void TfrmItemProperties::Save() {
    if (m_isEntry) {
        DesktopEntryFields fields = m_entry;
        fields.name = m_name->text();
        fields.command = m_target->text();
        fields.workingDir = m_workingDir->text();
        fields.comment = m_description->text();
        fields.icon = m_iconLocation->text();
        WriteDesktopEntryFields(m_file, m_entry, fields);
        m_entry = fields;
        return;
    }
    m_link.Target = m_target->text();
    m_link.Arguments = m_arguments->text();
    m_link.WorkingDir = m_workingDir->text();
    m_link.Description = m_description->text();
    m_link.IconLocation = m_iconLocation->text();
    m_link.IconNumber = quint16(m_iconNumber->value());
    m_link.ShowCmd = TShowCmd(m_showCmd->currentData().toInt());
    m_link.Write();
}

void ShowItemProperties(const QString& linkFile, QWidget* owner) {
    auto* dialog = new TfrmItemProperties(linkFile, owner);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowFlag(Qt::Window);
    dialog->show();
}
