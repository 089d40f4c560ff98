// Draws Kelvara's application icon in the style of the default skin, Aqua: an open tab with its
// glossy blue head and three items, the middle one highlighted. Writes the scalable SVG and PNG
// pictures of 16 to 256 pixels into an icon theme's folder layout. Run from the repository's root:
//     build/tools/make_app_icon packaging/icons/hicolor
// Both kinds are drawn from one list of shapes, so they show the same picture.

#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QString IconName = QStringLiteral("org.kelvara.Kelvara");
// The shapes are laid out on a canvas of this many units a side.
constexpr double Canvas = 256;

// A rectangle whose upper and lower corners are rounded with their own radii, filled with a
// vertical gradient and outlined with an optional stroke centred on its edge.
struct Shape {
    QRectF rect;
    double topRadius = 0;
    double bottomRadius = 0;
    QList<QPair<double, QColor>> stops; // offset from the top (0) to the bottom (1), colour
    QColor stroke = Qt::transparent;
    double strokeWidth = 0;
};

const QColor Border(0x1b, 0x4f, 0x8f);

// Aqua's gloss: a light upper half with a sharp break to a deeper lower half. The break takes a
// sliver, as a gradient holds one colour per offset.
QList<QPair<double, QColor>> Gloss(QColor topFrom, QColor topTo, QColor lowFrom, QColor lowTo) {
    return {{0, topFrom}, {0.5, topTo}, {0.505, lowFrom}, {1, lowTo}};
}

QList<QPair<double, QColor>> Flat(QColor colour) {
    return {{0, colour}, {1, colour}};
}

QList<Shape> IconShapes() {
    const double left = 36, right = 220, top = 20, bottom = 240, head = 84, radius = 30;
    QList<Shape> shapes;
    // The item part, pale as Aqua's rows; its outline is drawn last, over everything.
    shapes.append({QRectF(left, top, right - left, bottom - top),
                   radius,
                   14,
                   {{0, Qt::white}, {1, QColor(0xe8, 0xf2, 0xfc)}}});
    shapes.append({QRectF(left, top, right - left, head - top), radius, 0,
                   Gloss(QColor(0xa8, 0xd6, 0xff), QColor(0x66, 0xb0, 0xf2), QColor(0x2a, 0x7c, 0xd8),
                         QColor(0x45, 0x9c, 0xee))});
    // Three items: an icon and a line of caption each; the middle one highlighted.
    const double rowHeight = 52;
    const QColor icons[] = {QColor(0xf0, 0x9a, 0x2c), QColor(0x3c, 0xb0, 0x5a), QColor(0x9a, 0x5c, 0xd6)};
    for (int row = 0; row < 3; ++row) {
        const double y = head + 2 + row * rowHeight;
        const bool hot = row == 1;
        if (hot) {
            shapes.append({QRectF(left + 2, y, right - left - 4, rowHeight), 0, 0,
                           Gloss(QColor(0x62, 0xaa, 0xec), QColor(0x3f, 0x90, 0xe0), QColor(0x1f, 0x6c, 0xc6),
                                 QColor(0x2c, 0x7e, 0xd6))});
        }
        shapes.append({QRectF(left + 16, y + 9, 34, 34), 7, 7, Flat(icons[row]), Qt::white, 3});
        shapes.append({QRectF(left + 62, y + 20, hot ? 96 : 106, 12), 6, 6,
                       Flat(hot ? QColor(Qt::white) : QColor(0x9f, 0xb4, 0xcc))});
    }
    shapes.append({QRectF(left, head, right - left, 0), 0, 0, {}, Border, 6});
    shapes.append({QRectF(left, top, right - left, bottom - top), radius, 14, {}, Border, 8});
    return shapes;
}

