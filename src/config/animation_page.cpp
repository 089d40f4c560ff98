#include "config/animation_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>

#include "config/config_host.h"
#include "config/plain_controls.h"

namespace {

constexpr int ButtonSpacing = 16;

} // namespace

AnimationPage::AnimationPage(PageContext& context, QWidget* parent)
    : ConfigPage(context, QStringLiteral("tsAnimation"), parent) {
    // The order of creation is the order of the keys in a written translation file.
    lblOpeningAnim = place<PlainLabel>(this, QStringLiteral("lblOpeningAnim"), 16, 16);
    lblOpeningAnim->setText(QStringLiteral("&Opening Animation:"));
    lblOpeningAnim->setToolTip(QStringLiteral("Animation to use when tabs are opened"));
    autoSized(lblOpeningAnim);

    lblClosingAnim = place<PlainLabel>(this, QStringLiteral("lblClosingAnim"), 16, 104);
    lblClosingAnim->setText(QStringLiteral("C&losing Animation:"));
    lblClosingAnim->setToolTip(QStringLiteral("Animation to use when tabs are closed"));
    autoSized(lblClosingAnim);

    chkClickOpen = place<PlainCheckBox>(this, QStringLiteral("chkClickOpen"), 16, 192);
    chkClickOpen->setText(QStringLiteral("Open tabs only when &clicked"));
    chkClickOpen->setToolTip(HintLines({QStringLiteral("When this is checked, Tabs will"),
                                        QStringLiteral("only open when you click on"),
                                        QStringLiteral("them, and not when hovered over")}));
    autoSized(chkClickOpen);

    // Each group has its own container, so the two select independently.
    m_open = makeGroup(QStringLiteral("pnlOpeningAnim"), QStringLiteral("rbO"), 40);
    m_close = makeGroup(QStringLiteral("pnlClosingAnim"), QStringLiteral("rbC"), 128);

    for (QWidget* control : {static_cast<QWidget*>(lblOpeningAnim), static_cast<QWidget*>(lblClosingAnim),
                             static_cast<QWidget*>(chkClickOpen)})
        context.watchMouseMove(control);
    for (const ModeButtons& group : {m_open, m_close}) {
        for (QRadioButton* button : {group.off, group.linear, group.accelerated})
            context.watchMouseMove(button);
    }

    followCheckedButton(lblOpeningAnim, {m_open.off, m_open.linear, m_open.accelerated});
    followCheckedButton(lblClosingAnim, {m_close.off, m_close.linear, m_close.accelerated});
    tabOrder({m_open.off, m_open.linear, m_open.accelerated, m_close.off, m_close.linear, m_close.accelerated,
              chkClickOpen});

    connectGroup(m_open, &Settings::OpenAnim);
    connectGroup(m_close, &Settings::CloseAnim);
    connect(chkClickOpen, &QCheckBox::clicked, this, [this](bool on) {
        if (loading())
            return;
        host().stored().settings.ClickOpen = on;
        host().saveSettings();
    });
}

void AnimationPage::arrange() {
    // The groups reach to the page's right edge, so that long captions get all the row.
    for (const ModeButtons& group : {m_open, m_close}) {
        QWidget* container = group.off->parentWidget();
        container->resize(contentRight() - container->x(), container->height());
    }
}

AnimationPage::ModeButtons AnimationPage::makeGroup(const QString& container, const QString& prefix,
                                                    int top) {
    auto* group = place<QWidget>(this, container, 32, top);
    group->resize(300, 3 * ButtonSpacing + 2);
    auto button = [&](const QString& name, const QString& caption, const QString& hint, int index) {
        auto* radio = place<PlainRadioButton>(group, prefix + name, 0, index * ButtonSpacing);
        radio->setText(caption);
        radio->setToolTip(hint);
        // As high as the rows are apart, so that the buttons never lie over each other.
        autoSized(radio);
        radio->resize(radio->width(), ButtonSpacing);
        return radio;
    };
    ModeButtons buttons;
    buttons.off =
        button(QStringLiteral("Off"), QStringLiteral("Off"), QStringLiteral("There will be no animation"), 0);
    buttons.linear = button(QStringLiteral("Linear"), QStringLiteral("Linear"),
                            QStringLiteral("The Tab will slide at a constant speed"), 1);
    buttons.accelerated = button(QStringLiteral("Accelerated"), QStringLiteral("Accelerated"),
                                 QStringLiteral("The Tab will slide, accelerating as it progresses."), 2);
    return buttons;
}

void AnimationPage::connectGroup(const ModeButtons& buttons, AnimMode Settings::*field) {
    const std::pair<QRadioButton*, AnimMode> modes[] = {{buttons.off, AnimMode::Off},
                                                        {buttons.linear, AnimMode::Linear},
                                                        {buttons.accelerated, AnimMode::Accelerated}};
    for (const auto& [button, mode] : modes) {
        connect(button, &QRadioButton::clicked, this, [this, field, mode = mode] {
            if (loading())
                return;
            host().stored().settings.*field = mode;
            host().saveSettings();
        });
    }
}

void AnimationPage::showMode(const ModeButtons& buttons, AnimMode mode) {
    switch (mode) {
    case AnimMode::Off:
        buttons.off->setChecked(true);
        break;
    case AnimMode::Linear:
        buttons.linear->setChecked(true);
        break;
    case AnimMode::Accelerated:
        buttons.accelerated->setChecked(true);
        break;
    }
}

void AnimationPage::loadControls() {
    const Settings& s = host().stored().settings;
    showMode(m_open, s.OpenAnim);
    showMode(m_close, s.CloseAnim);
    chkClickOpen->setChecked(s.ClickOpen);
}
