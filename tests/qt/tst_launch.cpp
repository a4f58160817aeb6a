// Launch and Go through the main window, over a scratch program folder and a
// scratch Windows folder, with the clock, the starter, the error report and
// the end of the program faked.
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/form1_table.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_files.h"
#include "tests/support/qt_launcher.h"
#include "tests/support/scratch_program.h"

using namespace launcher;
using namespace launcher::qt;

namespace {

using testing::ReadBytes;

// What the radar client keeps in rvsb.ini besides the launcher's keys.
const QByteArray kRadarSettings =
    "; radar client settings\r\n"
    "[RV 2.0]\r\n"
    "ATIS FILENAME=somewhere\r\n"
    "CALLSIGN=OLD_CALL\r\n"
    "RANGE=120\r\n"
    "[Display]\r\n"
    "Colour=green\r\n";

// The main window over a program folder with every file Launch and Go read,
// and a Windows folder (windows/ inside it) holding the radar client's
// rvsb.ini.
struct LoadedForm : testing::ScratchProgram {
    std::unique_ptr<testing::QtLauncher> launcher;

    LoadedForm() {
        clock.now = {2026, 3, 1, 0, 7};
        QDir(folder.path()).mkpath(QStringLiteral("windows"));
        QDir(folder.path()).mkpath(QStringLiteral("other windows"));
        write("windows/rvsb.ini", kRadarSettings);
        write("config.ini",
              "[GENERAL]\r\nWEBSITE=www.example.org\r\n"
              "[combo names]\r\n1=Heathrow\r\n2=Control\r\n"
              "[1 items]\r\n1=EGLL_TWR\r\n[2 items]\r\n1=London Control\r\n");
        write("freq.ini", "[FREQ]\r\nEGLL_TWR=118.500\r\nLondon Control=127.100\r\n");
        write("voice.ini", "[voice]\r\nEGLL_TWR=Heathrow Tower\r\nLondon Control=London\r\n");
        write("autoatis.ini", "[AUTOATIS]\r\nLondon Control=LON ATIS\r\n");
        write("var.ini", "[MAIN]\r\nRWY=27R\r\nADDINFO=until late\r\n");
        write("settings.ini", "[MAIN]\r\nWINDIR=" + path("windows") +
                                  "\r\nRWIP=VS\r\nRDVIP=rdv.example\r\nNAME=Pat\r\nRWDIR=" +
                                  path("rw") + "\r\nRDVDIR=" + path("rv") + "\r\nDATE=UK\r\n" +
                                  "RWY=27R\r\nADDITIONAL=until late\r\n");
        launcher = std::make_unique<testing::QtLauncher>(world());
    }

    FormWindow& form() const { return launcher->form1(); }
    // The Final Setup dialog; null until load and once its close box dropped it.
    FormWindow* form2() const { return launcher->window("Form2"); }
    FormWindow& form4() const { return *launcher->window("Form4"); }

    std::string file(const char* name) const { return InFolder(location.folder, name); }
    // The native path, as the launcher writes it into files.
    QByteArray path(const char* name) const { return QByteArray::fromStdString(file(name)); }
    QByteArray bytes(const char* name) const {
        return ReadBytes(folder.filePath(QString::fromLatin1(name)));
    }
    // kRadarSettings once start-up has named the ATIS file.
    QByteArray radarSettingsAfterLoad() const {
        return QByteArray(kRadarSettings).replace("somewhere", path("atis"));
    }
    std::string radar(const char* key, const char* windows = "windows") const {
        return ReadIni("RV 2.0", key, InFolder(file(windows), "rvsb.ini"));
    }

    void showAndActivate() const {
        form().show();
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
    }
    // Picks the first position of group n, as a user does, and waits for
    // the tick that shows it.
    void pick(int n) const {
        auto& combo = form().control<QComboBox>(ComboName(n));
        combo.showPopup();
        QAbstractItemView* list = combo.view();
        QVERIFY(QTest::qWaitForWindowExposed(list->window()));
        const QRect item = list->visualRect(list->model()->index(0, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QSignalSpy tick(form().findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout);
        QVERIFY(tick.wait(1000));
    }
    void launch() const {
        QTest::mouseClick(&form().control<QPushButton>("Command1"), Qt::LeftButton);
    }
};

int Form2Count() {
    int count = 0;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        count += window->objectName() == QLatin1String("Form2") ? 1 : 0;
    }
    return count;
}

}  // namespace

class LaunchTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void launchWithoutPositionOpensNothingAndAsksForOne();
    void launchAfterCloseBoxLoadsTheDialogAfresh();
    void launchAndGoUseWhatTheWindowsHoldAtThatMoment();
};

void LaunchTest::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
}

