// Draws the launcher's icon, a radar scope with its sweep, and saves it as a
// Windows icon holding 16, 32, 48 and 256 pixel pictures.
//
// Qt's ico writer puts one picture in a file, so each small picture goes
// through it on its own and the pictures are then joined under one icon
// directory. The 256 pixel picture is stored as PNG, the form Windows reads for
// that size, which keeps the file a tenth of its bitmap size.
//
// usage: render-icon OUTPUT.ico
#include <QBuffer>
#include <QByteArray>
#include <QConicalGradient>
#include <QDataStream>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QSaveFile>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kSizes[] = {16, 32, 48, 256};
constexpr int kPngFrom = 256;

// Angles in Qt's convention: degrees counter-clockwise from three o'clock.
constexpr double kSweepAngle = 45.0;
constexpr double kTrailLength = 100.0;

QImage DrawScope(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const double s = size;
    const QPointF centre(s / 2, s / 2);
    const double rim = std::max(1.0, s / 16);
    const double outer = s / 2 - 0.5;
    const double radius = outer - rim;
    const double line = std::max(1.0, s / 96);

    // Bezel and the dark glass of the scope.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0x4a, 0x44));
    p.drawEllipse(centre, outer, outer);
    QRadialGradient glass(centre, radius);
    glass.setColorAt(0.0, QColor(0x0f, 0x3d, 0x26));
    glass.setColorAt(1.0, QColor(0x05, 0x1a, 0x10));
    p.setBrush(glass);
    p.drawEllipse(centre, radius, radius);

    QPainterPath scope;
    scope.addEllipse(centre, radius, radius);
    p.setClipPath(scope);

    // The fading trail behind the sweep line.
    QConicalGradient trail(centre, kSweepAngle);
    trail.setColorAt(0.0, QColor(0x6c, 0xff, 0xa0, 210));
    trail.setColorAt(kTrailLength / 360.0, QColor(0x6c, 0xff, 0xa0, 0));
    trail.setColorAt(1.0, QColor(0x6c, 0xff, 0xa0, 0));
    p.setBrush(trail);
    p.drawPie(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius),
              static_cast<int>(kSweepAngle * 16), static_cast<int>(kTrailLength * 16));

    // Range rings and the cross, left out where they would only blur.
    const QColor grid(0x2f, 0xa8, 0x62, 170);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(grid, line));
    if (size >= 32) {
        for (double ring : {radius / 3, 2 * radius / 3}) {
            p.drawEllipse(centre, ring, ring);
        }
    }
    if (size >= 24) {
        p.drawLine(QPointF(centre.x() - radius, centre.y()),
                   QPointF(centre.x() + radius, centre.y()));
        p.drawLine(QPointF(centre.x(), centre.y() - radius),
                   QPointF(centre.x(), centre.y() + radius));
    }

    // The sweep line itself.
    QLineF sweep(centre, centre + QPointF(radius, 0));
    sweep.setAngle(kSweepAngle);
    p.setPen(QPen(QColor(0xc8, 0xff, 0xdc), std::max(1.0, s / 48), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(sweep);

    // Two targets the sweep has just passed.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd8, 0xff, 0xe6));
    const double blip = std::max(1.0, s / 28);
    for (const auto& [angle, reach] : {std::pair{70.0, 0.62}, std::pair{118.0, 0.38}}) {
        QLineF at(centre, centre + QPointF(radius * reach, 0));
        at.setAngle(angle);
        p.drawEllipse(at.p2(), blip, blip);
    }
    return image;
}

struct Entry {
    QByteArray header;  // the 16-byte directory entry, its offset still to be set
    QByteArray data;
};

// One picture as Qt's ico writer stores it: its directory entry and its bitmap.
bool EncodeBitmap(const QImage& image, Entry& entry) {
    QByteArray file;
    QBuffer buffer(&file);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "ico").write(image) || file.size() < 22) {
        return false;
    }
    entry.header = file.mid(6, 16);
    entry.data = file.mid(22);
    return true;
}

bool EncodePng(const QImage& image, Entry& entry) {
    QBuffer buffer(&entry.data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        return false;
    }
    QDataStream out(&entry.header, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    // Width and height 0 stand for 256; one plane, 32 bits, no palette.
    out << quint8(0) << quint8(0) << quint8(0) << quint8(0) << quint16(1) << quint16(32)
        << quint32(entry.data.size()) << quint32(0);
    return true;
}

QByteArray JoinIcon(const QList<Entry>& entries) {
    QByteArray file;
    QDataStream out(&file, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(entries.size());
    quint32 offset = 6 + 16 * entries.size();
    for (const Entry& entry : entries) {
        out.writeRawData(entry.header.constData(), 12);
        out << offset;
        offset += entry.data.size();
    }
    for (const Entry& entry : entries) {
        out.writeRawData(entry.data.constData(), static_cast<int>(entry.data.size()));
    }
    return file;
}

// Reads the file back as any icon reader would and finds every size in it.
bool HoldsEverySize(const QString& path) {
    QImageReader reader(path, "ico");
    if (reader.imageCount() != static_cast<int>(std::size(kSizes))) {
        return false;
    }
    for (int i = 0; i < reader.imageCount(); ++i) {
        const QImage image = reader.jumpToImage(i) ? reader.read() : QImage();
        if (image.width() != kSizes[i] || image.height() != kSizes[i]) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render-icon OUTPUT.ico\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);

    QList<Entry> entries;
    for (int size : kSizes) {
        Entry entry;
        const QImage image = DrawScope(size);
        if (!(size >= kPngFrom ? EncodePng(image, entry) : EncodeBitmap(image, entry))) {
            std::fprintf(stderr, "render-icon: could not encode the %d pixel picture\n", size);
            return 1;
        }
        entries.append(entry);
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(JoinIcon(entries)) < 0 || !file.commit()) {
        std::fprintf(stderr, "render-icon: could not write %s\n", argv[1]);
        return 1;
    }
    if (!HoldsEverySize(path)) {
        std::fprintf(stderr, "render-icon: %s does not read back with every size\n", argv[1]);
        return 1;
    }
    return 0;
}
