#include "qt/system_world.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <cstdio>

namespace launcher {

std::string SystemProgramLocation::ProgramFolder() const {
    QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    // A program in a root folder gets "C:\" or "/"; folders carry no
    // trailing separator.
    while (folder.endsWith(QDir::separator())) {
        folder.chop(1);
    }
    return folder.toStdString();
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

}  // namespace launcher
