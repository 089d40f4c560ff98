#include "config/general_page.h"

#include <algorithm>

#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QKeySequenceEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QUrl>

#include "common/names.h"
#include "config/config_host.h"
#include "config/link_label.h"
#include "config/startup_entry.h"
#include "config/plain_controls.h"
#include "platform/wayland_session.h"
#include "translation/ui_text.h"

GeneralPage::GeneralPage(PageContext& context, QString startupEntry, QWidget* parent)
    : ConfigPage(context, QStringLiteral("tsGeneral"), parent), m_startupEntry(std::move(startupEntry)) {
    // The order of creation is the order of the keys in a written translation file.
    lblDonation = place<LinkLabel>(this, QStringLiteral("lblDonation"), 16, 240);
    QFont donationFont = lblDonation->font();
    donationFont.setPointSize(12);
    lblDonation->setFont(donationFont);
    lblDonation->setText(QStringLiteral("Like Kelvara? Send me money!"));
    lblDonation->setToolTip(HintLines({QStringLiteral("Kelvara will ALWAYS be available for free,"),
                                       QStringLiteral("but if you do really like it, why not"),
                                       QStringLiteral("send me some cash to show your support.")}));
    autoSized(lblDonation);

    lblNT = place<PlainLabel>(this, QStringLiteral("lblNT"), 16, 16);
    ExcludeFromTranslation(lblNT);
    autoSized(lblNT);

    lblGLib = place<PlainLabel>(this, QStringLiteral("lblGLib"), 16, 32);
    ExcludeFromTranslation(lblGLib);
    autoSized(lblGLib);

    lblShapingMode = place<PlainLabel>(this, QStringLiteral("lblShapingMode"), 16, 48);
    ExcludeFromTranslation(lblShapingMode);
    autoSized(lblShapingMode);

    lblLanguage = place<PlainLabel>(this, QStringLiteral("lblLanguage"), 16, 75);
    lblLanguage->setText(QStringLiteral("&Language:"));
    lblLanguage->setToolTip(QStringLiteral("Specifies the Language to use for all menus and dialogs."));
    autoSized(lblLanguage);

    cbxTranslation = place<QComboBox>(this, QStringLiteral("cbxTranslation"), 72, 72);
    cbxTranslation->setEditable(false);
    cbxTranslation->resize(145, cbxTranslation->sizeHint().height());

    cbkStartup = place<PlainCheckBox>(this, QStringLiteral("cbkStartup"), 16, 100);
    cbkStartup->setText(QStringLiteral("&Start Kelvara automatically on startup"));
    cbkStartup->setToolTip(HintLines({QStringLiteral("This option places an entry for Kelvara in"),
                                      QStringLiteral("your desktop's autostart folder, allowing it"),
                                      QStringLiteral("to start automatically when you log in.")}));
    autoSized(cbkStartup);

    lblOnTop = place<PlainLabel>(this, QStringLiteral("lblOnTop"), 16, 146);
    lblOnTop->setText(QStringLiteral("Always-on-&top Mode:"));
    lblOnTop->setToolTip(QStringLiteral("Always-on-top Mode to use for Tabs"));
    autoSized(lblOnTop);

    rbAOTDisabled = place<PlainRadioButton>(this, QStringLiteral("rbAOTDisabled"), 120, 144);
    rbAOTDisabled->setText(QStringLiteral("Disabled"));
    rbAOTDisabled->setToolTip(QStringLiteral("Kelvara will not stay above other windows."));
    rbAOTNormal = place<PlainRadioButton>(this, QStringLiteral("rbAOTNormal"), 120, 162);
    rbAOTNormal->setText(QStringLiteral("Normal"));
    rbAOTNormal->setToolTip(QStringLiteral("Kelvara will stay above most other windows."));
    rbAOTAggressive = place<PlainRadioButton>(this, QStringLiteral("rbAOTAggressive"), 120, 180);
    rbAOTAggressive->setText(QStringLiteral("Aggressive"));
    rbAOTAggressive->setToolTip(QStringLiteral("Kelvara will stay above all other windows."));
    for (QRadioButton* button : {rbAOTDisabled, rbAOTNormal, rbAOTAggressive}) {
        // As high as the rows are apart, so that the buttons never lie over each other.
        autoSized(button);
        button->resize(button->width(), 18);
    }

    chkUpdate = place<PlainCheckBox>(this, QStringLiteral("chkUpdate"), 16, 122);
    chkUpdate->setText(QStringLiteral("&Check for updates on program start"));
    chkUpdate->setToolTip(HintLines({QStringLiteral("Each time Kelvara starts, it asks its web site"),
                                     QStringLiteral("whether a newer version is available, and"),
                                     QStringLiteral("offers to download and install it.")}));
    autoSized(chkUpdate);

    const QString shortcutHint =
        HintLines({QStringLiteral("Press this key combination in any program to open"),
                   QStringLiteral("a tab and choose an item with the arrow keys."),
                   QStringLiteral("Clear the field to switch it off.")});
    lblShortcutKey = place<PlainLabel>(this, QStringLiteral("lblShortcutKey"), 16, 207);
    lblShortcutKey->setText(QStringLiteral("Shortcut &key:"));
    lblShortcutKey->setToolTip(shortcutHint);
    autoSized(lblShortcutKey);
    edtShortcutKey = place<QKeySequenceEdit>(this, QStringLiteral("edtShortcutKey"), 120, 204);
    edtShortcutKey->setClearButtonEnabled(true);
    // The field has no caption, and the clear button inside it is no menu item to translate.
    ExcludeFromTranslation(edtShortcutKey);
    edtShortcutKey->resize(145, edtShortcutKey->sizeHint().height());
    lblShortcutKey->setBuddy(edtShortcutKey);
    // A Wayland session hands a grabbed key to XWayland's programs only while one of them has the
    // focus: the user binds the command in the desktop's keyboard settings instead.
    lblWaylandKey = place<PlainLabel>(this, QStringLiteral("lblWaylandKey"), 16, 226);
    lblWaylandKey->setWordWrap(true);
    // Shown in some sessions only; its text is one of the page's own texts, not a component
    // caption of the translation template.
    ExcludeFromTranslation(lblWaylandKey);
    lblWaylandKey->setVisible(WaylandSession());
    lblLanguage->setBuddy(cbxTranslation);
    followCheckedButton(lblOnTop, {rbAOTDisabled, rbAOTNormal, rbAOTAggressive});
    // Tab goes down the page as the controls stand, the link last.
    tabOrder({cbxTranslation, cbkStartup, chkUpdate, rbAOTDisabled, rbAOTNormal, rbAOTAggressive,
              edtShortcutKey, lblDonation});

    for (QWidget* control :
         {static_cast<QWidget*>(lblNT), static_cast<QWidget*>(lblGLib), static_cast<QWidget*>(lblShapingMode),
          static_cast<QWidget*>(lblLanguage), static_cast<QWidget*>(cbkStartup),
          static_cast<QWidget*>(lblOnTop), static_cast<QWidget*>(rbAOTDisabled),
          static_cast<QWidget*>(rbAOTNormal), static_cast<QWidget*>(rbAOTAggressive),
          static_cast<QWidget*>(chkUpdate), static_cast<QWidget*>(lblShortcutKey)})
        context.watchMouseMove(control);

    if (m_startupEntry.isEmpty())
        cbkStartup->setEnabled(false);

    connect(cbxTranslation, &QComboBox::currentIndexChanged, this, &GeneralPage::translationChanged);
    connect(cbkStartup, &QCheckBox::clicked, this, &GeneralPage::startupClicked);
    connect(chkUpdate, &QCheckBox::clicked, this, &GeneralPage::updateClicked);
    connect(rbAOTDisabled, &QRadioButton::clicked, this, [this] { stackingClicked(StackingMode::Disabled); });
    connect(rbAOTNormal, &QRadioButton::clicked, this, [this] { stackingClicked(StackingMode::Normal); });
    connect(rbAOTAggressive, &QRadioButton::clicked, this,
            [this] { stackingClicked(StackingMode::Aggressive); });
    connect(lblDonation, &LinkLabel::clicked, this, [this] { host().openUrl(QUrl(donationUrl())); });
    // A key is recorded when the user stops typing, or at once when the field is cleared.
    connect(edtShortcutKey, &QKeySequenceEdit::editingFinished, this,
            [this] { shortcutKeyChanged(edtShortcutKey->keySequence()); });
    connect(edtShortcutKey, &QKeySequenceEdit::keySequenceChanged, this, [this](const QKeySequence& key) {
        if (key.isEmpty())
            shortcutKeyChanged(key);
    });
    connect(qApp, &QApplication::focusChanged, this, &GeneralPage::shortcutFocusChanged);
    setTexts();
}

