// Draws Вельтор's pictures and writes them into the folder given on the command line:
//   icons/veltor-16.png, icons/veltor-32.png, icons/veltor-48.png  the program icon
//   veltor.ico                                                     the same three, for Windows
//   stop.bmp                                                       the Stop button's face
//
// The icon is drawn afresh at each size on a 16-unit grid, so that its outlines stay one
// pixel wide and the small size keeps only the shapes that still read at 16 px.

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// ---------------------------------------------------------------------------------------------
// The icon
// ---------------------------------------------------------------------------------------------

const QColor kOutline(48, 48, 48);
const QColor kPaper(255, 255, 255);
const QColor kPaperFold(200, 200, 208);
const QColor kTextLine(150, 160, 190);
const QColor kKeyGreen(40, 160, 50);
const QColor kKeyGreenDark(20, 90, 25);
const QColor kKeyYellow(250, 215, 30);
const QColor kKeyYellowDark(160, 120, 0);
const QColor kLockRed(220, 30, 30);
const QColor kLockRedDark(110, 10, 10);
const QColor kLockRedLight(255, 120, 110);
const QColor kShackle(170, 170, 175);
const QColor kShackleDark(70, 70, 75);
const QColor kShackle16(110, 110, 118);

// Shapes are laid out on a 16-unit grid whose whole numbers fall on pixel centres (see
// drawIcon), so one-pixel outlines drawn along them stay sharp at every size.

