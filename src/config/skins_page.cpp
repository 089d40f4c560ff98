#include "config/skins_page.h"

#include <algorithm>

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTextEdit>
#include <QUrl>

#include "common/error.h"
#include "config/config_host.h"
#include "config/graphic_panel.h"
#include "config/link_label.h"
#include "config/skin_list_delegate.h"
#include "config/plain_controls.h"
#include "formats/markup_rtf.h"
#include "formats/rtf_reader.h"
#include "skins/skin_folder.h"
#include "skins/skin_list.h"
#include "skins/skin_meta.h"
#include "translation/ui_text.h"

namespace {

// The width of the column right of the list: the preview, the labels and the description.
constexpr int DetailsWidth = 257;
// The built-in width of btnApplySkin.
constexpr int ApplySkinWidth = 75;

} // namespace

SkinsPage::SkinsPage(PageContext& context, bool loadPreview, QWidget* parent)
    : ConfigPage(context, QStringLiteral("tsSkins"), parent) {
    lbxSkins = place<QListWidget>(this, QStringLiteral("lbxSkins"), 8, 8);
    lbxSkins->resize(113, 292);
    lbxSkins->setSelectionMode(QAbstractItemView::SingleSelection);
    lbxSkins->setUniformItemSizes(false);
    lbxSkins->setItemDelegate(new SkinListDelegate(lbxSkins));

    gbPreview = place<QGroupBox>(this, QStringLiteral("gbPreview"), 128, 8);
    gbPreview->resize(DetailsWidth, 145);
    pbxSkinPreview = place<TGraphicPanel>(gbPreview, QStringLiteral("pbxSkinPreview"), 0, 0);

    // The order of creation is the order of the keys in a written translation file.
    lblAuthor = place<PlainLabel>(this, QStringLiteral("lblAuthor"), 128, 160);
    lblAuthor->setText(QStringLiteral("Skin Author:"));
    lblAuthor->setToolTip(HintLines(
        {QStringLiteral("This is the name of the person"), QStringLiteral("that created this skin.")}));
    autoSized(lblAuthor);

    lblWebsite = place<LinkLabel>(this, QStringLiteral("lblWebsite"), 128, 176);
    lblWebsite->setText(QStringLiteral("Author Website: "));
    autoSized(lblWebsite);

    mmoDescription = place<QTextEdit>(this, QStringLiteral("mmoDescription"), 128, 192);
    mmoDescription->resize(DetailsWidth, 73);
    mmoDescription->setReadOnly(true);
    mmoDescription->setFrameShape(QFrame::NoFrame);
    mmoDescription->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mmoDescription->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette face = mmoDescription->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    mmoDescription->setPalette(face);
    mmoDescription->setPlainText(UiText("Skins.DescriptionLabel", "Skin Description:"));

    btnApplySkin = place<PlainPushButton>(this, QStringLiteral("btnApplySkin"), 128, 276);
    btnApplySkin->resize(ApplySkinWidth, 25);
    btnApplySkin->setText(QStringLiteral("Apply &Skin"));
    btnApplySkin->setToolTip(QStringLiteral("Apply the currently selected skin."));

    tabOrder({lbxSkins, lblWebsite, btnApplySkin});
    setTexts();

    // Mouse moves over a list or a text box arrive at its viewport.
    for (QWidget* control : {static_cast<QWidget*>(lbxSkins), lbxSkins->viewport(),
                             static_cast<QWidget*>(lblAuthor), static_cast<QWidget*>(mmoDescription),
                             mmoDescription->viewport(), static_cast<QWidget*>(btnApplySkin)})
        context.watchMouseMove(control);

    connect(lbxSkins, &QListWidget::currentRowChanged, this, &SkinsPage::skinSelected);
    connect(lbxSkins, &QListWidget::itemDoubleClicked, this, &SkinsPage::applySkin);
    connect(btnApplySkin, &QPushButton::clicked, this, &SkinsPage::applySkin);
    connect(lblWebsite, &LinkLabel::clicked, this, [this] { host().openUrl(QUrl(SkinWebsite)); });
    connect(pbxSkinPreview, &TGraphicPanel::paint, this, &SkinsPage::paintPreview);

    if (loadPreview) {
        ConfigHost& h = host();
        try {
            m_preview.load(h.stored().SkinName, h.skinList(), h.folder().contentDirs(), h.layeredMode());
        } catch (const SkinNotFound&) {
            // The skin in use is always one of the list; without it the preview stays empty
            // until a skin is selected.
        }
    }
}

