#include "qt/picture.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdint>
#include <optional>
#include <utility>

#include "form/picture_file.h"

namespace launcher::qt {
namespace {

QByteArray FormatName(PictureFormat format) {
    switch (format) {
        case PictureFormat::kBmp:
            return QByteArrayLiteral("bmp");
        case PictureFormat::kPng:
            return QByteArrayLiteral("png");
        case PictureFormat::kJpeg:
            return QByteArrayLiteral("jpeg");
        case PictureFormat::kGif:
            return QByteArrayLiteral("gif");
    }
    return {};
}

}  // namespace

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

QPixmap LoadPicture(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    std::optional<PictureFile> file = ReadPictureFile(path);
    if (!file) {
        return {};
    }
    const QSize declared(static_cast<int>(file->header.width),
                         static_cast<int>(file->header.height));
    QByteArray bytes =
        QByteArray::fromRawData(file->bytes.data(), static_cast<qsizetype>(file->bytes.size()));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, FormatName(file->header.format));
    reader.setAutoDetectImageFormat(false);
    // As stored, whatever a JPEG's orientation tag says, as on Windows.
    reader.setAutoTransform(false);
    // The largest picture the header check lets through, 4 bytes a pixel.
    QImageReader::setAllocationLimit(
        static_cast<int>(std::uint64_t{kMaxPictureSide} * kMaxPictureSide * 4 >> 20));
    QImage picture = reader.read();
    if (picture.isNull() || picture.size() != declared) {
        return {};
    }
    return QPixmap::fromImage(std::move(picture));
}

}  // namespace launcher::qt
