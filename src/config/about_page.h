#pragma once

#include <QTimer>

#include "config/about_background.h"
#include "config/config_page.h"

class QPainter;
class QStatusBar;
class TGraphicPanel;

// The About page: the version text in large green letters over a background that flows
// downwards with a slight sideways wave while the page shows. A click on the picture switches
// between the version text and the web address.
class AboutPage : public ConfigPage {
    Q_OBJECT
public:
    void setTexts() override;
    explicit AboutPage(PageContext& context, QWidget* parent = nullptr);

    static QString versionText();
    static QString webAddress();

    // Every page change stops the animation first; showing this page starts it again.
    void stopAnimation() { tmrAbout.stop(); }
    bool animating() const { return tmrAbout.isActive(); }

    const QString& aboutText() const { return AboutText; }
    int aboutFontSize() const { return AboutFontSize; }
    const AboutBackground& background() const { return m_background; }
    // One tick of the animation, as the timer runs it.
    void tick();

protected:
    void loadControls() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Places the text in the middle of the picture; rebuildBackground also makes the
    // background afresh at the picture's size.
    void layOut(bool rebuildBackground);
    void clicked();
    void paint(QPainter& painter);
    QFont aboutFont() const;

    TGraphicPanel* pbxAbout;
    QStatusBar* StatusBar1;
    QTimer tmrAbout;

    AboutBackground m_background;
    QString AboutText;
    int AboutFontSize = 36;
    int m_textLeft = 0;
    int m_textTop = 0;
    int m_textHeight = 0;
};