void LaunchTest::launchWithoutPositionOpensNothingAndAsksForOne() {
    LoadedForm loaded;
    FormWindow& form = loaded.form();
    // Created hidden at load, so Launch finds it.
    FormWindow* dialog = loaded.form2();
    QVERIFY(dialog != nullptr && !dialog->isVisible());
    loaded.showAndActivate();
    auto& comfreq = form.control<QLabel>("comfreq");
    comfreq.setText(QStringLiteral("stale"));

    loaded.launch();

    QVERIFY(!dialog->isVisible());
    QCOMPARE(loaded.errors.messages, std::vector<std::string>{"Pick your position first."});
    QCOMPARE(QApplication::focusWidget(), &form.control<QComboBox>(ComboName(1)));
    QCOMPARE(comfreq.text(), QStringLiteral("stale"));
    QCOMPARE(loaded.bytes("windows/rvsb.ini"), loaded.radarSettingsAfterLoad());

    loaded.pick(2);
    loaded.launch();
    QCOMPARE(loaded.form2(), dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(QApplication::activeModalWidget(), nullptr);  // the main window stays usable
    QCOMPARE(comfreq.text(), QStringLiteral("127.100"));
    QCOMPARE(loaded.radar("CALLSIGN"), "London Control");
    QCOMPARE(loaded.radar("SERVER IP"), "rdv.example");
    // Only the launcher's keys change; the radar client's own stay as they were.
    const QByteArray written = loaded.bytes("windows/rvsb.ini");
    QVERIFY(written.startsWith(
        "; radar client settings\r\n[RV 2.0]\r\nATIS FILENAME=" + loaded.path("atis") + "\r\n"));
    QVERIFY(written.endsWith("[Display]\r\nColour=green\r\n"));
    QCOMPARE(loaded.radar("RANGE"), "120");
    QCOMPARE(loaded.ender.calls, 0);
    QVERIFY(loaded.starter.starts.empty());
}

void LaunchTest::launchAfterCloseBoxLoadsTheDialogAfresh() {
    LoadedForm loaded;
    loaded.showAndActivate();
    loaded.pick(1);
    loaded.launch();
    QPointer<FormWindow> first = loaded.form2();
    QCOMPARE(first->control<QLineEdit>("rwy").text(), QStringLiteral("27R"));
    first->control<QLineEdit>("rwy").setText(QStringLiteral("typed"));
    first->control<QCheckBox>("Check1").setChecked(true);
    loaded.write("var.ini", "[MAIN]\r\nRWY=09L\r\n");

    QVERIFY(first->close());
    QCOMPARE(loaded.form2(), nullptr);
    QCOMPARE(loaded.ender.calls, 0);
    loaded.launch();

    FormWindow* second = loaded.form2();
    QVERIFY(second != nullptr && second != first);
    QVERIFY(second->isVisible());
    QCOMPARE(second->control<QLineEdit>("rwy").text(), QStringLiteral("09L"));
    QCOMPARE(second->control<QLineEdit>("addinfo").text(), QString());
    QVERIFY(!second->control<QCheckBox>("Check1").isChecked());
    // The dropped dialog goes once control is back in the event loop.
    QTRY_VERIFY(first.isNull());
    QCOMPARE(Form2Count(), 1);
}

void LaunchTest::launchAndGoUseWhatTheWindowsHoldAtThatMoment() {
    LoadedForm loaded;
    FormWindow& form = loaded.form();
    loaded.showAndActivate();
    loaded.pick(1);
    // Preferences edited, then Cancel: the edits are in force, unsaved.
    FormWindow& preferences = loaded.form4();
    preferences.ShowModeless();
    preferences.control<QLineEdit>("windowsdir")
        .setText(QString::fromStdString(loaded.file("other windows")));
    preferences.control<QComboBox>("serverip").setEditText(QStringLiteral("rdv2.example"));
    preferences.control<QComboBox>("rwip").setEditText(QStringLiteral("VS2"));
    preferences.control<QLineEdit>("userName").setText(QStringLiteral("Sam"));
    preferences.control<QLineEdit>("rdvdir").setText(
        QString::fromStdString(loaded.file("radar 2")));
    QTest::mouseClick(&preferences.control<QPushButton>("Command2"), Qt::LeftButton);
    QVERIFY(!preferences.isVisible());

    loaded.launch();

    QCOMPARE(loaded.radar("CALLSIGN", "other windows"), "EGLL_TWR");
    QCOMPARE(loaded.radar("SERVER IP", "other windows"), "rdv2.example");
    QCOMPARE(loaded.bytes("windows/rvsb.ini"), loaded.radarSettingsAfterLoad());

    // Another position picked while the dialog is open: Go takes it, and
    // hands it to the radar client too.
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    loaded.pick(2);
    QTest::mouseClick(&loaded.form2()->control<QPushButton>("Command1"), Qt::LeftButton);

    QCOMPARE(loaded.radar("CALLSIGN", "other windows"), "London Control");
    QCOMPARE(loaded.radar("COM 1 FREQ", "other windows"), "127.100");
    // The box is clear, so London Control's auto-ATIS notice is left out.
    QCOMPARE(loaded.bytes("atis"), QByteArray("London Information Alpha 10007\r\n"
                                              "Voice on VS2/London Control\r\n"
                                              "27R\r\n"
                                              "Online Until until late\r\n"
                                              "Sam  -  For More info www.example.org\r\n"));
    const std::vector<std::pair<std::string, WindowShow>> expected{
        {InFolder(loaded.file("rw"), "roger.exe") + " /join1 VS2/London Control /callsign London",
         WindowShow::kNormal},
        {InFolder(loaded.file("radar 2"), "rv.exe"), WindowShow::kMaximized},
    };
    QCOMPARE(loaded.starter.starts, expected);
    QCOMPARE(loaded.ender.calls, 1);
    QVERIFY(loaded.errors.messages.empty());
    const std::string settings = loaded.file("settings.ini");
    QCOMPARE(ReadIni("MAIN", "NAME", settings), "Pat");
    QCOMPARE(ReadIni("MAIN", "rwy", settings), "27R");
    QCOMPARE(ReadIni("MAIN", "additional", settings), "until late");
    QCOMPARE(ReadIni("MAIN", "autoatis", settings), "0");
}

QTEST_MAIN(LaunchTest)
#include "tst_launch.moc"
