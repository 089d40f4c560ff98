#include "platform/user_prompts.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>
#include <QPushButton>
#include <QVBoxLayout>

#include "translation/ui_text.h"

QString ApplicationCaption() {
    return QStringLiteral("Kelvara 2.0");
}

std::unique_ptr<QDialog> MakeMessageBox(QWidget* owner, const QString& caption, const QString& text) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, owner);
    box->setTextFormat(Qt::PlainText);
    box->button(QMessageBox::Ok)->setText(UiText("Button.OK", "OK"));
    const QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    // Room for the window frame, which the box's own size does not count.
    const int tallest = available.height() - 2 * box->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    if (box->sizeHint().height() <= tallest)
        return box;

    auto scrolling = std::make_unique<QDialog>(owner);
    scrolling->setWindowTitle(caption);
    auto* layout = new QVBoxLayout(scrolling.get());
    auto* lines = new QPlainTextEdit(text, scrolling.get());
    lines->setObjectName(QStringLiteral("text"));
    lines->setReadOnly(true);
    lines->setFrameShape(QFrame::NoFrame);
    QPalette face = lines->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    lines->setPalette(face);
    layout->addWidget(lines);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, scrolling.get());
    buttons->button(QDialogButtonBox::Ok)->setText(UiText("Button.OK", "OK"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, scrolling.get(), &QDialog::accept);
    layout->addWidget(buttons);
    const int width = std::min(available.width(), std::max(box->sizeHint().width(), 480));
    scrolling->resize(width, tallest);
    scrolling->move(available.x() + (available.width() - width) / 2, available.y());
    return scrolling;
}

void MessageBoxPrompts::message(QWidget* owner, const QString& caption, const QString& text) {
    MakeMessageBox(owner, caption, text)->exec();
}

bool MessageBoxPrompts::question(QWidget* owner, const QString& caption, const QString& text,
                                 bool noByDefault) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No, owner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(noByDefault ? QMessageBox::No : QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(UiText("Button.Yes", "&Yes"));
    box.button(QMessageBox::No)->setText(UiText("Button.No", "&No"));
    return box.exec() == QMessageBox::Yes;
}

QString MessageBoxPrompts::askText(QWidget* owner, const QString& title, const QString& prompt,
                                   const QString& defaultText) {
    QInputDialog box(owner);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    box.setOkButtonText(UiText("Button.OK", "OK"));
    box.setCancelButtonText(UiText("Button.Cancel", "Cancel"));
    // The prompt may come from a translation: shown as written, never as markup.
    for (QLabel* label : box.findChildren<QLabel*>())
        label->setTextFormat(Qt::PlainText);
    return box.exec() == QDialog::Accepted ? box.textValue() : defaultText;
}

UserPrompts& DefaultUserPrompts() {
    static MessageBoxPrompts prompts;
    return prompts;
}
