// Writes each picture of the launcher's Windows icon as OUTPUT_DIR/NxN.png,
// the pictures the desktop's icon theme takes at their own sizes.
//
// usage: icon-pngs ICON.ico OUTPUT_DIR
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageReader>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: icon-pngs ICON.ico OUTPUT_DIR\n");
        return 2;
    }
    QImageReader reader(QString::fromLocal8Bit(argv[1]), "ico");
    const QDir output(QString::fromLocal8Bit(argv[2]));
    int written = 0;
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i)) {
            break;
        }
        const QImage image = reader.read();
        if (image.isNull() || image.width() != image.height()) {
            std::fprintf(stderr, "icon-pngs: picture %d: %s\n", i,
                         qPrintable(reader.errorString()));
            return 1;
        }
        const QString name = QStringLiteral("%1x%1.png").arg(image.width());
        if (!image.convertToFormat(QImage::Format_ARGB32).save(output.filePath(name), "PNG")) {
            std::fprintf(stderr, "icon-pngs: cannot write %s\n", qPrintable(name));
            return 1;
        }
        ++written;
    }
    return written > 0 ? 0 : 1;
}
