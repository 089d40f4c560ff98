#include "ui/error_window.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "translation/ui_text.h"

TfrmError::TfrmError(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      Label1(new QLabel(this)), Memo1(new QPlainTextEdit(this)), Button1(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmError"));
    setWindowTitle(UiText("Errors.Title", "Ooops!"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(516, 218);
    // The program has no main window: when the report is the only ordinary window on screen,
    // closing it must not count as closing the last window, which would end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setText(UiText("Errors.Heading", "Errors were encountered:"));
    Label1->move(8, 16);
    Label1->adjustSize();

    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(24, 40, 465, 129);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The text box has the window's own background, so the lines look written on the window.
    QPalette memoPalette = Memo1->palette();
    memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Window));
    Memo1->setPalette(memoPalette);

    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setText(UiText("Errors.Clear", "Clear"));
    Button1->setGeometry(432, 184, 75, 25);
    connect(Button1, &QPushButton::clicked, this, &TfrmError::Button1Click);
}

void TfrmError::AppendLine(const QString& message) {
    Memo1->appendPlainText(message);
}

QStringList TfrmError::Lines() const {
    if (Memo1->document()->isEmpty())
        return {};
    return Memo1->toPlainText().split(QLatin1Char('\n'));
}

void TfrmError::Button1Click() {
    Memo1->clear();
    close();
}