// A pen one device pixel wide whatever the painter's scale.
QPen hairline(const QColor &colour)
{
    QPen pen(colour, 0);
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// The sheet stands behind everything, its top-right corner folded down towards the reader.
void drawPaper(QPainter &p)
{
    const QPolygonF sheet{{0, 0}, {6, 0}, {10, 4}, {10, 14}, {0, 14}};
    p.setPen(hairline(kOutline));
    p.setBrush(kPaper);
    p.drawPolygon(sheet);

    const QPolygonF fold{{6, 0}, {6, 4}, {10, 4}};
    p.setBrush(kPaperFold);
    p.drawPolygon(fold);

    p.setPen(hairline(kTextLine));
    p.drawLine(QPointF(2, 2), QPointF(4, 2));
    for (double y : {4, 6, 8})
        p.drawLine(QPointF(2, y), QPointF(8, y));
}

// The padlock stands on the right, in front of the sheet: grey shackle over a red body.
void drawPadlock(QPainter &p, int size)
{
    const double pixel = 16.0 / size;

    QPainterPath shackle;
    shackle.moveTo(9.5, 6);
    shackle.lineTo(9.5, 3.5);
    shackle.arcTo(QRectF(9.5, 1.5, 4, 4), 180, -180);
    shackle.lineTo(13.5, 6);
    p.setBrush(Qt::NoBrush);
    // At 32 and 48 px a dark edge and a light middle make the bar look round; at 16 px there
    // is no room for both, and a middling grey reads best.
    if (size < 32) {
        p.setPen(QPen(kShackle16, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(shackle);
    } else {
        p.setPen(QPen(kShackleDark, 2, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(shackle);
        p.setPen(QPen(kShackle, 2 - 2 * pixel, Qt::SolidLine, Qt::FlatCap));
        p.drawPath(shackle);
    }

    p.setPen(hairline(kLockRedDark));
    p.setBrush(kLockRed);
    p.drawRect(QRectF(8, 6, 7, 5));
    p.setPen(hairline(kLockRedLight));
    p.drawLine(QPointF(9, 7), QPointF(14, 7));

    p.setPen(Qt::NoPen);
    p.setBrush(kLockRedDark);
    if (size < 32) {
        p.drawRect(QRectF(10.5, 7.5, 2, 2));
        return;
    }
    p.drawEllipse(QPointF(11.5, 8.1), 0.9, 0.9);
    p.drawPolygon(QPolygonF{{11.25, 8.1}, {11.75, 8.1}, {12.05, 9.9}, {10.95, 9.9}});
}

// The key lies across the foot of the picture, in front of the rest: a green bow and a
// yellow blade with its teeth hanging down.
void drawKey(QPainter &p, int size)
{
    QPainterPath blade;
    blade.addRect(QRectF(4, 11, 10, 2));
    blade.addRect(QRectF(10, 13, 1, 2));
    blade.addRect(QRectF(12, 13, 1, 1));
    p.setPen(hairline(kKeyYellowDark));
    p.setBrush(kKeyYellow);
    p.drawPath(blade.simplified());

    QPainterPath bow;
    bow.addEllipse(QPointF(2.5, 12), 2.5, 3);
    bow.addEllipse(QPointF(2.5, 12), 1.1, 1.25);
    p.setPen(hairline(kKeyGreenDark));
    p.setBrush(kKeyGreen);
    if (size >= 32) {
        p.drawPath(bow);
        return;
    }
    // Unsmoothed, so small a ring comes out lumpy: at 16 px it is set pixel by pixel, with a
    // one-pixel hole that shows the sheet behind.
    auto pixels = [&p](int x, int y, int w, int h, const QColor &c) {
        p.fillRect(QRectF(x - 0.5, y - 0.5, w, h), c);
    };
    pixels(1, 10, 3, 5, kKeyGreenDark);
    pixels(0, 11, 5, 3, kKeyGreenDark);
    pixels(1, 11, 3, 3, kKeyGreen);
    pixels(2, 12, 1, 1, kPaper);
}

QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    // Curves look ragged without smoothing at 32 and 48 px; at 16 px it only blurs.
    p.setRenderHint(QPainter::Antialiasing, size >= 32);
    const double scale = size / 16.0;
    p.translate(0.5, 0.5);
    p.scale(scale, scale);
    drawPaper(p);
    drawPadlock(p, size);
    drawKey(p, size);
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// ---------------------------------------------------------------------------------------------
// Reducing to 256 colours
// ---------------------------------------------------------------------------------------------

int squaredDistance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

int nearestIndex(const QList<QRgb> &table, QRgb colour, int first)
{
    int best = first;
    for (int i = first + 1; i < table.size(); ++i) {
        if (squaredDistance(table[i], colour) < squaredDistance(table[best], colour))
            best = i;
    }
    return best;
}

// Index 0 is the transparent background; the 255 commonest opaque colours follow and any rarer
// smoothing shades take the nearest of them. Pixels are either fully there or not at all, as a
// Windows icon's mask can say nothing in between.
QImage reduceTo256Colours(const QImage &argb)
{
    auto opaque = [](QRgb px) { return qAlpha(px) >= 128; };

    QHash<QRgb, int> counts;
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb px = argb.pixel(x, y);
            if (opaque(px))
                ++counts[px | 0xff000000u];
        }
    }
    QList<QRgb> byUse = counts.keys();
    std::sort(byUse.begin(), byUse.end(), [&](QRgb a, QRgb b) {
        return counts.value(a) != counts.value(b) ? counts.value(a) > counts.value(b) : a < b;
    });
    QList<QRgb> table{qRgba(0, 0, 0, 0)};
    table.append(byUse.mid(0, 255));

    QImage indexed(argb.size(), QImage::Format_Indexed8);
    indexed.setColorTable(table);
    for (int y = 0; y < argb.height(); ++y) {
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb px = argb.pixel(x, y);
            const int i = opaque(px) ? nearestIndex(table, px | 0xff000000u, 1) : 0;
            indexed.setPixel(x, y, uint(i));
        }
    }
    return indexed;
}

// ---------------------------------------------------------------------------------------------
// The .ico file
// ---------------------------------------------------------------------------------------------

int paddedTo4(int bytes)
{
    return (bytes + 3) & ~3;
}

// One icon entry: BITMAPINFOHEADER, 256 colours, the 8-bit picture bottom-up and then the 1-bit
// mask (set where the background shows through), every row padded to four bytes.
QByteArray iconBitmap(const QImage &indexed)
{
    const int w = indexed.width();
    const int h = indexed.height();
    const int xorStride = paddedTo4(w);
    const int andStride = paddedTo4((w + 7) / 8);

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint32(40) << qint32(w) << qint32(2 * h) << quint16(1) << quint16(8) << quint32(0)
        << quint32((xorStride + andStride) * h) << qint32(0) << qint32(0) << quint32(256)
        << quint32(0);

    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < indexed.colorCount() ? indexed.color(i) : 0;
        out << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c)) << quint8(0);
    }
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < xorStride; ++x)
            out << quint8(x < w ? indexed.pixelIndex(x, y) : 0);
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(andStride, '\0');
        for (int x = 0; x < w; ++x) {
            if (indexed.pixelIndex(x, y) == 0)
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
        }
        out.writeRawData(row.constData(), int(row.size()));
    }
    return bytes;
}

QByteArray icoFile(const QList<QImage> &icons)
{
    QList<QByteArray> bitmaps;
    for (const QImage &icon : icons)
        bitmaps.append(iconBitmap(icon));

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(icons.size()); // ICONDIR: type 1 is icon
    quint32 offset = 6 + 16 * quint32(icons.size());
    for (int i = 0; i < icons.size(); ++i) {
        // Width and height of 256 would be written as 0; ours are far smaller. A colour
        // count of 0 means 256 colours.
        out << quint8(icons[i].width()) << quint8(icons[i].height()) << quint8(0) << quint8(0)
            << quint16(1) << quint16(8) << quint32(bitmaps[i].size()) << offset;
        offset += quint32(bitmaps[i].size());
    }
    for (const QByteArray &bitmap : bitmaps)
        out.writeRawData(bitmap.constData(), int(bitmap.size()));
    return bytes;
}

// ---------------------------------------------------------------------------------------------
// The stop sign
// ---------------------------------------------------------------------------------------------

// The sixteen colours every Windows display could show; stop.bmp uses only these.
const QList<QRgb> kWindows16{
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
};

