// The least a Qt Widgets program with one shown window takes: the floor for
// the launcher's peak memory, measured the same way, e.g.
//   QT_QPA_PLATFORM=offscreen /usr/bin/time -v timeout 3 bench/bare_window
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(650, 584);
    window.show();
    return QApplication::exec();
}
