#include "qt/system_world.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <cstdio>
#include <vector>

#include "app/program_folder.h"

namespace launcher::qt {

SystemProgramLocation::SystemProgramLocation() {
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    std::vector<std::string> given;
    for (const QString& argument : arguments) {
        given.push_back(argument.toStdString());
    }
    const LauncherCommand command = ReadCommandLine(given);
    if (command.kind != LauncherCommand::Kind::kOpen) {
        problem_ = command.kind == LauncherCommand::Kind::kWrong
                       ? command.message
                       : "Give the option alone, before any other.\n" + UsageText();
        return;
    }
    FolderChoice choice =
        ChooseProgramFolder(command.folder, QCoreApplication::applicationDirPath().toStdString(),
                            QDir::currentPath().toStdString(), FolderHoldsConfig);
    folder_ = std::move(choice.folder);
    problem_ = std::move(choice.message);
}

void SystemErrorReporter::ReportError(const std::string& message) {
    const QString text = QString::fromStdString(message);
    // Also where a terminal or the desktop's log keeps it after the box is
    // gone; without control characters but line breaks, as a terminal would
    // act on them.
    QString logged = text;
    for (QChar& c : logged) {
        if (c.category() == QChar::Other_Control && c != u'\n') {
            c = u'?';
        }
    }
    std::fprintf(stderr, "radavue-launcher: %s\n", qPrintable(logged));
    // A message names folders and files of a downloaded program folder:
    // plain text, so that a name holding tags shows as it is spelt.
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Radavue Launcher"), text,
                    QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void SystemProgramEnder::EndProgram() {
    if (!ended_) {
        ended_ = true;
        QCoreApplication::instance()->installEventFilter(this);
    }
    // exit(), unlike quit(), sends no close events; it ends every running
    // event loop, modal ones included.
    QCoreApplication::exit(0);
}

bool SystemProgramEnder::eventFilter(QObject*, QEvent*) {
    return true;
}

}  // namespace launcher::qt
