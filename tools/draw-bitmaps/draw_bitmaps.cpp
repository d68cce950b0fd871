// Draws the module's bitmaps and writes them as PNG files into the folder
// given on the command line (src/resources/bitmaps/). The PNGs are
// kept in the repository; run this again after changing a drawing:
//
//   ninja orv_redraw_bitmaps
//
// Conventions the module relies on:
//   361, 362  module icons 32x32 and 16x16; magenta 0xFF00FF where transparent
//   389       seven 22x22 tab images side by side; the top-left pixel (magenta)
//             is the mask colour
//   363       push-button face, four states of 100x26 side by side:
//             normal, hot, pressed, disabled
//   393       check-button face, five states of 100x26: normal, hot, pressed,
//             disabled, checked; a check box sits at x 7..18 of every state

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cstdio>
#include <functional>

namespace {

const QColor kMask(0xFF, 0x00, 0xFF);

QImage canvas(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(fill);
    return image;
}

// Paints with antialiasing, then snaps every pixel that is neither the mask
// colour nor opaque drawing back to opaque, so that the mask colour stays an
// exact key (a blend of magenta and a drawing would otherwise show as pink).
void DrawKeyed(QImage& image, const QRect& area, const std::function<void(QPainter&)>& draw) {
    QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        painter.setRenderHint(QPainter::Antialiasing);
        draw(painter);
    }
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            const QColor c = QColor::fromRgba(layer.pixel(x, y));
            if (c.alpha() >= 96) image.setPixelColor(area.x() + x, area.y() + y, QColor(c.red(), c.green(), c.blue()));
        }
    }
}

void DrawModuleIcon(QPainter& p, qreal size) {
    const qreal s = size / 32.0;
    p.scale(s, s);
    // A rounded tile with a small bar chart and a drop: values over time.
    QLinearGradient tile(0, 0, 0, 32);
    tile.setColorAt(0, QColor(0x3A, 0x8F, 0xD8));
    tile.setColorAt(1, QColor(0x1B, 0x4F, 0x8C));
    p.setPen(QPen(QColor(0x12, 0x35, 0x60), 1.2));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xF4, 0xF8, 0xFC));
    p.drawRect(QRectF(6, 18, 4, 8));
    p.drawRect(QRectF(12, 13, 4, 13));
    p.drawRect(QRectF(18, 20, 4, 6));
    QPainterPath drop;
    drop.moveTo(25, 5);
    drop.cubicTo(25, 5, 20, 12, 20, 14.5);
    drop.arcTo(QRectF(20, 10, 10, 9.5), 180, 180);
    drop.cubicTo(30, 12, 25, 5, 25, 5);
    p.setBrush(QColor(0xE5, 0x39, 0x35));
    p.drawPath(drop);
}

