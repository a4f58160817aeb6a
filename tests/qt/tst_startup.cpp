// The main window's start-up over a scratch program folder, with the outside
// world faked: the saved preferences and Final Setup answers, the ATIS file
// name in rvsb.ini, the branding and the caption.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>
#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <thread>

#include "profile/ini.h"
#include "profile/paths.h"
#include "qt/picture.h"
#include "tests/support/qt_files.h"
#include "tests/support/qt_launcher.h"
#include "tests/support/scratch_program.h"

using namespace launcher;
using namespace launcher::qt;

namespace {

// A program folder that is also the working folder, as when the launcher is
// started from its own folder; files are written before the window loads.
struct ProgramFolder : testing::ScratchProgram {
    QString previousWorking = QDir::currentPath();
    std::unique_ptr<testing::QtLauncher> launcher;

    ProgramFolder() { QDir::setCurrent(folder.path()); }
    ~ProgramFolder() {
        launcher.reset();
        QDir::setCurrent(previousWorking);
    }

    void load() { launcher = std::make_unique<testing::QtLauncher>(world()); }
    FormWindow& form() const { return launcher->form1(); }
    FormWindow& form2() const { return *launcher->window("Form2"); }
    PictureBox& image(const char* name) const { return form().control<PictureBox>(name); }
    // Every file under the folder, relative to it.
    QStringList tree() const {
        QStringList files;
        for (const auto& entry :
             std::filesystem::recursive_directory_iterator(folder.path().toStdString())) {
            files << QString::fromStdString(entry.path().string());
        }
        files.sort();
        return files;
    }
};

void SavePicture(const QString& path, const char* format, QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    QVERIFY2(picture.save(path, format), format);
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void captionShowsTheComposedTextAsItIs();
    void autoAtisTicksOnlyForOne_data();
    void autoAtisTicksOnlyForOne();
    void finalSetupAnswersReplaceTheDialogsOwn();
    void preferencesReplaceTheirDesignTimeTexts();
    void atisFileNameGoesIntoTheWindowsFolder();
    void emptyWindowsFolderWritesNoFile();
    void picturesFromTheWorkingFolder();
    void unusablePictureLeavesTheImageEmpty_data();
    void unusablePictureLeavesTheImageEmpty();
    void fifoIsNoPicture();
    void logoLeftMovesTheBanner_data();
    void logoLeftMovesTheBanner();
};

void StartupTest::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
}

void StartupTest::captionShowsTheComposedTextAsItIs() {
    ProgramFolder program;
    // Qt takes "[*]" in a window title for a modified-document mark.
    program.write("config.ini",
                  "[GENERAL]\r\nTITLE=Demo [*] One\r\nWEBSITE=www.example.net/atc\r\n");
    program.load();
    program.form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&program.form()));
    QCOMPARE(program.form().windowHandle()->title(),
             QStringLiteral("Radavue Launcher Demo [*] One Edition Version 4.0.6 "
                            "(c) 2026 Radavue Launcher developers"));
    QCOMPARE(program.form().Caption(),
             "Radavue Launcher Demo [*] One Edition Version 4.0.6 "
             "(c) 2026 Radavue Launcher developers");
    QCOMPARE(program.form().control<QLabel>("accname").text(), QStringLiteral("Demo [*] One"));
    QCOMPARE(program.form().control<QLabel>("wwwaddy").text(),
             QStringLiteral("www.example.net/atc"));
}

void StartupTest::autoAtisTicksOnlyForOne_data() {
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("1") << QByteArray("[MAIN]\r\nautoatis=1\r\n") << true;
    QTest::newRow("key spelt in capitals") << QByteArray("[main]\r\nAUTOATIS=1\r\n") << true;
    QTest::newRow("0") << QByteArray("[MAIN]\r\nautoatis=0\r\n") << false;
    QTest::newRow("empty") << QByteArray("[MAIN]\r\nautoatis=\r\n") << false;
    QTest::newRow("first run") << QByteArray() << false;
    QTest::newRow("no number") << QByteArray("[MAIN]\r\nautoatis=x\r\n") << false;
    QTest::newRow("other number") << QByteArray("[MAIN]\r\nautoatis=2\r\n") << false;
}