QPolygon octagon(const QRect &box)
{
    // The cut corners are 0.29 of the side, which makes all eight edges about equal.
    const int cx = box.width() * 29 / 100;
    const int cy = box.height() * 29 / 100;
    const int l = box.left(), t = box.top(), r = box.right() + 1, b = box.bottom() + 1;
    return QPolygon({{l + cx, t},
                     {r - cx, t},
                     {r, t + cy},
                     {r, b - cy},
                     {r - cx, b},
                     {l + cx, b},
                     {l, b - cy},
                     {l, t + cy}});
}

// Capital letters drawn as strokes in a 9 × 15 box, so the word looks the same on every machine
// whatever fonts it has.
QPainterPath letter(char c)
{
    QPainterPath path;
    switch (c) {
    case 'S':
        path.moveTo(8, 3);
        path.arcTo(QRectF(1, 1, 7, 6.5), 20, 250);
        path.arcTo(QRectF(1, 7.5, 7, 6.5), 90, -250);
        break;
    case 'T':
        path.moveTo(0, 1.5);
        path.lineTo(9, 1.5);
        path.moveTo(4.5, 1.5);
        path.lineTo(4.5, 15);
        break;
    case 'O':
        path.addRoundedRect(QRectF(1.5, 1.5, 6, 12), 3, 3);
        break;
    case 'P':
        path.moveTo(1.5, 15);
        path.lineTo(1.5, 1.5);
        path.lineTo(5, 1.5);
        path.arcTo(QRectF(2, 1.5, 6, 6.5), 90, -180);
        path.lineTo(1.5, 8);
        break;
    }
    return path;
}

void drawWord(QPainter &p, const char *word, QPoint centre)
{
    constexpr int kWidth = 9, kGap = 3, kHeight = 15;
    const int count = int(std::strlen(word));
    const int total = count * kWidth + (count - 1) * kGap;
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < count; ++i) {
        p.save();
        p.translate(centre.x() - total / 2 + i * (kWidth + kGap), centre.y() - kHeight / 2);
        p.drawPath(letter(word[i]));
        p.restore();
    }
}

// 260 × 71: the button shows only a middle band of it, so the word sits on the centre line.
QImage drawStopSign()
{
    QImage image(260, 71, QImage::Format_RGB32);
    image.fill(QColor(192, 192, 192));
    QPainter p(&image);
    // Hard edges only: every pixel must be one of the sixteen colours as drawn.
    p.setRenderHint(QPainter::Antialiasing, false);

    const QRect sign(QPoint(99, 4), QSize(62, 63));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(128, 0, 0));
    p.drawPolygon(octagon(sign));
    p.setBrush(QColor(255, 255, 255));
    p.drawPolygon(octagon(sign.adjusted(1, 1, -1, -1)));
    p.setBrush(QColor(255, 0, 0));
    p.drawPolygon(octagon(sign.adjusted(3, 3, -3, -3)));

    drawWord(p, "STOP", sign.center());
    p.end();

    QImage indexed(image.size(), QImage::Format_Indexed8);
    indexed.setColorTable(kWindows16);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            indexed.setPixel(x, y, uint(nearestIndex(kWindows16, image.pixel(x, y), 0)));
    }
    return indexed;
}

// A 4-bit Windows bitmap: file header, BITMAPINFOHEADER, 16-colour palette, rows bottom-up with
// two pixels a byte (left one in the high half), each row padded to four bytes.
QByteArray bmp4File(const QImage &indexed)
{
    const int w = indexed.width();
    const int h = indexed.height();
    const int stride = paddedTo4((w + 1) / 2);
    const quint32 dataOffset = 14 + 40 + 16 * 4;

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint8('B') << quint8('M') << quint32(dataOffset + quint32(stride * h)) << quint16(0)
        << quint16(0) << dataOffset;
    out << quint32(40) << qint32(w) << qint32(h) << quint16(1) << quint16(4) << quint32(0)
        << quint32(stride * h) << qint32(2835) << qint32(2835) << quint32(16) << quint32(0);
    for (QRgb c : kWindows16)
        out << quint8(qBlue(c)) << quint8(qGreen(c)) << quint8(qRed(c)) << quint8(0);
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride, '\0');
        for (int x = 0; x < w; ++x)
            row[x / 2] = char(row[x / 2] | (indexed.pixelIndex(x, y) << (x % 2 ? 0 : 4)));
        out.writeRawData(row.constData(), int(row.size()));
    }
    return bytes;
}

// ---------------------------------------------------------------------------------------------

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: drawpictures <resources folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "drawpictures: cannot create %s/icons\n", argv[1]);
        return 1;
    }

    bool ok = true;
    QList<QImage> icons;
    for (int size : {16, 32, 48}) {
        icons.append(reduceTo256Colours(drawIcon(size)));
        const QString name = QStringLiteral("icons/veltor-%1.png").arg(size);
        ok = icons.last().save(out.filePath(name), "PNG") && ok;
    }
    ok = writeFile(out.filePath(QStringLiteral("veltor.ico")), icoFile(icons)) && ok;
    ok = writeFile(out.filePath(QStringLiteral("stop.bmp")), bmp4File(drawStopSign())) && ok;

    if (!ok) {
        std::fprintf(stderr, "drawpictures: could not write every picture into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
