#pragma once

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// "Ooops!": the window that collects the messages of errors no handler dealt with, one a line,
// until the user clears it. The close box only hides it and keeps the lines.
class TfrmError : public QWidget {
    Q_OBJECT

public:
    explicit TfrmError(QWidget* parent = nullptr);

    // Appends the message as a new last line.
    void AppendLine(const QString& message);
    QStringList Lines() const;

private:
    void Button1Click();

    QLabel* Label1;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;
};
