#pragma once

#include <QStringList>

#include "config/config_page.h"
#include "config/plain_controls.h"
#include "config/skin_preview.h"

class LinkLabel;
class QGroupBox;
class QLabel;
class QListWidget;
class QPainter;
class QTextEdit;
class TGraphicPanel;

// The Skins page: the list of skins, each drawn with its button picture, the selected skin's
// author, web site and description beside a preview of two tabs drawn in it, and Apply Skin.
class SkinsPage : public ConfigPage {
    Q_OBJECT
public:
    void setTexts() override;
    // loadPreview: the preview skin is loaded at once from the skin in use (the dialog the user
    // opens); a throw-away dialog leaves it empty until the page is shown.
    SkinsPage(PageContext& context, bool loadPreview, QWidget* parent = nullptr);

    const SkinPreview& preview() const { return m_preview; }
    // The address the website link opens.
    const QString& skinWebsite() const { return SkinWebsite; }

protected:
    void loadControls() override;
    void arrange() override;

private:
    void skinSelected(int row);
    void showMeta(const QString& name);
    void applySkin();
    void paintPreview(QPainter& painter);

    QListWidget* lbxSkins;
    QGroupBox* gbPreview;
    TGraphicPanel* pbxSkinPreview;
    QLabel* lblAuthor;
    LinkLabel* lblWebsite;
    QTextEdit* mmoDescription;
    PlainPushButton* btnApplySkin;

    QStringList m_skins; // the skin names the list shows, in list order
    SkinPreview m_preview;
    QString SkinWebsite;
};
