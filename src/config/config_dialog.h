#pragma once

#include <QWidget>

#include "config/config_page.h"
#include "config/plain_controls.h"

class AboutPage;
class PageControl;
class PositionPage;

// The settings dialog "Kelvara Configuration": a fixed 401 x 334 window with the pages General,
// Skins, Animation, Position, Appearance and About and the Apply button. Every control change
// writes the settings file at once; changes that need the tab windows rebuilt or the skin reloaded
// wait for Apply or for the dialog to close.
class TfrmConfig : public QWidget, private PageContext {
    Q_OBJECT
public:
    enum class Use {
        // The dialog the &Config command opens: it drops a pending update check when made, and
        // when closed it tells the host and rebuilds the tabs if changes are unapplied. It deletes
        // itself on closing.
        Interactive,
        // A throw-away instance that only supplies the built-in texts of the translation
        // template: it touches nothing of the host.
        Template,
    };

    TfrmConfig(ConfigHost& host, Use use, QWidget* parent = nullptr);

    // Apply: reloads the skin and redraws the tabs, then rebuilds them, as the pending changes need.
    void apply();

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ConfigHost& host() override { return m_host; }
    void markRebuild() override;
    void markReload() override;
    void watchMouseMove(QWidget* control) override;

    void pageChanged();
    // The title and page names, in the active translation.
    void setTexts();
    void fitApplyButton();

    // The Apply button: 83 wide with its right edge at 387, at most MaxApplyWidth wide.
    static constexpr int ApplyWidth = 83;
    static constexpr int ApplyRight = 304 + ApplyWidth;
    static constexpr int MaxApplyWidth = 125;

    ConfigHost& m_host;
    const Use m_use;
    bool m_shownOnce = false;
    bool m_closed = false;
    PageControl* Pages;
    PlainPushButton* btnApply;
    PositionPage* m_position;
    AboutPage* m_about;
};