// The seven tab images, 22x22 each, drawn in a local 22x22 frame.
void DrawTabImage(QPainter& p, int index) {
    const QColor ink(0x2B, 0x3A, 0x4A);
    const QColor accent(0x2F, 0x80, 0xC8);
    const QColor warm(0xE0, 0x6C, 0x2A);
    p.setPen(QPen(ink, 1.2));
    switch (index) {
    case 0: {  // Values: a sheet with entries and a pen
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3.5, 2.5, 12, 17));
        p.setPen(QPen(accent, 1.5));
        for (int row = 0; row < 4; ++row) p.drawLine(QPointF(6, 6.5 + row * 3.5), QPointF(13, 6.5 + row * 3.5));
        p.setPen(QPen(ink, 1));
        p.setBrush(warm);
        p.drawPolygon(QPolygonF(
            {QPointF(19.5, 7), QPointF(21, 8.5), QPointF(13.5, 17.5), QPointF(12, 18.5), QPointF(12.5, 16.5)}));
        break;
    }
    case 1: {  // Charts: bars with a trend line
        p.drawLine(QPointF(2.5, 19.5), QPointF(20.5, 19.5));
        p.drawLine(QPointF(2.5, 2.5), QPointF(2.5, 19.5));
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawRect(QRectF(5, 12, 3, 7));
        p.drawRect(QRectF(10, 8, 3, 11));
        p.drawRect(QRectF(15, 10, 3, 9));
        p.setPen(QPen(warm, 1.6));
        p.drawPolyline(QPolygonF({QPointF(4, 9), QPointF(10, 5), QPointF(14, 7), QPointF(20, 3)}));
        break;
    }
    case 2: {  // Tables: a grid with a header row
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 3.5, 17, 15));
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawRect(QRectF(3, 4, 16, 3.5));
        p.setPen(QPen(ink, 1));
        for (int row = 1; row < 4; ++row) p.drawLine(QPointF(2.5, 7.5 + row * 3.7), QPointF(19.5, 7.5 + row * 3.7));
        p.drawLine(QPointF(9, 3.5), QPointF(9, 18.5));
        break;
    }
    case 3: {  // Report: a printed page with a folded corner
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF(
            {QPointF(4.5, 2.5), QPointF(13.5, 2.5), QPointF(17.5, 6.5), QPointF(17.5, 19.5), QPointF(4.5, 19.5)}));
        p.drawPolyline(QPolygonF({QPointF(13.5, 2.5), QPointF(13.5, 6.5), QPointF(17.5, 6.5)}));
        p.setPen(QPen(accent, 1.3));
        for (int row = 0; row < 3; ++row) p.drawLine(QPointF(7, 10 + row * 3), QPointF(15, 10 + row * 3));
        break;
    }
    case 4: {  // Groups/Items: a folder with items
        p.setBrush(QColor(0xF2, 0xC1, 0x4E));
        p.drawPolygon(QPolygonF({QPointF(1.5, 5.5), QPointF(7.5, 5.5), QPointF(9.5, 7.5), QPointF(20.5, 7.5),
                                 QPointF(20.5, 18.5), QPointF(1.5, 18.5)}));
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawEllipse(QRectF(5, 11, 4, 4));
        p.drawEllipse(QRectF(11, 11, 4, 4));
        break;
    }
    case 5: {  // Targets: a bullseye
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(2.5, 2.5, 17, 17));
        p.setBrush(accent);
        p.drawEllipse(QRectF(5.5, 5.5, 11, 11));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(8.5, 8.5, 5, 5));
        p.setPen(Qt::NoPen);
        p.setBrush(warm);
        p.drawEllipse(QRectF(9.8, 9.8, 2.4, 2.4));
        break;
    }
    case 6: {  // Units: a balance
        p.setPen(QPen(ink, 1.4));
        p.drawLine(QPointF(11, 3), QPointF(11, 18.5));
        p.drawLine(QPointF(6, 18.5), QPointF(16, 18.5));
        p.drawLine(QPointF(3, 6), QPointF(19, 6));
        p.setPen(QPen(ink, 1));
        p.drawLine(QPointF(3, 6), QPointF(1.5, 12));
        p.drawLine(QPointF(3, 6), QPointF(5.5, 12));
        p.drawLine(QPointF(19, 6), QPointF(16.5, 12));
        p.drawLine(QPointF(19, 6), QPointF(20.5, 12));
        p.setBrush(accent);
        p.drawChord(QRectF(1, 9, 5, 6), 180 * 16, 180 * 16);
        p.drawChord(QRectF(16, 9, 5, 6), 180 * 16, 180 * 16);
        break;
    }
    default: break;
    }
}

enum class FaceState { Normal, Hot, Pressed, Disabled, Checked };

