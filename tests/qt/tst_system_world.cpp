// The system-backed outside world: where the program lives, its error box,
// and ending it.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "qt/system_world.h"

using namespace launcher::qt;

namespace {

class ClosingWatcher final : public QWidget {
public:
    int closeRequests = 0;

protected:
    void closeEvent(QCloseEvent*) override { ++closeRequests; }
};

}  // namespace

class SystemWorldTest : public QObject {
    Q_OBJECT

private slots:
    void programFolderIsExecutableFolder();
    void errorBoxShowsTagsAsWritten();
    // Ending leaves no event delivered for the rest of the run: keep it last.
    void endingFromHandlerStopsEverythingElse();
};

void SystemWorldTest::programFolderIsExecutableFolder() {
    // A launcher copied into its program folder, which holds config.ini.
    QFile config(QCoreApplication::applicationDirPath() + QStringLiteral("/config.ini"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    const QString folder = QString::fromStdString(SystemProgramLocation().ProgramFolder());
    config.remove();
    // The build puts this test in <build>/tests/qt.
    QVERIFY2(folder.endsWith(QStringLiteral("/tests/qt")), qPrintable(folder));
    QVERIFY(QFileInfo(folder + QStringLiteral("/tst_system_world")).isExecutable());
}

void SystemWorldTest::errorBoxShowsTagsAsWritten() {
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr) {
            shown = box->text();
            format = box->textFormat();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    SystemErrorReporter().ReportError("Cannot create the ATIS file /atc/<b>x</b>/atis");
    QCOMPARE(shown, QStringLiteral("Cannot create the ATIS file /atc/<b>x</b>/atis"));
    QCOMPARE(format, Qt::PlainText);
}

void SystemWorldTest::endingFromHandlerStopsEverythingElse() {
    SystemProgramEnder ender;
    ClosingWatcher window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    bool queuedRan = false;
    bool sameTickRan = false;
    QTimer ending;
    ending.setSingleShot(true);
    QObject::connect(&ending, &QTimer::timeout, [&] {
        QMetaObject::invokeMethod(
            &window, [&] { queuedRan = true; }, Qt::QueuedConnection);
        ender.EndProgram();
    });
    QTimer sameTick;  // due together with `ending`, handled after it
    sameTick.setSingleShot(true);
    QObject::connect(&sameTick, &QTimer::timeout, [&] { sameTickRan = true; });
    ending.start(0);
    sameTick.start(0);

    QCOMPARE(QCoreApplication::exec(), 0);
    QVERIFY(ender.HasEnded());
    QVERIFY(!queuedRan);
    QVERIFY(!sameTickRan);
    QCoreApplication::processEvents();
    QVERIFY(!queuedRan);
    window.close();
    QCOMPARE(window.closeRequests, 0);
}

QTEST_MAIN(SystemWorldTest)
#include "tst_system_world.moc"
