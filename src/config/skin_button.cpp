#include "config/skin_button.h"

namespace {

int Blend(int highlight, int pixel) {
    return (highlight + 9 * pixel) / 10;
}

} // namespace

void BlendTowardsHighlight(QImage& picture, QRgb highlight) {
    if (picture.format() != QImage::Format_RGB32)
        picture = picture.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = row[x];
            row[x] = qRgb(Blend(qRed(highlight), qRed(p)), Blend(qGreen(highlight), qGreen(p)),
                          Blend(qBlue(highlight), qBlue(p)));
        }
    }
}