void GeneralPage::setTexts() {
    lblNT->setToolTip(UiText("General.OSHint", "This is the family of Operating System\r\n"
                                               "you are currently running Kelvara on."));
    lblGLib->setText(UiText("General.GraphicsLib", "Graphics Lib: Qt %1").arg(QLatin1String(qVersion())));
    lblShapingMode->setToolTip(UiText("General.ShapingHint", "This is the Window Shaping mode used by\r\n"
                                                             "Kelvara for irregularly shaped Tabs.\r\n"
                                                             "Which mode is used is dependant on your OS."));
    cbxTranslation->setToolTip(
        UiText("General.LanguageHint", "Specifies the Language to use for all menus and dialogs."));
    edtShortcutKey->setToolTip(UiText("General.ShortcutKeyHint",
                                      "Press this key combination in any program to open\r\n"
                                      "a tab and choose an item with the arrow keys.\r\n"
                                      "Clear the field to switch it off."));
    lblWaylandKey->setText(
        UiText("General.WaylandKey",
               "In a Wayland session this key works only while Kelvara has the focus: bind the "
               "command kelvara --open to a key in your desktop's keyboard settings."));
    showShortcutPlaceholder();
}

QString GeneralPage::donationUrl() {
    return QStringLiteral("https://kelvara.example.org/donate");
}

