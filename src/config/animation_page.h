#pragma once

#include "config/config_page.h"
#include "common/settings.h"

class QCheckBox;
class QLabel;
class QRadioButton;

// The Animation page: the opening and closing animation modes and opening by click.
class AnimationPage : public ConfigPage {
    Q_OBJECT
public:
    explicit AnimationPage(PageContext& context, QWidget* parent = nullptr);

protected:
    void loadControls() override;
    void arrange() override;

private:
    struct ModeButtons {
        QRadioButton* off;
        QRadioButton* linear;
        QRadioButton* accelerated;
    };
    ModeButtons makeGroup(const QString& container, const QString& prefix, int top);
    void connectGroup(const ModeButtons& buttons, AnimMode Settings::*field);
    static void showMode(const ModeButtons& buttons, AnimMode mode);

    QLabel* lblOpeningAnim;
    QLabel* lblClosingAnim;
    QCheckBox* chkClickOpen;
    ModeButtons m_open;
    ModeButtons m_close;
};
