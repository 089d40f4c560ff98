#include "config/skin_preview.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "common/colour.h"
#include "common/device_pixels.h"
#include "skins/skin_bitmap.h"
#include "translation/ui_text.h"
#include "skins/skin_folder.h"
#include "tabs/tab_painter.h"

SkinPreview::SkinPreview() {
    PreviewTabOpen.Skin = &PreviewSkin;
    PreviewTabOpen.TabName = UiText("Skins.PreviewOpenTab", "System");
    for (const QString& caption :
         {UiText("Skins.PreviewItem1", "Text Editor"), UiText("Skins.PreviewItem2", "Configuration"),
          UiText("Skins.PreviewItem3", "Command Line Terminal")}) {
        TItemData record;
        record.Name = caption;
        PreviewTabOpen.AddItem(record);
    }
    PreviewTabOpen.HotIndex = 1;

    PreviewTabClosed.Skin = &PreviewSkin;
    PreviewTabClosed.TabName = UiText("Skins.PreviewClosedTab", "Games");
    PreviewTabClosed.HotIndex = 0;
}

void SkinPreview::load(const QString& name, const QStringList& skinList, const QStringList& skinRoots,
                       bool layeredMode) {
    PreviewSkin.Load(name, PreviewSettings, skinList, skinRoots, layeredMode);
    PreviewTabOpen.UpdateLength();
    PreviewTabClosed.UpdateLength();
}

void SkinPreview::paint(QPainter& painter, QSize box, QColor buttonFace) const {
    painter.fillRect(QRect(QPoint(0, 0), box), buttonFace);
    const int width = PreviewSkin.TabWidth;
    const int height = PreviewSkin.HeadHeight + PreviewTabOpen.ItemsLength;
    // A skin folder that went missing, or a skin.ini with nonsense metrics, draws nothing.
    if (width <= 0 || height <= 0 || qint64(width) * height > MaxSkinPicturePixels)
        return;
    const ColourValue face = ColourFromPixel(buttonFace.rgb());

    // A skin too large for the box is drawn smaller, as a whole: both tabs side by side, every
    // item of the open one.
    const qreal scale = PreviewScale(PreviewSkin, PreviewTabOpen, box);
    painter.save();
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, scale < 1.0);
    box = QSize(int(std::ceil(box.width() / scale)), int(std::ceil(box.height() / scale)));

    // Drawn in the device pixels of what it is painted on, so that it is as sharp as the tabs.
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    // Parts no picture covers show the button face, as see-through parts do.
    QImage bitmap(DeviceSize(QSize(width, height), ratio), QImage::Format_RGB32);
    bitmap.setDevicePixelRatio(ratio);
    bitmap.fill(PixelFromColour(KeyColour));
    PaintTab(PreviewTabOpen, bitmap, PreviewSettings);
    ReplaceColour(bitmap, KeyColour, face);
    painter.drawImage(6, std::max(0, box.height() - height), bitmap);

    // Drawn over the open tab's picture without clearing it: only the head rows are shown.
    PaintTab(PreviewTabClosed, bitmap, PreviewSettings);
    ReplaceColour(bitmap, KeyColour, face);
    // Drawn with its top TabHeight rows above the box's bottom edge: the rest falls outside.
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), box));
    painter.drawImage(width + 18, box.height() - PreviewSkin.TabHeight, bitmap);
    painter.restore();
    painter.restore();
}

qreal PreviewScale(const TSkin& skin, const TTab& openTab, QSize box) {
    // The open tab at 6, a gap of 12, and at least three quarters of the closed tab's head, so
    // that its caption can be read.
    const int wide = 6 + skin.TabWidth + 12 + skin.TabWidth * 3 / 4;
    const int high = skin.HeadHeight + openTab.ItemsLength;
    if (wide <= 0 || high <= 0 || box.isEmpty())
        return 1.0;
    return std::min({1.0, qreal(box.width()) / wide, qreal(box.height()) / high});
}
