#pragma once

#include "common/settings.h"
#include "config/config_page.h"

class LinkLabel;
class QCheckBox;
class QComboBox;
class QKeySequence;
class QKeySequenceEdit;
class QLabel;
class QRadioButton;

// The General page: language, start-up entry, update check, always-on-top mode, shortcut key,
// donation link.
class GeneralPage : public ConfigPage {
    Q_OBJECT
public:
    void setTexts() override;
    // startupEntry: the path of the autostart entry, empty when none can be made.
    GeneralPage(PageContext& context, QString startupEntry, QWidget* parent = nullptr);

    // The invented page the donation link opens.
    static QString donationUrl();

protected:
    void loadControls() override;
    void arrange() override;

private:
    void loadTranslations();
    void translationChanged(int index);
    void startupClicked(bool on);
    void stackingClicked(StackingMode mode);
    void updateClicked(bool on);
    void shortcutKeyChanged(const QKeySequence& key);
    void showShortcutPlaceholder();
    void shortcutFocusChanged(QWidget* old, QWidget* now);
    bool inShortcutField(const QWidget* widget) const;

    QString m_startupEntry;
    QLabel* lblNT;
    QLabel* lblGLib;
    QLabel* lblShapingMode;
    QLabel* lblLanguage;
    QComboBox* cbxTranslation;
    QCheckBox* cbkStartup;
    QCheckBox* chkUpdate;
    QLabel* lblOnTop;
    QRadioButton* rbAOTDisabled;
    QRadioButton* rbAOTNormal;
    QRadioButton* rbAOTAggressive;
    QLabel* lblShortcutKey;
    QKeySequenceEdit* edtShortcutKey;
    QLabel* lblWaylandKey;
    LinkLabel* lblDonation;
};
