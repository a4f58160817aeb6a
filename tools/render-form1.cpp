// Draws the main window as it opens over a program folder and saves it as
// PNG, without any display: used for the picture in the README.
//
// usage: render-form1 OUTPUT.png [PROGRAM_FOLDER]   (default: the demo folder)
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/form1.h"
#include "prefs/system_volumes.h"

namespace {

class FixedLocation final : public launcher::ProgramLocation {
public:
    explicit FixedLocation(std::string folder) : folder_(std::move(folder)) {}
    std::string ProgramFolder() const override { return folder_; }

private:
    std::string folder_;
};

// Nothing here presses Exit; should it happen, the picture is still taken.
class NoEnding final : public launcher::ProgramEnder {
public:
    void EndProgram() override {}
};

// Nothing is launched while drawing; the clock and the starter stand idle.
class NoClock final : public launcher::Clock {
public:
    launcher::LocalTime Now() const override { return {}; }
};

class NoStarter final : public launcher::ProgramStarter {
public:
    launcher::StartResult Start(const launcher::CommandLine&, launcher::WindowShow) override {
        return {"render-form1 starts no program"};
    }
};

class NoReporter final : public launcher::ErrorReporter {
public:
    void ReportError(const std::string&) override {}
};

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: render-form1 OUTPUT.png [PROGRAM_FOLDER]\n");
        return 2;
    }
    const QString output = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString source =
        QDir(argc == 3 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(LAUNCHER_DEMO_FOLDER))
            .absolutePath();
    // Start-up writes into the program folder's Windows folder; draw from a
    // scratch copy so the folder given (often the repository's demo) stays
    // as it is.
    QTemporaryDir scratch;
    std::error_code copyError;
    std::filesystem::copy(source.toStdString(), scratch.path().toStdString(),
                          std::filesystem::copy_options::recursive, copyError);
    if (!scratch.isValid() || copyError) {
        std::fprintf(stderr, "render-form1: could not copy %s\n", qPrintable(source));
        return 1;
    }
    const QString folder = scratch.path();
    // Picture paths in config.ini are relative to the working folder; the
    // launcher is normally started from its own folder.
    QDir::setCurrent(folder);

    FixedLocation location(QDir::toNativeSeparators(folder).toStdString());
    NoEnding ender;
    launcher::SystemVolumeList volumes;
    NoClock clock;
    NoStarter starter;
    NoReporter errors;
    launcher::Form1 form({location, ender, volumes, clock, starter, errors});
    form.show();
    // Let the window settle into its frame before drawing it.
    QTimer::singleShot(200, &app, &QCoreApplication::quit);
    QApplication::exec();
    if (!form.grab().save(output, "PNG")) {
        std::fprintf(stderr, "render-form1: could not save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
