// Draws the launcher's windows as a user meets them over a program folder and
// saves them as PNG, without any display: the pictures in the README.
//   form1.png          the main window with a position picked
//   final-setup.png    the Final Setup dialog that Launch opens
//   preferences.png    the User Preferences dialog
//
// usage: render-windows OUTPUT_FOLDER [PROGRAM_FOLDER]   (default: the demo folder)
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QPixmap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/form1_presenter.h"
#include "qt/form_kit.h"
#include "qt/form_maker.h"
#include "qt/form_window.h"
#include "qt/system_volumes.h"
#include "tools/idle_world.h"

namespace {

using launcher::tools::FixedLocation;
using launcher::tools::NoClock;
using launcher::tools::NoEnding;
using launcher::tools::NoReporter;
using launcher::tools::NoStarter;

// Lets the windows settle (and the 100 ms poll show a pick) before drawing.
void Settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

bool Save(launcher::FormView& view, const QDir& output, const char* name) {
    const QString path = output.filePath(QString::fromLatin1(name));
    if (!dynamic_cast<QWidget&>(view).grab().save(path, "PNG")) {
        std::fprintf(stderr, "render-windows: could not save %s\n", qPrintable(path));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // What a user sees unless they chose another style.
    launcher::qt::kit::UseClassicStyle();
    // A steady text cursor, so that the same windows always give the same pictures.
    QApplication::setCursorFlashTime(0);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: render-windows OUTPUT_FOLDER [PROGRAM_FOLDER]\n");
        return 2;
    }
    const QDir output(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    if (!output.exists() && !output.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "render-windows: could not make %s\n", argv[1]);
        return 1;
    }
    const QString source =
        QDir(argc == 3 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(LAUNCHER_DEMO_FOLDER))
            .absolutePath();
    // Start-up and Launch write into the program folder's Windows folder;
    // draw from a scratch copy so the folder given (often the repository's
    // demo) stays as it is.
    QTemporaryDir scratch;
    std::error_code copyError;
    std::filesystem::copy(source.toStdString(), scratch.path().toStdString(),
                          std::filesystem::copy_options::recursive, copyError);
    if (!scratch.isValid() || copyError) {
        std::fprintf(stderr, "render-windows: could not copy %s\n", qPrintable(source));
        return 1;
    }
    const QString folder = scratch.path();
    // Picture paths in config.ini and relative folders in settings.ini are
    // taken from the working folder; the launcher is normally started from
    // its own folder.
    QDir::setCurrent(folder);

    FixedLocation location(QDir::toNativeSeparators(folder).toStdString());
    NoEnding ender;
    launcher::qt::SystemVolumeList volumes;
    NoClock clock;
    NoStarter starter;
    NoReporter errors;
    launcher::qt::FormMaker maker;
    launcher::Form1Presenter presenter(maker, {location, ender, volumes, clock, starter, errors});
    presenter.Form_Load();
    auto& form = dynamic_cast<launcher::qt::FormWindow&>(presenter.view());
    form.show();
    Settle();

    // The first group's first position, picked as from its list.
    auto& first = form.control<QComboBox>("Combo1");
    if (first.count() > 0) {
        first.setCurrentIndex(0);
        emit first.activated(0);
        Settle();
    }
    if (!Save(form, output, "form1.png")) {
        return 1;
    }

    form.control<QPushButton>("Command1").click();
    Settle();
    if (presenter.form2() == nullptr) {
        std::fprintf(stderr, "render-windows: Launch opened no Final Setup dialog\n");
        return 1;
    }
    if (!Save(presenter.form2()->view(), output, "final-setup.png")) {
        return 1;
    }

    form.control<QPushButton>("Command3").click();
    Settle();
    return Save(presenter.form4().view(), output, "preferences.png") ? 0 : 1;
}
