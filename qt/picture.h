// The pictures of the main window: a file shown at its own size.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <string>

namespace launcher::qt {

// Shows a picture at its own size, never stretched.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    // Takes the picture's size in device-independent pixels; a null picture
    // empties the box and leaves its size alone.
    void setPicture(const QPixmap& picture);
};

// The picture file at `path` (UTF-8) as it stands, read through
// ReadPictureFile (form/picture_file.h): only BMP, PNG, JPEG and GIF, told by
// the file's content, and decoded from those bytes by the one reader of the
// format its header names, so no other image plugin is asked. An empty path,
// a file ReadPictureFile refuses, a damaged picture or one that decodes to
// another size than its header gives all give no picture.
QPixmap LoadPicture(const std::string& path);

}  // namespace launcher::qt
