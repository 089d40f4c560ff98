#pragma once

#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>

// Controls of the settings dialog whose texts come from translation files or skins, which may
// hold anything. Captions and hints are always shown as plain text, never read as markup (a
// translation must not draw headings or load pictures). A control narrower than its caption shows
// the caption cut with an ellipsis, and its hint then begins with the whole caption, so the
// arrangement of a page may cut a long caption to keep every control on the page without losing
// the text.
class CaptionFit {
public:
    virtual ~CaptionFit() = default;
    // The width at which the control shows its whole caption.
    virtual int wholeCaptionWidth() const = 0;
    // Whether the caption shows cut at the control's present width.
    virtual bool captionCut() const = 0;
};

// The caption as it shows in width pixels: whole, or each line cut with an ellipsis. With
// mnemonics, "&x" shows as "x" and "&&" as "&", and the result keeps that form.
QString FittedCaption(const QString& caption, const QFontMetrics& metrics, int width, bool mnemonics);
// The width of the widest line of the caption as it shows.
int CaptionAdvance(const QString& caption, const QFontMetrics& metrics, bool mnemonics);
// Handles a tooltip request: shows the control's hint as plain text, after the whole caption when
// the control cuts it. False when there is nothing to show.
bool ShowPlainHint(QWidget* control, const QHelpEvent* event, const QString& caption, bool cut);

// A static text.
class PlainLabel : public QLabel, public CaptionFit {
    Q_OBJECT
public:
    explicit PlainLabel(QWidget* parent = nullptr);
    int wholeCaptionWidth() const override;
    bool captionCut() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

// A check box, radio button or push button; Element draws it and Contents is the part that holds
// its caption.
template <typename Button, QStyle::ControlElement Element, QStyle::SubElement Contents>
class PlainButton : public Button, public CaptionFit {
public:
    explicit PlainButton(QWidget* parent = nullptr) : Button(parent) {}

    int wholeCaptionWidth() const override {
        QStyleOptionButton option;
        this->initStyleOption(&option);
        return this->width() - room(option) + CaptionAdvance(option.text, this->fontMetrics(), true);
    }
    bool captionCut() const override { return wholeCaptionWidth() > this->width(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        this->initStyleOption(&option);
        option.text = FittedCaption(option.text, this->fontMetrics(), room(option), true);
        painter.drawControl(Element, option);
    }
    bool event(QEvent* event) override {
        if (event->type() == QEvent::ToolTip &&
            ShowPlainHint(this, static_cast<const QHelpEvent*>(event), this->text(), captionCut()))
            return true;
        return Button::event(event);
    }

private:
    int room(const QStyleOptionButton& option) const {
        return this->style()->subElementRect(Contents, &option, this).width();
    }
};

using PlainCheckBox = PlainButton<QCheckBox, QStyle::CE_CheckBox, QStyle::SE_CheckBoxContents>;
using PlainRadioButton = PlainButton<QRadioButton, QStyle::CE_RadioButton, QStyle::SE_RadioButtonContents>;
using PlainPushButton = PlainButton<QPushButton, QStyle::CE_PushButton, QStyle::SE_PushButtonContents>;

// The width for a push button whose built-in width is builtIn: that width while it shows the
// whole caption, else the width the caption needs with the style's margins, at most maxWidth.
int FittedButtonWidth(const PlainPushButton& button, int builtIn, int maxWidth);
