// The Final Setup dialog over a scratch program folder, with the clock, the
// program starter, the error report and the end of the program faked.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "qt/form2.h"
#include "qt/form4.h"
#include "prefs/volumes.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_files.h"

using namespace launcher;

namespace {

using testing::FakeVolumes;
using testing::FixedClock;
using testing::ReadBytes;
using testing::RecordingStarter;

// Form2 over its own program folder, holding the files each "Go" reads, and
// the Preferences dialog loaded from its settings.ini.
struct LoadedForm {
    QTemporaryDir folder;
    std::string programFolder;
    FakeVolumes volumes;
    FixedClock clock{{2026, 3, 6, 9, 5}};
    RecordingStarter starter;
    std::vector<std::string> errors;
    int endings = 0;
    std::string selected = "EGLL_TWR";
    std::unique_ptr<Form4> form4;
    std::unique_ptr<Form2> form;

    explicit LoadedForm(const QByteArray& varIni = {}) {
        programFolder = QDir::toNativeSeparators(folder.path()).toStdString();
        write("config.ini", "[GENERAL]\r\nWEBSITE=INFO\r\n");
        write("voice.ini", "[voice]\r\nEGLL_TWR=Heathrow Tower\r\n");
        write("autoatis.ini", "[AUTOATIS]\r\nEGLL_TWR=CHANNEL 2\r\n");
        write("settings.ini", "[MAIN]\r\nRWIP=VS\r\nNAME=USER\r\nRWDIR=" + path("rw") +
                                  "\r\nRDVDIR=" + path("rv") + "\r\nDATE=UK\r\nRWY=old\r\n");
        if (!varIni.isEmpty()) {
            write("var.ini", varIni);
        }
        form4 = std::make_unique<Form4>(InFolder(programFolder, "settings.ini"), volumes);
        form4->LoadPreferences();
        form = std::make_unique<Form2>(FinalSetupWorld{
            programFolder,
            [this] { return selected; },
            *form4,
            clock,
            starter,
            [this](const std::string& message) { errors.push_back(message); },
            [this] { ++endings; },
        });
    }

    QByteArray path(const char* name) const { return QByteArray::fromStdString(file(name)); }
    std::string file(const char* name) const { return InFolder(programFolder, name); }
    void write(const char* name, const QByteArray& bytes) const {
        QVERIFY(testing::WriteBytes(QString::fromStdString(file(name)), bytes));
    }
    std::string setting(const char* key) const {
        return ReadIni("MAIN", key, file("settings.ini"));
    }

    void showAndActivate() const {
        form->ShowModeless();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
};

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void controlsAsDesigned();
    void focusOrderStartsOnGo();
    void loadFillsTextBoxesFromVarIni();
    void opensCentred();
    void closeBoxAsksToBeDropped();

    void goSavesWritesStartsBothAndEnds();
    void failureReportsStopsAndEnds_data();
    void failureReportsStopsAndEnds();
};

void Form2Test::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
}

void Form2Test::controlsAsDesigned() {
    LoadedForm loaded;
    Form2& form = *loaded.form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Final Setup"));
    QVERIFY(form.isWindow() && !form.isVisible());
    QCOMPARE(form.windowType(), Qt::Dialog);
    QCOMPARE(form.size(), QSize(6480 / 15, 3120 / 15));

    // Later parts and the end-to-end test find the controls by name.
    QCOMPARE(form.findChild<QLineEdit*>("rwy")->parentWidget(), &form.frame(1));
    QCOMPARE(form.findChild<QLineEdit*>("addinfo")->parentWidget(), &form.frame(2));
    QCOMPARE(form.findChild<QCheckBox*>("Check1")->parentWidget(), &form.frame(3));
    QCOMPARE(form.findChild<QPushButton*>("Command1")->text(), QStringLiteral("Go"));
    QCOMPARE(form.frame(1).title(), QStringLiteral("RWY in Use Info (Unless Center)"));
    QCOMPARE(form.frame(2).title(), QStringLiteral("Online Until (if known)"));
    QCOMPARE(form.frame(3).title(), QStringLiteral("Show Auto ATIS"));

    // Positions are relative to the frame; the check box shows its box only.
    QCOMPARE(form.rwy().geometry(), QRect(16, 16, 385, 19));
    QCOMPARE(form.check1().geometry(), QRect(38, 16, 17, 16));
    QVERIFY(form.check1().sizeHint().width() > form.check1().width());
    QVERIFY(!form.check1().isChecked());
    QCOMPARE(form.command1().geometry(), QRect(174, 165, 73, 33));
}

