// The pictures of the main window: a file shown at its own size.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QString>

namespace launcher {

// Shows a picture at its own size, never stretched.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    // Takes the picture's size in device-independent pixels; a null picture
    // empties the box and leaves its size alone.
    void setPicture(const QPixmap& picture);
};

// The picture file at `path`, relative to the working folder, as it stands.
// Only BMP, PNG, JPEG and GIF, which Qt reads out of the box, are taken, told
// by the file's content rather than its name, so whether a picture shows does
// not hang on which further image plugins a machine has. An empty path, a
// missing file, another format or a damaged picture all give no picture.
QPixmap LoadPicture(const QString& path);

}  // namespace launcher