void StartupTest::autoAtisTicksOnlyForOne() {
    QFETCH(QByteArray, settings);
    QFETCH(bool, ticked);
    ProgramFolder program;
    if (!settings.isEmpty()) {
        program.write("settings.ini", settings);
    }
    program.load();
    QVERIFY(program.launcher->window("Form2") != nullptr);
    QCOMPARE(program.form2().control<QCheckBox>("Check1").isChecked(), ticked);
    QVERIFY(program.form2().isHidden());
}

void StartupTest::finalSetupAnswersReplaceTheDialogsOwn() {
    ProgramFolder program;
    program.write("var.ini", "[MAIN]\r\nRWY=27L\r\nADDINFO=2200z\r\n");
    program.write("settings.ini", "[MAIN]\r\nRWY=09R\r\nADDITIONAL=till late\r\n");
    program.load();
    QCOMPARE(program.form2().control<QLineEdit>("rwy").text(), QStringLiteral("09R"));
    QCOMPARE(program.form2().control<QLineEdit>("addinfo").text(), QStringLiteral("till late"));

    // Until answers are saved, var.ini's stay; one saved empty is empty.
    program.write("settings.ini", "[MAIN]\r\nADDITIONAL=\r\n");
    program.load();
    QCOMPARE(program.form2().control<QLineEdit>("rwy").text(), QStringLiteral("27L"));
    QCOMPARE(program.form2().control<QLineEdit>("addinfo").text(), QString());
}

void StartupTest::preferencesReplaceTheirDesignTimeTexts() {
    ProgramFolder program;
    program.write("settings.ini", "[MAIN]\r\nNAME=Jo\r\n[rdvservers]\r\n1=radar.example.net\r\n");
    program.load();
    const FormWindow& form4 = *program.launcher->window("Form4");
    const Preferences& record = program.launcher->presenter().form4().preferences();
    QVERIFY(form4.isHidden());
    QCOMPARE(record.userName, "Jo");
    QCOMPARE(record.datebox, "");
    QCOMPARE(form4.control<QComboBox>("datebox").currentText(), QString());
    QCOMPARE(record.rdvservers.front(), "radar.example.net");
}

void StartupTest::atisFileNameGoesIntoTheWindowsFolder() {
    ProgramFolder program;
    const std::string windows = InFolder(program.location.folder, "win");
    program.write("win/rvsb.ini",
                  "[RV 2.0]\r\nCALLSIGN=EGLL_TWR\r\nATIS FILENAME=old\r\n[Display]\r\nZOOM=3\r\n");
    program.write("settings.ini", QByteArray("[MAIN]\r\nWINDIR=") + windows.c_str() + "\r\n");
    program.load();
    const std::string rvsb = InFolder(windows, "rvsb.ini");
    QCOMPARE(ReadIni("RV 2.0", "ATIS FILENAME", rvsb), InFolder(program.location.folder, "atis"));
    QCOMPARE(ReadIni("RV 2.0", "CALLSIGN", rvsb), "EGLL_TWR");
    QCOMPARE(ReadIni("Display", "ZOOM", rvsb), "3");
}

// Unchecked, an empty Windows folder names rvsb.ini in the root ("/"). The
// program folder is the working folder too, so a relative name would show in
// its tree; should the root file appear, the test fails and removes it.
void StartupTest::emptyWindowsFolderWritesNoFile() {
    const std::filesystem::path root = InFolder("", "rvsb.ini");
    if (std::filesystem::exists(root)) {
        QSKIP("rvsb.ini exists in the root already; whether it was written cannot be told");
    }
    ProgramFolder program;
    program.write("settings.ini", "[MAIN]\r\nWINDIR=\r\nNAME=Jo\r\n");
    const QStringList before = program.tree();
    program.load();
    const bool written = std::filesystem::exists(root);
    if (written) {
        std::filesystem::remove(root);
    }
    QVERIFY(!written);
    QCOMPARE(program.tree(), before);
    // Start-up went on.
    QCOMPARE(program.launcher->presenter().form4().preferences().userName, "Jo");
}

