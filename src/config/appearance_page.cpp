#include "config/appearance_page.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>

#include "config/appearance_values.h"
#include "config/colour_swatch.h"
#include "config/config_host.h"
#include "config/plain_controls.h"
#include "translation/ui_text.h"

namespace {

QSlider* MakeTrackBar(QSlider* bar, int minimum, int maximum) {
    bar->setOrientation(Qt::Horizontal);
    bar->setRange(minimum, maximum);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(5);
    bar->resize(289, 41);
    return bar;
}

} // namespace

AppearancePage::AppearancePage(PageContext& context, QWidget* parent)
    : ConfigPage(context, QStringLiteral("tsAppearance"), parent) {
    // The order of creation is the order of the keys in a written translation file.
    chkInvertLum = place<PlainCheckBox>(this, QStringLiteral("chkInvertLum"), 16, 160);
    chkInvertLum->setText(QStringLiteral("&Invert Luminousity"));
    chkInvertLum->setToolTip(QStringLiteral("Don't do this."));
    autoSized(chkInvertLum);

    chkColorize = place<PlainCheckBox>(this, QStringLiteral("chkColorize"), 16, 88);
    chkColorize->setText(QStringLiteral("C&olorize Skins"));
    chkColorize->setToolTip(HintLines({QStringLiteral("Choose a color hue to replace the hue on"),
                                       QStringLiteral("all skin graphics with the specified one.")}));
    autoSized(chkColorize);

    chkAlpha = place<PlainCheckBox>(this, QStringLiteral("chkAlpha"), 16, 16);
    chkAlpha->setText(QStringLiteral("Alpha &Transparecy"));
    chkAlpha->setToolTip(HintLines({QStringLiteral("Makes the tabs semi-transparent. Select"),
                                    QStringLiteral("the percentage of opacity for the tabs.")}));
    autoSized(chkAlpha);

    lblAlpha = place<PlainLabel>(this, QStringLiteral("lblAlpha"), 328, 48);
    lblAlpha->resize(48, lblAlpha->sizeHint().height());

    tbAlpha = MakeTrackBar(place<QSlider>(this, QStringLiteral("tbAlpha"), 32, 40), 100, 245);
    tbAlpha->setValue(200);
    tbColorize = MakeTrackBar(place<QSlider>(this, QStringLiteral("tbColorize"), 32, 112), 0, 359);
    shpColourize = place<ColourSwatch>(this, QStringLiteral("shpColourize"), 328, 112);
    shpColourize->resize(41, 25);

    context.watchMouseMove(chkAlpha);

    tabOrder({chkAlpha, tbAlpha, chkColorize, tbColorize, chkInvertLum});
    setTexts();

    connect(chkAlpha, &QCheckBox::clicked, this, [this](bool on) {
        if (loading())
            return;
        host().stored().settings.Alpha = on;
        tbAlpha->setEnabled(on);
        host().saveSettings();
        this->context().markRebuild();
    });
    connect(tbAlpha, &QSlider::valueChanged, this, [this](int position) {
        lblAlpha->setText(OpacityText(position));
        if (loading())
            return;
        host().stored().settings.AlphaV = position;
        host().saveSettings();
        this->context().markRebuild();
    });
    connect(chkColorize, &QCheckBox::clicked, this, [this](bool on) {
        if (loading())
            return;
        host().stored().settings.Colorize = on;
        tbColorize->setEnabled(on);
        shpColourize->setEnabled(on);
        host().saveSettings();
        this->context().markReload();
    });
    connect(tbColorize, &QSlider::valueChanged, this, [this](int position) {
        shpColourize->setColour(HueSwatchColour(position));
        if (loading())
            return;
        host().stored().settings.ColorizeHue = position;
        host().saveSettings();
        this->context().markReload();
    });
    connect(chkInvertLum, &QCheckBox::clicked, this, [this](bool on) {
        if (loading())
            return;
        host().stored().settings.InvertLum = on;
        host().saveSettings();
        this->context().markReload();
    });

    lblAlpha->setText(OpacityText(tbAlpha->value()));
    shpColourize->setColour(HueSwatchColour(tbColorize->value()));
}

void AppearancePage::setTexts() {
    tbAlpha->setAccessibleName(UiText("Appearance.OpacityName", "Opacity"));
    tbColorize->setAccessibleName(UiText("Appearance.HueName", "Hue"));
}

void AppearancePage::loadControls() {
    const Settings& s = host().stored().settings;
    chkAlpha->setChecked(s.Alpha);
    tbAlpha->setEnabled(s.Alpha);
    tbAlpha->setValue(s.AlphaV);
    lblAlpha->setText(OpacityText(tbAlpha->value()));
    chkColorize->setChecked(s.Colorize);
    tbColorize->setEnabled(s.Colorize);
    shpColourize->setEnabled(s.Colorize);
    tbColorize->setValue(s.ColorizeHue);
    shpColourize->setColour(HueSwatchColour(tbColorize->value()));
    chkInvertLum->setChecked(s.InvertLum);
}
