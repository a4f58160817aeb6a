// The least a Qt Widgets program with one shown window takes: the floor for
// the launcher's start and peak memory (measure-start.sh). Given a picture
// file, the window also shows it and a line of text: the floor of any window
// that shows text and a picture, which pays for fonts, text shaping and
// picture decoding as the launcher does.
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(650, 584);
    if (argc > 1) {
        auto* text = new QLabel(QStringLiteral("Bare window"), &window);
        text->move(8, 8);
        auto* picture = new QLabel(&window);
        picture->setPixmap(QPixmap(QString::fromLocal8Bit(argv[1])));
        picture->move(8, 32);
    }
    window.show();
    return QApplication::exec();
}
