#include "config/skins_page.h"

#include <cmath>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>

#include "common/ini_file.h"
#include "config/config_dialog.h"
#include "config/graphic_panel.h"
#include "config/link_label.h"
#include "config/page_control.h"
#include "config/position_page.h"
#include "config/skin_button.h"
#include "config/skin_preview.h"
#include "fake_config_host.h"
#include "qt_app_environment.h"
#include "tabs/tab_painter.h"

namespace {

const QString ShippedSkins = QStringLiteral(KELVARA_SOURCE_DIR "/data/");

enum Page { General = 0, Skins = 1 };

void Click(QWidget* target) {
    const QPoint at(2, 2);
    QMouseEvent release(QEvent::MouseButtonRelease, at, target->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

void Move(QWidget* target, QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, target->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(target, &move);
}

class SkinsPageTest : public testing::Test {
protected:
    void TearDown() override { delete dialog; }

    // A skin folder in the program folder made from the shipped skin Aqua, with its own [Meta]
    // lines (none: no [Meta] section) and with or without a button picture.
    void makeSkin(const QString& name, const QString& metaLines, bool button = true) {
        const QString folder = host.folder().userDir() + name + u'/';
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const QString& file : QDir(ShippedSkins + QStringLiteral("Aqua")).entryList(QDir::Files)) {
            if (file == QStringLiteral("skin.ini") || (!button && file == QStringLiteral("button.bmp")))
                continue;
            ASSERT_TRUE(QFile::copy(ShippedSkins + QStringLiteral("Aqua/") + file, folder + file));
        }
        IniFile ini(folder + QStringLiteral("skin.ini"));
        const IniFile aqua(ShippedSkins + QStringLiteral("Aqua/skin.ini"));
        for (const QString& key : aqua.keyNames(QStringLiteral("Skin")))
            ini.writeString(QStringLiteral("Skin"), key, aqua.readString(QStringLiteral("Skin"), key, {}));
        ini.save();
        if (!metaLines.isNull()) {
            QFile file(folder + QStringLiteral("skin.ini"));
            ASSERT_TRUE(file.open(QIODevice::Append));
            file.write("\n[Meta]\n" + metaLines.toUtf8() + "\n");
        }
        host.skins << name;
    }

    void open(Page page = Skins) {
        dialog = new TfrmConfig(host, TfrmConfig::Use::Interactive);
        dialog->setAttribute(Qt::WA_DeleteOnClose, false);
        dialog->show();
        showPage(page);
        page_ = dialog->findChild<SkinsPage*>();
        list = dialog->findChild<QListWidget*>(QStringLiteral("lbxSkins"));
        ASSERT_NE(page_, nullptr);
        ASSERT_NE(list, nullptr);
        host.calls.clear();
    }
    void showPage(Page page) { dialog->findChild<PageControl*>()->setCurrentIndex(page); }
    template <typename T> T* control(const char* name) {
        return dialog->findChild<T*>(QString::fromLatin1(name));
    }

    FakeConfigHost host;
    TfrmConfig* dialog = nullptr;
    SkinsPage* page_ = nullptr;
    QListWidget* list = nullptr;
};

TEST_F(SkinsPageTest, WebsiteAddressIsFormedAndOpened) {
    struct Row {
        const char* value;
        const char* address;
    } rows[] = {
        {"example.org/skins/page", "http://example.org/skins/page"}, // host and page: prefixed
        {"HTTP://Example.org/Page", "HTTP://Example.org/Page"},      // the prefix in capitals
        {"http://", "http://http://"},                               // the prefix alone: doubled
        {"http://a", "http://a"},                                    // eight characters
    };
    host.skins.clear();
    for (const Row& row : rows)
        makeSkin(QStringLiteral("Skin%1").arg(&row - rows),
                 QStringLiteral("Website=") + QLatin1String(row.value));
    open();
    auto* website = control<LinkLabel>("lblWebsite");
    for (const Row& row : rows) {
        const QString address = QLatin1String(row.address);
        list->setCurrentRow(int(&row - rows));
        EXPECT_TRUE(website->isVisibleTo(dialog)) << row.value;
        EXPECT_EQ(website->text(), QStringLiteral("Author Website: ") + address);
        EXPECT_EQ(website->toolTip(),
                  QStringLiteral("Click here to visit the skin author's website, ") + address);
        host.calls.clear();
        Click(website);
        EXPECT_EQ(host.calls, QStringList{QStringLiteral("openUrl ") + QUrl(address).toString()})
            << row.value;
    }
}

TEST_F(SkinsPageTest, MetaLabelsShowExactlyThePresentKeys) {
    struct Row {
        const char* name;
        const char* meta; // nullptr: no [Meta] section
        bool author, website, description;
        const char* authorText;
    } rows[] = {
        {"Full", "Author=Ann\nWebsite=a.example\nDescription=text", true, true, true, "Skin Author: Ann"},
        {"Empty", "Author=\nWebsite=\nDescription=", true, true, true, "Skin Author: "},
        {"OnlyText", "Description=text", false, false, true, ""},
        {"NoMeta", nullptr, false, false, false, ""},
        // A skin's texts show as they are, never read as markup.
        {"Markup", "Author=<b>Bo</b><img src=/x.png>", true, false, false,
         "Skin Author: <b>Bo</b><img src=/x.png>"},
    };
    host.skins.clear();
    for (const Row& row : rows)
        makeSkin(QLatin1String(row.name), row.meta ? QString::fromLatin1(row.meta) : QString());
    // A listed skin whose folder has lost its skin.ini.
    host.skins << QStringLiteral("Gone");
    open();
    auto* author = control<QLabel>("lblAuthor");
    auto* website = control<LinkLabel>("lblWebsite");
    auto* description = control<QTextEdit>("mmoDescription");
    for (const Row& row : rows) {
        list->setCurrentRow(int(&row - rows));
        EXPECT_EQ(author->isVisibleTo(dialog), row.author) << row.name;
        EXPECT_EQ(author->text(), QLatin1String(row.authorText)) << row.name;
        EXPECT_GE(author->sizeHint().width(), author->fontMetrics().horizontalAdvance(author->text()))
            << row.name;
        EXPECT_EQ(website->isVisibleTo(dialog), row.website) << row.name;
        EXPECT_EQ(description->isVisibleTo(dialog), row.description) << row.name;
        if (!row.website) {
            EXPECT_TRUE(website->text().isEmpty() && website->toolTip().isEmpty()) << row.name;
        }
        if (!row.description) {
            EXPECT_TRUE(description->document()->isEmpty()) << row.name;
        }
    }
    list->setCurrentRow(int(std::size(rows)));
    EXPECT_FALSE(author->isVisibleTo(dialog) || website->isVisibleTo(dialog) ||
                 description->isVisibleTo(dialog));
}

TEST_F(SkinsPageTest, DescriptionIsFormattedRichText) {
    host.skins.clear();
    makeSkin(QStringLiteral("Styled"), QStringLiteral("Description=&bBold&b plain&pnext &iit&i &uul&u"));
    open();
    const QTextDocument* document = control<QTextEdit>("mmoDescription")->document();
    ASSERT_EQ(document->blockCount(), 3);
    const QTextBlock first = document->firstBlock();
    EXPECT_EQ(first.text(), QStringLiteral("Skin Description: Bold plain"));
    EXPECT_TRUE(first.next().text().isEmpty());
    EXPECT_EQ(document->lastBlock().text().trimmed(), QStringLiteral("next it ul"));
    // The format of the character after the given position in the whole text.
    const auto formatAt = [&](const QString& word) {
        QTextCursor cursor(const_cast<QTextDocument*>(document));
        cursor.setPosition(document->toPlainText().indexOf(word) + 1);
        return cursor.charFormat();
    };
    EXPECT_TRUE(formatAt(QStringLiteral("Bold")).font().bold());
    EXPECT_FALSE(formatAt(QStringLiteral("plain")).font().bold());
    EXPECT_TRUE(formatAt(QStringLiteral("it")).font().italic());
    EXPECT_TRUE(formatAt(QStringLiteral("ul")).font().underline());
    EXPECT_FALSE(formatAt(QStringLiteral("next")).font().underline());
}

TEST_F(SkinsPageTest, ShowingThePageAgainSelectsTheFirstSkin) {
    host.skins.clear();
    for (const char* name : {"First", "Second", "Third"})
        makeSkin(QLatin1String(name), QStringLiteral("Author=") + QLatin1String(name));
    open();
    list->setCurrentRow(2);
    EXPECT_EQ(page_->preview().skin().Name, QStringLiteral("Third"));
    EXPECT_EQ(control<QLabel>("lblAuthor")->text(), QStringLiteral("Skin Author: Third"));

    showPage(General);
    showPage(Skins);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(page_->preview().skin().Name, QStringLiteral("First"));
    EXPECT_EQ(control<QLabel>("lblAuthor")->text(), QStringLiteral("Skin Author: First"));
    EXPECT_TRUE(host.calls.isEmpty()) << host.calls.join(u' ').toStdString();
}

TEST_F(SkinsPageTest, ApplySkinSavesReloadsAndRebuildsWithoutEnablingApply) {
    host.skins.clear();
    makeSkin(QStringLiteral("First"), {});
    makeSkin(QStringLiteral("Second"), {});
    open();
    const QStringList applied{QStringLiteral("save"), QStringLiteral("reloadSkin"),
                              QStringLiteral("rebuildTabs")};

    list->setCurrentRow(1);
    control<QPushButton>("btnApplySkin")->click();
    EXPECT_EQ(host.calls, applied);
    EXPECT_EQ(host.stored().SkinName, QStringLiteral("Second"));
    EXPECT_EQ(
        IniFile(host.settingsFile()).readString(QStringLiteral("Appearance"), QStringLiteral("Skin"), {}),
        QStringLiteral("Second"));
    EXPECT_FALSE(control<QPushButton>("btnApply")->isEnabled());
    EXPECT_FALSE(host.pending().rebuild || host.pending().skinReload);

    // A double click on an entry does the same.
    host.calls.clear();
    list->setCurrentRow(0);
    Q_EMIT list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(host.calls, applied);
    EXPECT_EQ(host.stored().SkinName, QStringLiteral("First"));

    // Without a selected entry nothing happens.
    host.calls.clear();
    list->clearSelection();
    control<QPushButton>("btnApplySkin")->click();
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(SkinsPageTest, EmptySkinListLeavesTheListEmpty) {
    host.skins.clear();
    open();
    EXPECT_EQ(list->count(), 0);
    control<QPushButton>("btnApplySkin")->click();
    EXPECT_TRUE(host.calls.isEmpty());
}

TEST_F(SkinsPageTest, EntriesWithAButtonPictureAre31PixelsHigh) {
    host.skins.clear();
    makeSkin(QStringLiteral("WithButton"), {});
    makeSkin(QStringLiteral("Plain"), {}, false);
    open();
    EXPECT_EQ(list->visualItemRect(list->item(0)).height(), SkinButtonHeight);
    EXPECT_EQ(list->visualItemRect(list->item(1)).height(), list->fontMetrics().height());
}

TEST_F(SkinsPageTest, MovingOverTheDetailsRemovesThePositionHover) {
    host.skins.clear();
    makeSkin(QStringLiteral("First"), QStringLiteral("Author=A\nDescription=d"));
    open(General);
    auto* positions = dialog->findChild<PositionPage*>();
    auto* diagram = dialog->findChild<TGraphicPanel*>(QStringLiteral("gpPosition"));
    showPage(Skins);
    const auto hoverThenMoveOver = [&](QWidget* target) {
        Move(diagram, QPoint(150, 57));
        EXPECT_TRUE(positions->hoverShown());
        Move(target, QPoint(3, 3));
        return !positions->hoverShown();
    };
    EXPECT_TRUE(hoverThenMoveOver(list->viewport()));
    EXPECT_TRUE(hoverThenMoveOver(control<QLabel>("lblAuthor")));
    EXPECT_TRUE(hoverThenMoveOver(control<QTextEdit>("mmoDescription")->viewport()));
    EXPECT_TRUE(hoverThenMoveOver(control<QPushButton>("btnApplySkin")));
}

TEST(SkinButton, SelectedEntryMixesInATenthOfTheHighlight) {
    QImage picture(3, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(0, 0, 0));
    picture.setPixel(1, 0, qRgb(255, 255, 255));
    picture.setPixel(2, 0, qRgb(100, 50, 9));
    BlendTowardsHighlight(picture, qRgb(10, 20, 30));
    EXPECT_EQ(picture.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(picture.pixel(1, 0), qRgb(230, 231, 232));
    EXPECT_EQ(picture.pixel(2, 0), qRgb(91, 47, 11));
}

TEST(SkinPreview, TabsStandOnTheBottomEdgeWithTheKeyColourReplaced) {
    SkinPreview preview;
    preview.load(QStringLiteral("Aqua"), {QStringLiteral("Aqua")}, {ShippedSkins}, true);
    const TSkin& skin = preview.skin();
    EXPECT_EQ(preview.openTab().ItemsLength, 3 * skin.ItemHeight);
    const int height = skin.HeadHeight + preview.openTab().ItemsLength;

    // The open tab as PaintTab draws it: its rounded corners hold the key colour.
    QImage open(skin.TabWidth, height, QImage::Format_RGB32);
    open.fill(PixelFromColour(KeyColour));
    PaintTab(preview.openTab(), open, Settings{});
    ASSERT_EQ(open.pixel(0, 0), PixelFromColour(KeyColour));
    QImage closed = open;
    PaintTab(preview.closedTab(), closed, Settings{});

    const QColor face(12, 34, 56);
    const QSize box(253, 160);
    QImage shown(box, QImage::Format_RGB32);
    shown.fill(Qt::white);
    {
        QPainter painter(&shown);
        preview.paint(painter, box, face);
    }
    const int openTop = box.height() - height;
    const int closedLeft = skin.TabWidth + 18;
    const int closedTop = box.height() - skin.TabHeight;
    for (int y = 0; y < box.height(); ++y) {
        for (int x = 0; x < box.width(); ++x) {
            QRgb expected = face.rgb();
            if (QRect(closedLeft, closedTop, skin.TabWidth, skin.TabHeight).contains(x, y))
                expected = closed.pixel(x - closedLeft, y - closedTop);
            else if (QRect(6, openTop, skin.TabWidth, height).contains(x, y))
                expected = open.pixel(x - 6, y - openTop);
            if (expected == PixelFromColour(KeyColour))
                expected = face.rgb();
            ASSERT_EQ(shown.pixel(x, y), expected) << x << ", " << y;
        }
    }

    // In a box lower than the open tab, or too narrow for the closed one, the whole preview is
    // drawn smaller: every item of the open tab and most of the closed tab's head still show.
    for (const QSize small : {QSize(253, height - 20), QSize(200, 160)}) {
        const qreal scale = PreviewScale(skin, preview.openTab(), small);
        EXPECT_LT(scale, 1.0);
        EXPECT_LE(std::ceil(height * scale), small.height());
        EXPECT_LE((skin.TabWidth + 18 + skin.TabWidth * 3 / 4) * scale, small.width() + 1);
        QImage scaled(small, QImage::Format_RGB32);
        scaled.fill(Qt::white);
        {
            QPainter painter(&scaled);
            preview.paint(painter, small, face);
        }
        // The open tab's head shows at the top of what the scaled tab needs.
        const int top = small.height() - int(std::ceil(height * scale));
        bool headShown = false;
        for (int x = 6; x < small.width() / 2 && !headShown; ++x)
            headShown = scaled.pixel(x, std::max(0, top + 1)) != face.rgb();
        EXPECT_TRUE(headShown) << small.width() << "x" << small.height();
    }
    // A skin that fits is drawn as it is.
    EXPECT_EQ(PreviewScale(skin, preview.openTab(), box), 1.0);

    // Painted on a device of ratio 2 the preview is drawn in its pixels: the captions show detail
    // below a logical pixel, which an enlarged picture would not.
    QImage sharp(box * 2, QImage::Format_RGB32);
    sharp.setDevicePixelRatio(2);
    {
        QPainter painter(&sharp);
        preview.paint(painter, box, face);
    }
    const SkinBox& text = skin.TextPos;
    int uneven = 0;
    for (int y = openTop + skin.HeadHeight + text.Top; y < openTop + skin.HeadHeight + text.Top + text.Height;
         ++y) {
        for (int x = 6 + text.Left; x < 6 + text.Left + text.Width; ++x)
            uneven += sharp.pixel(2 * x, 2 * y) != sharp.pixel(2 * x + 1, 2 * y + 1);
    }
    EXPECT_GT(uneven, 0);
}

} // namespace