void GeneralPage::arrange() {
    // The places of the language box and the mode buttons, or further right when the caption
    // before them needs the room. The box keeps its width and the buttons at least half the row
    // (or what they need): a caption too long for the rest is cut.
    const int right = contentRight();
    const int boxLeft = right - cbxTranslation->width();
    lblLanguage->resize(std::min(lblLanguage->width(), boxLeft - 5 - lblLanguage->x()),
                        lblLanguage->height());
    cbxTranslation->move(std::max(72, lblLanguage->geometry().right() + 6), cbxTranslation->y());

    int modesWidth = 0;
    for (QRadioButton* button : {rbAOTDisabled, rbAOTNormal, rbAOTAggressive})
        modesWidth = std::max(modesWidth, button->width());
    const int modesLeft = right - std::min(modesWidth, (right - lblOnTop->x()) / 2);
    lblOnTop->resize(std::min(lblOnTop->width(), modesLeft - 7 - lblOnTop->x()), lblOnTop->height());
    const int modeLeft = std::max(120, lblOnTop->geometry().right() + 8);
    for (QRadioButton* button : {rbAOTDisabled, rbAOTNormal, rbAOTAggressive})
        button->move(modeLeft, button->y());

    const int keyLeft = right - edtShortcutKey->width();
    lblShortcutKey->resize(std::min(lblShortcutKey->width(), keyLeft - 5 - lblShortcutKey->x()),
                           lblShortcutKey->height());
    edtShortcutKey->move(std::max(modeLeft, lblShortcutKey->geometry().right() + 6), edtShortcutKey->y());
    lblWaylandKey->resize(right - lblWaylandKey->x(),
                          lblWaylandKey->heightForWidth(right - lblWaylandKey->x()));
    // The donation link goes below the note when the note is shown.
    if (!lblWaylandKey->isHidden())
        lblDonation->move(lblDonation->x(), std::max(240, lblWaylandKey->geometry().bottom() + 6));
}

void GeneralPage::loadControls() {
    ConfigHost& h = host();
    lblNT->setText(h.isNT() ? UiText("General.OSLinux", "OS: Linux")
                            : UiText("General.OSOld", "OS: Windows 95/98/ME"));
    lblShapingMode->setText(h.layeredMode()
                                ? UiText("General.ShapingOpacity", "Shaping Mode: Window Mask with Opacity")
                                : UiText("General.Shaping", "Shaping Mode: Window Mask"));
    cbkStartup->setChecked(!m_startupEntry.isEmpty() && QFileInfo::exists(m_startupEntry));
    chkUpdate->setChecked(h.stored().AutoUpdate);
    switch (h.stored().AOTMode) {
    case StackingMode::Aggressive:
        rbAOTAggressive->setChecked(true);
        break;
    case StackingMode::Disabled:
        rbAOTDisabled->setChecked(true);
        break;
    default:
        rbAOTNormal->setChecked(true);
        break;
    }
    edtShortcutKey->setKeySequence(
        QKeySequence::fromString(h.stored().ShortcutKey, QKeySequence::PortableText));
    showShortcutPlaceholder();
    loadTranslations();
}

