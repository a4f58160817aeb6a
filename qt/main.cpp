#include <QApplication>
#include <QTimer>
#include <optional>

#include "app/launcher_run.h"
#include "app/program_folder.h"
#include "qt/form_kit.h"
#include "qt/form_maker.h"
#include "qt/plugin_paths.h"
#include "qt/system_volumes.h"
#include "qt/system_world.h"

int main(int argc, char* argv[]) {
    // --help, --version and the menu entries need no display.
    if (const std::optional<int> status = launcher::RunOptionWithoutWindow(argc, argv)) {
        return *status;
    }
    // Before the application object, which loads the first plugins.
    launcher::qt::KeepPluginsOutOfProgramFolder();
    const bool styleChosen = launcher::qt::kit::StyleChosen(argc, argv);
    QApplication app(argc, argv);
    launcher::qt::DropProgramFolderFromPluginPaths();
    if (!styleChosen) {
        launcher::qt::kit::UseClassicStyle();
    }
    // The main window ends the program itself; Qt's own quit on the last
    // closed window would first send close requests to the other windows.
    QApplication::setQuitOnLastWindowClosed(false);

    launcher::qt::SystemProgramLocation location;
    launcher::qt::SystemProgramEnder ender;
    launcher::qt::SystemVolumeList volumes;
    launcher::qt::SystemErrorReporter errors;
    launcher::qt::FormMaker windows;
    const auto runEvents = [] {
        // The Windows executable's icon, also on every window's title and
        // task bar. Reading it takes as long as making the main window, so it
        // follows the window rather than holding it back.
        QTimer::singleShot(0, [] {
            QApplication::setWindowIcon(launcher::qt::kit::TitleBarIcon(
                QStringLiteral(":/radavue-launcher.ico"), qApp->devicePixelRatio()));
        });
        return QApplication::exec();
    };
    return launcher::RunLauncher({location, location.Problem(), ender, volumes, errors}, windows,
                                 runEvents);
}
