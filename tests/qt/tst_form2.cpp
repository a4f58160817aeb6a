// The Final Setup dialog over a scratch program folder, with the clock, the
// program starter, the error report and the end of the program faked.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "launch/form2_presenter.h"
#include "prefs/preferences.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_files.h"
#include "tests/support/qt_launcher.h"

using namespace launcher;
using namespace launcher::qt;

namespace {

using testing::FixedClock;
using testing::RecordingStarter;

// Form2 over its own program folder, holding the files "Go" reads, with the
// preferences loaded from its settings.ini.
struct LoadedForm {
    QTemporaryDir folder;
    std::string programFolder;
    Preferences preferences;
    FixedClock clock{{2026, 3, 6, 9, 5}};
    RecordingStarter starter;
    std::vector<std::string> errors;
    int endings = 0;
    int unloads = 0;
    qt::FormMaker maker;
    std::unique_ptr<Form2Presenter> presenter;
    // Null once the close box dropped the dialog.
    QPointer<FormWindow> form;

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
        LoadPreferences(preferences, file("settings.ini"));
        presenter = std::make_unique<Form2Presenter>(
            maker,
            FinalSetupWorld{
                programFolder,
                [] { return std::string("EGLL_TWR"); },
                [] { return std::string("118.500"); },
                preferences,
                clock,
                starter,
                [this](const std::string& message) { errors.push_back(message); },
                [this] { ++endings; },
            },
            [this] {
                ++unloads;
                // As the owner does: the next use makes a new dialog.
                presenter.reset();
            });
        form = &testing::WindowOf(presenter->view());
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
        presenter->ShowModeless();
        QVERIFY(QTest::qWaitForWindowActive(form.data()));
    }
};

QGroupBox& Frame(const FormWindow& form, int n) {
    return form.control<QGroupBox>("Frame" + std::to_string(n));
}

}  // namespace

class Form2Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void controlsAsDesigned();
    void focusOrderStartsOnGo();
    void loadShowsVarIniInTheTextBoxes();
    void opensCentred();
    void closeBoxDropsTheDialog();
    void goTakesWhatWasTypedAndEnds();
};

void Form2Test::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
}

void Form2Test::controlsAsDesigned() {
    LoadedForm loaded;
    FormWindow& form = *loaded.form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Final Setup"));
    QVERIFY(form.isWindow() && !form.isVisible());
    QCOMPARE(form.windowType(), Qt::Dialog);
    QVERIFY(!form.testAttribute(Qt::WA_QuitOnClose));  // its closing never ends the program
    QCOMPARE(form.size(), QSize(6480 / 15, 3120 / 15));

    // The Qt tests of the launch and the end-to-end scenarios find the controls
    // by these names, each in its frame.
    QCOMPARE(form.findChild<QLineEdit*>("rwy")->parentWidget(), &Frame(form, 1));
    QCOMPARE(form.findChild<QLineEdit*>("addinfo")->parentWidget(), &Frame(form, 2));
    QCOMPARE(form.findChild<QCheckBox*>("Check1")->parentWidget(), &Frame(form, 3));
    QCOMPARE(form.findChild<QPushButton*>("Command1")->text(), QStringLiteral("Go"));
    QCOMPARE(Frame(form, 1).title(), QStringLiteral("RWY in Use Info (Unless Center)"));
    QCOMPARE(Frame(form, 2).title(), QStringLiteral("Online Until (if known)"));
    QCOMPARE(Frame(form, 3).title(), QStringLiteral("Show Auto ATIS"));

    // Positions are relative to the frame; the check box shows its box only.
    QCOMPARE(form.control<QLineEdit>("rwy").geometry(), QRect(16, 16, 385, 19));
    QCOMPARE(form.control<QCheckBox>("Check1").geometry(), QRect(38, 16, 17, 16));
    QVERIFY(form.control<QCheckBox>("Check1").sizeHint().width() >
            form.control<QCheckBox>("Check1").width());
    QVERIFY(!form.control<QCheckBox>("Check1").isChecked());
    QCOMPARE(form.control<QPushButton>("Command1").geometry(), QRect(174, 165, 73, 33));
}

void Form2Test::focusOrderStartsOnGo() {
    LoadedForm loaded;
    loaded.showAndActivate();
    FormWindow& form = *loaded.form;
    QCOMPARE(QApplication::focusWidget(), &form.control<QPushButton>("Command1"));
    // Frames take no focus.
    for (const char* next : {"rwy", "addinfo", "Check1", "Command1"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), &form.control(next));
    }
}

void Form2Test::loadShowsVarIniInTheTextBoxes() {
    LoadedForm loaded("[main]\r\nrwy=27L arrivals\r\nADDINFO=1800z\r\n");
    QCOMPARE(loaded.form->control<QLineEdit>("rwy").text(), QStringLiteral("27L arrivals"));
    QCOMPARE(loaded.form->control<QLineEdit>("addinfo").text(), QStringLiteral("1800z"));
    QVERIFY(!loaded.form->control<QCheckBox>("Check1").isChecked());
}

void Form2Test::opensCentred() {
    LoadedForm loaded;
    FormWindow& form = *loaded.form;
    loaded.showAndActivate();
    const QRect area = form.screen()->availableGeometry();
    // Without a window manager there is no frame; the typical frame assumed
    // until the real one is known may shift the window by its own size.
    QVERIFY(qAbs(form.frameGeometry().center().x() - area.center().x()) <= 8);
    QVERIFY(qAbs(form.frameGeometry().center().y() - area.center().y()) <= 20);
}

void Form2Test::closeBoxDropsTheDialog() {
    LoadedForm loaded;
    loaded.showAndActivate();
    QVERIFY(loaded.form->close());
    QCOMPARE(loaded.unloads, 1);
    QVERIFY(loaded.presenter == nullptr);
    QVERIFY(loaded.form != nullptr && !loaded.form->isVisible());
    // Deleted only once the close event is done with it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(loaded.form == nullptr);
    QCOMPARE(loaded.endings, 0);
    QVERIFY(loaded.starter.starts.empty());
}

void Form2Test::goTakesWhatWasTypedAndEnds() {
    LoadedForm loaded("[MAIN]\r\nRWY=from var.ini\r\n");
    FormWindow& form = *loaded.form;
    loaded.showAndActivate();
    form.control<QLineEdit>("rwy").clear();
    QTest::keyClicks(&form.control<QLineEdit>("rwy"), "Runway 27R in use");
    QTest::keyClicks(&form.control<QLineEdit>("addinfo"), "2100z");
    QTest::mouseClick(&form.control<QCheckBox>("Check1"), Qt::LeftButton);
    QVERIFY(form.control<QCheckBox>("Check1").isChecked());

    QTest::mouseClick(&form.control<QPushButton>("Command1"), Qt::LeftButton);

    QCOMPARE(loaded.setting("rwy"), "Runway 27R in use");
    QCOMPARE(loaded.setting("additional"), "2100z");
    QCOMPARE(loaded.setting("autoatis"), "1");
    QCOMPARE(loaded.starter.starts.size(), std::size_t{2});
    QVERIFY(loaded.errors.empty());
    QCOMPARE(loaded.endings, 1);
}

QTEST_MAIN(Form2Test)
#include "tst_form2.moc"