void SkinsPage::setTexts() {
    lbxSkins->setToolTip(UiText("Skins.ListHint", "List of the currently available skins.\r\n"
                                                  "Click on a skin to preview it, and\r\n"
                                                  "view it's details."));
    lbxSkins->setAccessibleName(UiText("Skins.ListName", "Skins"));
    gbPreview->setTitle(UiText("Skins.Preview", "Preview"));
    mmoDescription->setToolTip(UiText("Skins.DescriptionHint", "Description of the currently selected\r\n"
                                                               "skin provided by the Skin Author"));
}

void SkinsPage::arrange() {
    // The preview fills the group box below its caption, inside its frame.
    const int top = gbPreview->fontMetrics().height();
    pbxSkinPreview->setGeometry(2, top, gbPreview->width() - 4, gbPreview->height() - top - 2);
    // The button grows with a longer caption up to the middle of the column, which leaves the
    // dialog's Apply button its room in the same row; beyond that the caption is cut.
    btnApplySkin->resize(FittedButtonWidth(*btnApplySkin, ApplySkinWidth, DetailsWidth / 2),
                         btnApplySkin->height());
}

void SkinsPage::loadControls() {
    // Replacing the entries clears the selection; the first skin is then selected and shown,
    // whichever skin is in use.
    m_skins = host().skinList();
    const QStringList roots = host().folder().contentDirs();
    const QSignalBlocker quiet(lbxSkins);
    lbxSkins->clear();
    for (const QString& name : m_skins) {
        auto* item = new QListWidgetItem(name, lbxSkins);
        const std::optional<QImage> button =
            SkinFolder(FindSkinFolder(roots, name)).readPicture(QStringLiteral("button.bmp"));
        if (button)
            item->setData(SkinListDelegate::ButtonRole, *button);
    }
    if (!m_skins.isEmpty()) {
        lbxSkins->setCurrentRow(0);
        skinSelected(0);
    }
}

void SkinsPage::skinSelected(int row) {
    if (row < 0 || row >= m_skins.size())
        return;
    const QString& name = m_skins[row];
    ConfigHost& h = host();
    m_preview.load(name, m_skins, h.folder().contentDirs(), h.layeredMode());
    showMeta(name);
    pbxSkinPreview->update();
}

void SkinsPage::showMeta(const QString& name) {
    // The lines composed here come from the active translation's texts with the skin's values.
    const SkinMeta meta = ReadSkinMeta(FindSkinFolder(host().folder().contentDirs(), name));

    // A line too long for the page shows cut, and whole in its hint.
    lblAuthor->setText(meta.Author ? UiText("Skins.Author", "Skin Author: %1").arg(*meta.Author) : QString());
    lblAuthor->setVisible(meta.Author.has_value());

    if (meta.Website) {
        SkinWebsite = WebsiteAddress(*meta.Website);
        lblWebsite->setToolTip(
            UiText("Skins.WebsiteHint", "Click here to visit the skin author's website, %1")
                .arg(SkinWebsite));
        lblWebsite->setText(UiText("Skins.Website", "Author Website: %1").arg(SkinWebsite));
    } else {
        lblWebsite->setToolTip(QString());
        lblWebsite->setText(QString());
    }
    lblWebsite->setVisible(meta.Website.has_value());

    if (meta.Description)
        ReadRtf(MarkupToRtf(UiText("Skins.Description", "Skin Description: %1").arg(*meta.Description)),
                *mmoDescription->document());
    else
        mmoDescription->clear();
    mmoDescription->setVisible(meta.Description.has_value());
}

void SkinsPage::applySkin() {
    const int row = lbxSkins->currentRow();
    if (row < 0 || row >= m_skins.size() || !lbxSkins->item(row)->isSelected())
        return;
    ConfigHost& h = host();
    h.stored().SkinName = lbxSkins->item(row)->text();
    h.saveSettings();
    h.reloadSkin();
    h.rebuildTabs();
}

void SkinsPage::paintPreview(QPainter& painter) {
    m_preview.paint(painter, pbxSkinPreview->size(), palette().color(QPalette::Button));
}