QPainterPath Outline(const Shape& s) {
    const QRectF r = s.rect;
    const double t = s.topRadius, b = s.bottomRadius;
    QPainterPath path;
    path.moveTo(r.left(), r.top() + t);
    path.arcTo(QRectF(r.left(), r.top(), 2 * t, 2 * t), 180, -90);
    path.lineTo(r.right() - t, r.top());
    path.arcTo(QRectF(r.right() - 2 * t, r.top(), 2 * t, 2 * t), 90, -90);
    path.lineTo(r.right(), r.bottom() - b);
    path.arcTo(QRectF(r.right() - 2 * b, r.bottom() - 2 * b, 2 * b, 2 * b), 0, -90);
    path.lineTo(r.left() + b, r.bottom());
    path.arcTo(QRectF(r.left(), r.bottom() - 2 * b, 2 * b, 2 * b), 270, -90);
    path.closeSubpath();
    return path;
}

// The same outline as SVG path data: arcs of a quarter circle, clockwise.
QString SvgOutline(const Shape& s) {
    const QRectF r = s.rect;
    const double t = s.topRadius, b = s.bottomRadius;
    const auto n = [](double v) { return QString::number(v, 'g', 6); };
    const auto arc = [&](double radius, double x, double y) {
        return QStringLiteral("A%1 %1 0 0 1 %2 %3 ").arg(n(radius), n(x), n(y));
    };
    return QStringLiteral("M%1 %2 ").arg(n(r.left()), n(r.top() + t)) + arc(t, r.left() + t, r.top()) +
           QStringLiteral("H%1 ").arg(n(r.right() - t)) + arc(t, r.right(), r.top() + t) +
           QStringLiteral("V%1 ").arg(n(r.bottom() - b)) + arc(b, r.right() - b, r.bottom()) +
           QStringLiteral("H%1 ").arg(n(r.left() + b)) + arc(b, r.left(), r.bottom() - b) +
           QStringLiteral("Z");
}

QString SvgColour(QColor colour) {
    return colour.name(QColor::HexRgb);
}

QString Svg(const QList<Shape>& shapes) {
    QString defs;
    QString body;
    for (qsizetype i = 0; i < shapes.size(); ++i) {
        const Shape& s = shapes[i];
        QString fill = QStringLiteral("none");
        if (!s.stops.isEmpty()) {
            const QString id = QStringLiteral("g%1").arg(i);
            defs += QStringLiteral("    <linearGradient id=\"%1\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">\n")
                        .arg(id);
            for (const auto& [offset, colour] : s.stops)
                defs += QStringLiteral("      <stop offset=\"%1\" stop-color=\"%2\"/>\n")
                            .arg(QString::number(offset), SvgColour(colour));
            defs += QStringLiteral("    </linearGradient>\n");
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        QString stroke;
        if (s.strokeWidth > 0)
            stroke = QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\"")
                         .arg(SvgColour(s.stroke), QString::number(s.strokeWidth));
        body += QStringLiteral("  <path d=\"%1\" fill=\"%2\"%3/>\n").arg(SvgOutline(s), fill, stroke);
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">\n  <defs>\n")
               .arg(Canvas) +
           defs + QStringLiteral("  </defs>\n") + body + QStringLiteral("</svg>\n");
}

QImage Png(const QList<Shape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / Canvas, size / Canvas);
    for (const Shape& s : shapes) {
        const QPainterPath path = Outline(s);
        if (!s.stops.isEmpty()) {
            QLinearGradient gradient(0, s.rect.top(), 0, s.rect.bottom());
            for (const auto& [offset, colour] : s.stops)
                gradient.setColorAt(offset, colour);
            painter.fillPath(path, gradient);
        }
        if (s.strokeWidth > 0) {
            QPen pen(s.stroke, s.strokeWidth);
            pen.setJoinStyle(Qt::RoundJoin);
            painter.strokePath(path, pen);
        }
    }
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

bool Write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_app_icon ICON-THEME-FOLDER\n");
        return 2;
    }
    const QString theme = QString::fromLocal8Bit(argv[1]) + u'/';
    const QList<Shape> shapes = IconShapes();
    bool written = Write(theme + QStringLiteral("scalable/apps/") + IconName + QStringLiteral(".svg"),
                         Svg(shapes).toUtf8());
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString path =
            theme + QStringLiteral("%1x%1/apps/").arg(size) + IconName + QStringLiteral(".png");
        written = Write(path, {}) && Png(shapes, size).save(path, "PNG") && written;
    }
    if (!written) {
        std::fprintf(stderr, "make_app_icon: cannot write into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