void DrawButtonFace(QPainter& p, const QRectF& r, FaceState state) {
    QColor top(0xFB, 0xFC, 0xFD), bottom(0xD9, 0xE0, 0xE8), border(0x7A, 0x8A, 0x9C);
    switch (state) {
    case FaceState::Normal: break;
    case FaceState::Hot:
        top = QColor(0xFF, 0xFF, 0xFF);
        bottom = QColor(0xC9, 0xDF, 0xF5);
        border = QColor(0x3C, 0x7F, 0xC4);
        break;
    case FaceState::Pressed:
    case FaceState::Checked:
        top = QColor(0xB7, 0xCD, 0xE4);
        bottom = QColor(0xE3, 0xEC, 0xF5);
        border = QColor(0x2E, 0x5E, 0x91);
        break;
    case FaceState::Disabled:
        top = bottom = QColor(0xEC, 0xEC, 0xEC);
        border = QColor(0xB4, 0xB4, 0xB4);
        break;
    }
    QLinearGradient fill(r.topLeft(), r.bottomLeft());
    fill.setColorAt(0, top);
    fill.setColorAt(1, bottom);
    p.setPen(QPen(border, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    if (state == FaceState::Normal || state == FaceState::Hot) {
        p.setPen(QPen(QColor(255, 255, 255, 170), 1));
        p.drawLine(QPointF(r.left() + 3, r.top() + 1.5), QPointF(r.right() - 3, r.top() + 1.5));
    }
}

void DrawCheckBox(QPainter& p, const QPointF& origin, bool checked, bool enabled) {
    const QColor ink = enabled ? QColor(0x1F, 0x3A, 0x5A) : QColor(0xA0, 0xA0, 0xA0);
    p.setPen(QPen(ink, 1));
    p.setBrush(enabled ? Qt::white : QColor(0xF4, 0xF4, 0xF4));
    p.drawRect(QRectF(origin.x() + 0.5, origin.y() + 0.5, 11, 11));
    if (checked) {
        p.setPen(QPen(QColor(0x1B, 0x7A, 0x2E), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({origin + QPointF(2.5, 6), origin + QPointF(5, 8.8), origin + QPointF(9.8, 3)}));
    }
}

bool save(const QImage& image, const QDir& folder, const char* name) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), image.width(), image.height());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    QImage large = canvas(32, 32, kMask);
    DrawKeyed(large, large.rect(), [](QPainter& p) { DrawModuleIcon(p, 32); });
    QImage small = canvas(16, 16, kMask);
    DrawKeyed(small, small.rect(), [](QPainter& p) { DrawModuleIcon(p, 16); });

    constexpr int kTab = 22, kTabImages = 7;
    QImage tabs = canvas(kTab * kTabImages, kTab, kMask);
    for (int i = 0; i < kTabImages; ++i)
        DrawKeyed(tabs, QRect(i * kTab, 0, kTab, kTab), [i](QPainter& p) { DrawTabImage(p, i); });

    constexpr int kFaceWidth = 100, kFaceHeight = 26;
    const FaceState pushStates[] = {FaceState::Normal, FaceState::Hot, FaceState::Pressed, FaceState::Disabled};
    QImage push(kFaceWidth * 4, kFaceHeight, QImage::Format_ARGB32_Premultiplied);
    push.fill(Qt::transparent);
    {
        QPainter p(&push);
        p.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 4; ++i)
            DrawButtonFace(p, QRectF(i * kFaceWidth, 0, kFaceWidth, kFaceHeight), pushStates[i]);
    }
    const FaceState checkStates[] = {FaceState::Normal, FaceState::Hot, FaceState::Pressed, FaceState::Disabled,
                                     FaceState::Checked};
    QImage check(kFaceWidth * 5, kFaceHeight, QImage::Format_ARGB32_Premultiplied);
    check.fill(Qt::transparent);
    {
        QPainter p(&check);
        p.setRenderHint(QPainter::Antialiasing);
        for (int i = 0; i < 5; ++i) {
            const QRectF face(i * kFaceWidth, 0, kFaceWidth, kFaceHeight);
            DrawButtonFace(p, face, checkStates[i]);
            DrawCheckBox(p, face.topLeft() + QPointF(7, 7), checkStates[i] == FaceState::Checked,
                         checkStates[i] != FaceState::Disabled);
        }
    }

    const bool ok = save(large, folder, "361.png") && save(small, folder, "362.png") && save(push, folder, "363.png") &&
                    save(tabs, folder, "389.png") && save(check, folder, "393.png");
    return ok ? 0 : 1;
}
