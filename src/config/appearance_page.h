#pragma once

#include "config/config_page.h"

class ColourSwatch;
class QCheckBox;
class QLabel;
class QSlider;

// The Appearance page: translucency, colourizing and inverted lightness.
class AppearancePage : public ConfigPage {
    Q_OBJECT
public:
    void setTexts() override;
    explicit AppearancePage(PageContext& context, QWidget* parent = nullptr);

protected:
    void loadControls() override;

private:
    QCheckBox* chkInvertLum;
    QCheckBox* chkColorize;
    QCheckBox* chkAlpha;
    QLabel* lblAlpha;
    QSlider* tbAlpha;
    QSlider* tbColorize;
    ColourSwatch* shpColourize;
};
