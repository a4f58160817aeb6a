#include "qt/picture_box.h"

#include <QImageReader>

namespace launcher {

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setScaledContents(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::setPicture(const QPixmap& picture) {
    if (picture.isNull()) {
        clear();
        return;
    }
    setPixmap(picture);
    resize(picture.deviceIndependentSize().toSize());
}

QPixmap LoadPicture(const QString& path) {
    if (path.isEmpty()) {
        return {};
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    static const QList<QByteArray> kFormats{"bmp", "png", "jpeg", "gif"};
    if (!kFormats.contains(reader.format())) {
        return {};
    }
    return QPixmap::fromImage(reader.read());
}

}  // namespace launcher