void StartupTest::picturesFromTheWorkingFolder() {
    ProgramFolder program;
    QVERIFY(QDir(program.folder.path()).mkpath("art"));
    SavePicture(program.path("art/logo.png"), "PNG", {40, 12});
    SavePicture(program.path("art/back.jpg"), "JPEG", {16, 20});
    program.write("config.ini", "[GENERAL]\r\nLOGO=art/logo.png\r\nBACK=art/back.jpg\r\n");
    program.load();
    QCOMPARE(program.image("Image1").pixmap().size(), QSize(40, 12));
    QCOMPARE(program.image("Image1").size(), QSize(40, 12));
    QCOMPARE(program.image("Image2").pixmap().size(), QSize(16, 20));
}

void StartupTest::unusablePictureLeavesTheImageEmpty_data() {
    QTest::addColumn<QString>("logo");
    QTest::newRow("empty name") << QString();
    QTest::newRow("missing file") << QStringLiteral("nowhere.png");
    QTest::newRow("not a picture") << QStringLiteral("text.png");
    QTest::newRow("format not taken") << QStringLiteral("logo.ppm");
    QTest::newRow("a folder") << QStringLiteral("art");
}

void StartupTest::unusablePictureLeavesTheImageEmpty() {
    QFETCH(QString, logo);
    ProgramFolder program;
    QVERIFY(QDir(program.folder.path()).mkpath("art"));
    program.write("text.png", "[GENERAL]\r\nno picture\r\n");
    SavePicture(program.path("logo.ppm"), "PPM", {40, 12});
    SavePicture(program.path("back.bmp"), "BMP", {16, 20});
    program.write("config.ini",
                  "[GENERAL]\r\nLOGO=" + logo.toUtf8() + "\r\nBACK=back.bmp\r\nTITLE=Demo\r\n");
    program.load();
    QVERIFY(program.image("Image1").pixmap().isNull());
    // The rest of start-up went on.
    QCOMPARE(program.image("Image2").pixmap().size(), QSize(16, 20));
    QVERIFY(
        program.form().windowTitle().startsWith(QStringLiteral("Radavue Launcher Demo Edition")));
}

void StartupTest::fifoIsNoPicture() {
    // The FIFO holds a whole picture and a writer, so a reader would get it
    // at once; but only a regular file is a picture file.
    ProgramFolder program;
    const QByteArray fifo = QFile::encodeName(program.path("logo.bmp"));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    const int writer = ::open(fifo.constData(), O_RDWR | O_NONBLOCK);
    QVERIFY(writer >= 0);
    QImage picture(16, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkBlue);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && picture.save(&buffer, "BMP"));
    QCOMPARE(::write(writer, bmp.constData(), bmp.size()), bmp.size());
    program.write("config.ini", "[GENERAL]\r\nLOGO=logo.bmp\r\n");
    // Should the FIFO be read after all, its writer ends after a while: the
    // reader then gets the picture, and the test fails instead of hanging.
    std::promise<void> loaded;
    std::thread rescue([writer, done = loaded.get_future()] {
        done.wait_for(std::chrono::seconds(10));
        ::close(writer);
    });
    program.load();
    loaded.set_value();
    rescue.join();
    QVERIFY(program.image("Image1").pixmap().isNull());
}

void StartupTest::logoLeftMovesTheBanner_data() {
    QTest::addColumn<QByteArray>("logoLeft");
    QTest::addColumn<int>("left");  // design-time left edge: 0
    QTest::newRow("twips") << QByteArray("1500") << 100;
    QTest::newRow("fraction") << QByteArray("-22.5") << -2;
    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("number then text") << QByteArray("1500px") << 0;
}

void StartupTest::logoLeftMovesTheBanner() {
    QFETCH(QByteArray, logoLeft);
    QFETCH(int, left);
    ProgramFolder program;
    program.write("config.ini", "[GENERAL]\r\nLOGOLEFT=" + logoLeft + "\r\n");
    program.load();
    QCOMPARE(program.image("Image1").pos(), QPoint(left, 120 / 15));
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