void GeneralPage::loadTranslations() {
    cbxTranslation->clear();
    const QString active = QFileInfo(host().stored().TranslationPath).fileName();
    // The user's translations come first and hide shipped ones of the same name.
    QFileInfoList files;
    for (const QString& dir : host().folder().translationDirs()) {
        const qsizetype listedBefore = files.size();
        for (const QFileInfo& file :
             QDir(dir).entryInfoList({QStringLiteral("*.txt")}, QDir::Files | QDir::Hidden | QDir::System)) {
            const auto earlier = files.cbegin() + listedBefore;
            if (std::none_of(files.cbegin(), earlier,
                             [&](const QFileInfo& f) { return SameName(f.fileName(), file.fileName()); }))
                files.append(file);
        }
    }
    std::stable_sort(files.begin(), files.end(), [](const QFileInfo& a, const QFileInfo& b) {
        return QString::compare(a.fileName(), b.fileName(), Qt::CaseInsensitive) < 0;
    });
    int selected = -1;
    for (const QFileInfo& file : files) {
        // The entry keeps the file's real path: on a case-sensitive file system "X.TXT" is not
        // "X.txt".
        cbxTranslation->addItem(file.completeBaseName(), file.filePath());
        if (SameName(file.fileName(), active))
            selected = cbxTranslation->count() - 1;
    }
    cbxTranslation->setCurrentIndex(selected);
}

void GeneralPage::translationChanged(int index) {
    if (loading() || index < 0)
        return;
    ConfigHost& h = host();
    h.stored().TranslationPath = cbxTranslation->itemData(index).toString();
    h.stored().TranslationChosen = true;
    h.saveSettings();
    h.translateAll();
}

void GeneralPage::startupClicked(bool on) {
    if (loading())
        return;
    if (!on) {
        DeleteStartupEntry(m_startupEntry);
        return;
    }
    try {
        CreateStartupEntry(m_startupEntry, host().folder().executablePath(), host().folder().userDir());
    } catch (...) {
        // The box shows whether the entry exists.
        cbkStartup->setChecked(false);
        throw;
    }
}

void GeneralPage::stackingClicked(StackingMode mode) {
    if (loading())
        return;
    ConfigHost& h = host();
    h.stored().AOTMode = mode;
    h.setAggressiveTimer(mode == StackingMode::Aggressive);
    h.saveSettings();
}

void GeneralPage::updateClicked(bool on) {
    if (loading())
        return;
    host().stored().AutoUpdate = on;
    host().saveSettings();
}

void GeneralPage::showShortcutPlaceholder() {
    // The field puts back its own English prompt whenever it is set, cleared or done with.
    if (auto* field = edtShortcutKey->findChild<QLineEdit*>())
        field->setPlaceholderText(UiText("General.ShortcutKeyPlaceholder", "Press a key combination"));
}

void GeneralPage::shortcutKeyChanged(const QKeySequence& key) {
    showShortcutPlaceholder();
    if (loading())
        return;
    // One key combination: the field records up to four in a row.
    const QKeySequence first = key.isEmpty() ? QKeySequence() : QKeySequence(key[0]);
    if (first != key)
        edtShortcutKey->setKeySequence(first);
    const QString text = first.toString(QKeySequence::PortableText);
    if (text == host().stored().ShortcutKey)
        return;
    host().stored().ShortcutKey = text;
    host().saveSettings();
    // The field may have lost the focus before it finished: the new key is grabbed now.
    if (!inShortcutField(QApplication::focusWidget()))
        host().grabShortcutKey(true);
}

bool GeneralPage::inShortcutField(const QWidget* widget) const {
    return widget != nullptr && (widget == edtShortcutKey || edtShortcutKey->isAncestorOf(widget));
}

void GeneralPage::shortcutFocusChanged(QWidget* old, QWidget* now) {
    // While the field records a key, the grabbed one must reach it like any other.
    if (inShortcutField(now) && !inShortcutField(old))
        host().grabShortcutKey(false);
    else if (inShortcutField(old) && !inShortcutField(now))
        host().grabShortcutKey(true);
}
