#include "qt/plugin_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace launcher::qt {

void KeepPluginsOutOfProgramFolder() {
    // The executable's folder as the application object will find it.
    const QString folder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    if (folder.isEmpty()) {
        return;
    }
    // Qt adds the executable's folder to the plugin folders in the
    // application object's constructor, replaying only the changes made to
    // the list it computed before. So that folder must be in that list for
    // its removal to be replayed: it is put there through QT_PLUGIN_PATH
    // for one reading, then left out.
    const char* const kVariable = "QT_PLUGIN_PATH";
    const bool userSet = qEnvironmentVariableIsSet(kVariable);
    const QByteArray userPaths = qgetenv(kVariable);
    qputenv(kVariable, QFile::encodeName(folder) + QDir::listSeparator().toLatin1() + userPaths);
    QStringList paths = QCoreApplication::libraryPaths();
    if (userSet) {
        qputenv(kVariable, userPaths);
    } else {
        qunsetenv(kVariable);
    }
    paths.removeAll(folder);
    QCoreApplication::setLibraryPaths(paths);
}

void DropProgramFolderFromPluginPaths() {
    QCoreApplication::removeLibraryPath(QCoreApplication::applicationDirPath());
}

}  // namespace launcher::qt