void Form2Test::focusOrderStartsOnGo() {
    LoadedForm loaded;
    loaded.showAndActivate();
    Form2& form = *loaded.form;
    QCOMPARE(QApplication::focusWidget(), &form.command1());
    // Frames take no focus.
    for (QWidget* next :
         {static_cast<QWidget*>(&form.rwy()), static_cast<QWidget*>(&form.addinfo()),
          static_cast<QWidget*>(&form.check1()), static_cast<QWidget*>(&form.command1())}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
}

void Form2Test::loadFillsTextBoxesFromVarIni() {
    {
        LoadedForm loaded("[main]\r\nrwy=27L arrivals\r\nADDINFO=1800z\r\n");
        QCOMPARE(loaded.form->rwy().text(), QStringLiteral("27L arrivals"));
        QCOMPARE(loaded.form->addinfo().text(), QStringLiteral("1800z"));
        QVERIFY(!loaded.form->check1().isChecked());
    }
    {
        // settings.ini's answers are start-up's business, not the dialog's.
        LoadedForm loaded;
        QCOMPARE(loaded.form->rwy().text(), QString());
        QCOMPARE(loaded.form->addinfo().text(), QString());
    }
}

void Form2Test::opensCentred() {
    LoadedForm loaded;
    Form2& form = *loaded.form;
    loaded.showAndActivate();
    const QRect area = form.screen()->availableGeometry();
    // Without a window manager there is no frame; the typical frame assumed
    // until the real one is known may shift the window by its own size.
    QVERIFY(qAbs(form.frameGeometry().center().x() - area.center().x()) <= 8);
    QVERIFY(qAbs(form.frameGeometry().center().y() - area.center().y()) <= 20);
}

void Form2Test::closeBoxAsksToBeDropped() {
    LoadedForm loaded;
    loaded.showAndActivate();
    QSignalSpy unloaded(loaded.form.get(), &Form2::unloaded);
    QVERIFY(loaded.form->close());
    QCOMPARE(unloaded.count(), 1);
    QVERIFY(!loaded.form->isVisible());
    QCOMPARE(loaded.endings, 0);
}

void Form2Test::goSavesWritesStartsBothAndEnds() {
    LoadedForm loaded;
    Form2& form = *loaded.form;
    loaded.write("atis", "an earlier start's text\r\nwith\r\nmore\r\nlines\r\nthan\r\nnow\r\n");
    loaded.showAndActivate();
    form.rwy().setText(QStringLiteral("Runway 27R in use"));
    form.addinfo().setText(QStringLiteral("2100z"));
    QTest::mouseClick(&form.check1(), Qt::LeftButton);
    QVERIFY(form.check1().isChecked());

    QTest::mouseClick(&form.command1(), Qt::LeftButton);

    QCOMPARE(loaded.setting("rwy"), "Runway 27R in use");
    QCOMPARE(loaded.setting("additional"), "2100z");
    QCOMPARE(loaded.setting("autoatis"), "1");
    QCOMPARE(loaded.setting("NAME"), "USER");  // the rest of the file stays
    QCOMPARE(ReadBytes(QString::fromStdString(loaded.file("atis"))),
             QByteArray("Heathrow Tower Information Alpha 60905\r\n"
                        "Voice on VS/EGLL_TWR\r\n"
                        "Runway 27R in use\r\n"
                        "Online Until 2100z\r\n"
                        "USER  -  For More info INFO\r\n"
                        "AutoAtis is available on CHANNEL 2\r\n"));
    const std::vector<std::pair<std::string, WindowShow>> expected{
        {InFolder(loaded.file("rw"), "roger.exe") + " /join1 VS/EGLL_TWR /callsign Heathrow Tower",
         WindowShow::kNormal},
        {InFolder(loaded.file("rv"), "rv.exe"), WindowShow::kMaximized},
    };
    QCOMPARE(loaded.starter.starts, expected);
    QCOMPARE(loaded.endings, 1);
    QVERIFY(loaded.errors.empty());
}

void Form2Test::failureReportsStopsAndEnds_data() {
    QTest::addColumn<QString>("missing");   // program that fails to start
    QTest::addColumn<bool>("atisBlocked");  // a folder stands where the file goes
    QTest::addColumn<QString>("named");     // what the report must name
    QTest::addColumn<int>("startsAsked");
    QTest::newRow("atis not writable") << QString() << true << "atis" << 0;
    QTest::newRow("voice client missing") << "roger.exe" << false << "roger.exe" << 1;
    QTest::newRow("radar client missing") << "rv.exe" << false << "rv.exe" << 2;
}

void Form2Test::failureReportsStopsAndEnds() {
    QFETCH(QString, missing);
    QFETCH(bool, atisBlocked);
    QFETCH(QString, named);
    QFETCH(int, startsAsked);
    LoadedForm loaded;
    loaded.starter.missing = missing.toStdString();
    if (atisBlocked) {
        QVERIFY(QDir(loaded.folder.path()).mkpath(QStringLiteral("atis/inside")));
    }
    loaded.showAndActivate();
    loaded.form->rwy().setText(QStringLiteral("saved first"));

    QTest::mouseClick(&loaded.form->command1(), Qt::LeftButton);

    QCOMPARE(loaded.errors.size(), std::size_t{1});
    QVERIFY2(QString::fromStdString(loaded.errors.front()).contains(named),
             loaded.errors.front().c_str());
    // No later step runs: a missing voice client leaves the radar client alone.
    QCOMPARE(loaded.starter.starts.size(), std::size_t(startsAsked));
    QCOMPARE(loaded.setting("rwy"), "saved first");
    QCOMPARE(loaded.endings, 1);
}

QTEST_MAIN(Form2Test)
#include "tst_form2.moc"
