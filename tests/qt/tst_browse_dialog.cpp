// The folder browse dialogs over a scratch tree whose subfolders stand in for
// drives, with the timer left running as in use.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>

#include "prefs/browse_presenter.h"
#include "prefs/form4_presenter.h"
#include "prefs/form_tables.h"
#include "prefs/volumes.h"
#include "qt/folder_list.h"
#include "qt/system_volumes.h"
#include "tests/support/qt_launcher.h"

using namespace launcher;
using namespace launcher::qt;

namespace {

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// "vol1" (the working folder) and "vol2" are readable drives; "lost" is
// listed but does not exist.
class ScratchDrives final : public VolumeList {
public:
    QTemporaryDir root;

    ScratchDrives() {
        for (const char* folder : {"vol1/beta/inner", "vol1/beta/Other", "vol1/Alpha", "vol1/delta",
                                   "vol1/Gamma", "vol1/.hidden", "vol2/Music"}) {
            QDir(root.path()).mkpath(QString::fromLatin1(folder));
        }
        QFile(root.filePath(QStringLiteral("vol1/notes.txt"))).open(QIODevice::WriteOnly);
    }
    QString drive(const char* name) const { return Native(root.filePath(QLatin1String(name))); }
    std::vector<std::string> Volumes() const override {
        return {drive("vol1").toStdString(), drive("vol2").toStdString(),
                drive("lost").toStdString()};
    }
    std::string WorkingFolder() const override { return drive("vol1").toStdString(); }
};

// One browse dialog over the scratch drives, recording each folder OK hands
// on.
struct Browse {
    ScratchDrives drives;
    qt::FormMaker maker;
    QStringList chosen;
    std::unique_ptr<BrowsePresenter> presenter;
    // Null should the dialog ever delete itself.
    QPointer<FormWindow> dialog;

    explicit Browse(const FormTable& table) {
        presenter = std::make_unique<BrowsePresenter>(
            maker, table, drives,
            [this](const std::string& folder) { chosen.append(QString::fromStdString(folder)); });
        dialog = &testing::WindowOf(presenter->view());
    }
    ~Browse() {
        // A dialog that deleted itself must fail its test, not crash the rest
        // with a second delete.
        if (dialog == nullptr) {
            (void)presenter.release();
        }
    }
};

// Preferences over the scratch drives, making the browse dialogs with its
// Browse buttons as the user does.
struct WithPreferences {
    ScratchDrives drives;
    qt::FormMaker maker;
    Form4Presenter presenter{
        maker, drives.root.filePath(QStringLiteral("settings.ini")).toStdString(), drives};
    FormWindow& form = testing::WindowOf(presenter.view());

    void showAndActivate() {
        presenter.ShowModeless();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
    // Presses Browse beside "Rdv Directory" (3) or "RW Directory" (4).
    FormWindow& browse(int button) {
        QTest::mouseClick(&form.control<QPushButton>("Command" + std::to_string(button)),
                          Qt::LeftButton);
        return testing::WindowOf((button == 3 ? presenter.form5() : presenter.form6())->view());
    }
};

FolderList& Dir1(const QWidget& dialog) {
    return *dialog.findChild<FolderList*>(QStringLiteral("Dir1"));
}
QComboBox& Drive1(const QWidget& dialog) {
    return *dialog.findChild<QComboBox*>(QStringLiteral("Drive1"));
}
QPushButton& Button(const QWidget& dialog, const char* name) {
    return *dialog.findChild<QPushButton*>(QLatin1String(name));
}

// The list as shown, top to bottom: indentation depth and text of each row.
QStringList Rows(const FolderList& list) {
    QStringList rows;
    for (QTreeWidgetItemIterator it(const_cast<FolderList*>(&list)); *it != nullptr; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent()) {
            ++depth;
        }
        rows.append(QString(depth, QLatin1Char(' ')) + (*it)->text(0));
    }
    return rows;
}

QTreeWidgetItem* Item(FolderList& list, const QString& name) {
    const auto found = list.findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.size() == 1 ? found.front() : nullptr;
}

void DoubleClick(FolderList& list, const QString& name) {
    QTreeWidgetItem* item = Item(list, name);
    QVERIFY(item != nullptr);
    list.scrollToItem(item);
    const QPoint centre = list.visualItemRect(item).center();
    // A double-click alone is not delivered as one; a click comes first.
    QTest::mousePress(list.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
}

void WaitForTick(const QWidget& dialog) {
    // Connected after the dialog's own handler, so the handler has run.
    QSignalSpy ticks(dialog.findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout);
    QVERIFY(ticks.wait(5000));
}

}  // namespace

class TestBrowseDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }

    void opensOnTheWorkingFolder_data() {
        QTest::addColumn<bool>("form6");
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<int>("interval");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QRect>("drive1");
        QTest::addColumn<QRect>("dir1");
        QTest::newRow("Form5") << false
                               << QStringLiteral(
                                      "Please Browse to the directory that contains Radavue")
                               << 150 << QSize(466, 283) << QRect(88, 48, 249, 21)
                               << QRect(48, 88, 313, 111);
        QTest::newRow("Form6") << true
                               << QStringLiteral(
                                      "Please Browse to the directory that contains Roger Wilco")
                               << 200 << QSize(386, 245) << QRect(48, 48, 297, 21)
                               << QRect(40, 72, 313, 111);
    }
    void opensOnTheWorkingFolder() {
        QFETCH(bool, form6);
        QFETCH(QString, prompt);
        QFETCH(int, interval);
        QFETCH(QSize, client);
        QFETCH(QRect, drive1);
        QFETCH(QRect, dir1);
        Browse browse(form6 ? Form6Table() : Form5Table());
        FormWindow& dialog = *browse.dialog;
        const ScratchDrives& drives = browse.drives;
        QVERIFY(!dialog.isVisible());
        const auto* timer = dialog.findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), interval);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Browse..."));
        const auto* label = dialog.findChild<QLabel*>(QStringLiteral("Label1"));
        QCOMPARE(label->text(), prompt);
        QVERIFY(label->width() >= label->sizeHint().width());  // not cut off in the test's font
        // Whole, on as many lines as it takes.
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, label->width(), 0),
                                                               Qt::TextWordWrap, prompt);
        QVERIFY(needed.width() <= label->width() && needed.height() <= label->height());
        QCOMPARE(Drive1(dialog).count(), 3);
        QCOMPARE(Drive1(dialog).currentText(), drives.drive("vol1"));
        QCOMPARE(Dir1(dialog).path(), drives.drive("vol1"));

        browse.presenter->ShowModeless();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(dialog.size(), client);
        QCOMPARE(Drive1(dialog).geometry(), drive1);
        QCOMPARE(Dir1(dialog).geometry(), dir1);
        const QList<QWidget*> cycle{&Button(dialog, "Command1"), &Button(dialog, "Command2"),
                                    &Drive1(dialog), &Dir1(dialog)};
        QCOMPARE(QApplication::focusWidget(), &Dir1(dialog));
        for (QWidget* next : cycle) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), next);
        }
    }

    void doubleClickOrReturnOpensAndHighlightingDoesNot() {
        Browse browse(Form5Table());
        const ScratchDrives& drives = browse.drives;
        browse.presenter->ShowModeless();
        FolderList& list = Dir1(*browse.dialog);
        const QStringList rows = Rows(list);
        QCOMPARE(rows.front(), Native(QDir::rootPath()));
        const int depth = int(rows.size()) - 5;  // vol1's depth: it and its 4 folders end the list
        const QString in(depth, QLatin1Char(' '));
        QCOMPARE(rows.mid(depth), (QStringList{in + "vol1", in + " Alpha", in + " beta",
                                               in + " delta", in + " Gamma"}));
        QCOMPARE(list.currentItem()->text(0), "vol1");

        list.scrollToItem(Item(list, "delta"));
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.visualItemRect(Item(list, "delta")).center());
        QCOMPARE(list.currentItem()->text(0), "delta");
        QCOMPARE(list.path(), drives.drive("vol1"));

        DoubleClick(list, "beta");
        QCOMPARE(list.path(), drives.drive("vol1/beta"));
        QCOMPARE(Rows(list).mid(depth),
                 (QStringList{in + "vol1", in + " beta", in + "  inner", in + "  Other"}));
        DoubleClick(list, "vol1");
        QCOMPARE(list.path(), drives.drive("vol1"));

        // By keyboard: Down highlights, Return opens.
        list.setFocus();
        QTest::keyClick(&list, Qt::Key_Down);
        QCOMPARE(list.path(), drives.drive("vol1"));
        QTest::keyClick(&list, Qt::Key_Return);
        QCOMPARE(list.path(), drives.drive("vol1/Alpha"));
        QCOMPARE(list.currentItem()->text(0), "Alpha");
    }

    void buttonsHideAndKeepState() {
        Browse browse(Form6Table());
        const ScratchDrives& drives = browse.drives;
        FormWindow& dialog = *browse.dialog;
        browse.presenter->ShowModeless();
        DoubleClick(Dir1(dialog), "beta");

        // Enter and Esc: not even with a folder highlighted or on a button;
        // in the list, Return and Enter open the highlighted folder alone.
        Dir1(dialog).setCurrentItem(Item(Dir1(dialog), "inner"));
        Dir1(dialog).setFocus();
        QTest::keyClick(&Dir1(dialog), Qt::Key_Escape);
        Button(dialog, "Command1").setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(&Button(dialog, "Command1"), key);
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(Dir1(dialog).path(), drives.drive("vol1/beta"));
        Dir1(dialog).setFocus();
        QTest::keyClick(&Dir1(dialog), Qt::Key_Return);
        QCOMPARE(Dir1(dialog).path(), drives.drive("vol1/beta/inner"));
        Dir1(dialog).setCurrentItem(Item(Dir1(dialog), "beta"));
        QTest::keyClick(&Dir1(dialog), Qt::Key_Enter);
        QVERIFY(dialog.isVisible());
        QCOMPARE(Dir1(dialog).path(), drives.drive("vol1/beta"));
        QCOMPARE(browse.chosen, QStringList());

        Drive1(dialog).setCurrentIndex(1);
        QTest::mouseClick(&Button(dialog, "Command2"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        WaitForTick(dialog);  // hidden, it still follows the drive picked last
        QCOMPARE(Dir1(dialog).path(), drives.drive("vol2"));

        browse.presenter->ShowModeless();
        QCOMPARE(Drive1(dialog).currentIndex(), 1);
        DoubleClick(Dir1(dialog), "Music");
        QVERIFY(dialog.close());  // the close box
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(browse.dialog != nullptr && !dialog.isVisible());
        QCOMPARE(browse.chosen, QStringList());

        browse.presenter->ShowModeless();
        QCOMPARE(Dir1(dialog).path(), drives.drive("vol2/Music"));
        QTest::mouseClick(&Button(dialog, "Command1"), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(browse.chosen, QStringList{drives.drive("vol2/Music")});
    }

    void timerFollowsANewlyPickedDriveOnly() {
        Browse browse(Form5Table());
        const ScratchDrives& drives = browse.drives;
        FormWindow& dialog = *browse.dialog;
        browse.presenter->ShowModeless();
        DoubleClick(Dir1(dialog), "beta");
        WaitForTick(dialog);
        QCOMPARE(Dir1(dialog).path(), drives.drive("vol1/beta"));

        // OK between a pick and the next tick takes what the list shows.
        Drive1(dialog).setCurrentIndex(1);
        Button(dialog, "Command1").click();
        QCOMPARE(browse.chosen, QStringList{drives.drive("vol1/beta")});
        WaitForTick(dialog);
        QCOMPARE(Dir1(dialog).path(), drives.drive("vol2"));
        browse.presenter->ShowModeless();
        DoubleClick(Dir1(dialog), "Music");
        WaitForTick(dialog);
        QCOMPARE(Dir1(dialog).path(), drives.drive("vol2/Music"));

        const QStringList rows = Rows(Dir1(dialog));
        Drive1(dialog).setCurrentIndex(2);
        WaitForTick(dialog);
        QCOMPARE(Dir1(dialog).path(), drives.drive("vol2/Music"));
        QCOMPARE(Rows(Dir1(dialog)), rows);
        // Tried again on every tick: a drive that comes back is opened.
        QVERIFY(QDir(drives.root.path()).mkdir(QStringLiteral("lost")));
        WaitForTick(dialog);
        QCOMPARE(Dir1(dialog).path(), drives.drive("lost"));
    }

    void bothDialogsAtOnceFillTheirOwnField() {
        WithPreferences preferences;
        preferences.showAndActivate();
        FormWindow& form5 = preferences.browse(3);
        FormWindow& form6 = preferences.browse(4);
        QVERIFY(&form5 != &form6 && form5.isVisible() && form6.isVisible());
        DoubleClick(Dir1(form5), "beta");
        DoubleClick(Dir1(form6), "Gamma");
        QTest::mouseClick(&Button(form6, "Command1"), Qt::LeftButton);
        QTest::mouseClick(&Button(form5, "Command1"), Qt::LeftButton);
        QCOMPARE(preferences.form.control<QLineEdit>("rdvdir").text(),
                 preferences.drives.drive("vol1/beta"));
        QCOMPARE(preferences.form.control<QLineEdit>("rwdir").text(),
                 preferences.drives.drive("vol1/Gamma"));
    }

    void placedByTheWindowSystemNotOnPreferences() {
        WithPreferences preferences;
        preferences.showAndActivate();
        for (int button : {3, 4}) {
            FormWindow& dialog = preferences.browse(button);
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            // No parent: neither kept above Preferences nor placed over it.
            QVERIFY(dialog.parentWidget() == nullptr);
            QVERIFY(dialog.isWindow());
            const QPoint centre = dialog.frameGeometry().center();
            const QPoint middle = dialog.screen()->availableGeometry().center();
            QVERIFY2(
                (centre - middle).manhattanLength() > 40,
                qPrintable(QStringLiteral("centred at %1,%2").arg(centre.x()).arg(centre.y())));
        }
    }

    void minimizedDialogIsRestoredByItsBrowseButton() {
        WithPreferences preferences;
        preferences.showAndActivate();
        FormWindow& dialog = preferences.browse(3);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        DoubleClick(Dir1(dialog), "beta");
        dialog.showMinimized();
        QTRY_VERIFY(dialog.isMinimized());

        QCOMPARE(&preferences.browse(3), &dialog);
        QVERIFY(!dialog.isMinimized());
        QVERIFY(dialog.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        // Restored as the user left it.
        QCOMPARE(Dir1(dialog).path(), preferences.drives.drive("vol1/beta"));
    }

    void systemVolumesHoldTheWorkingFolder() {
        const SystemVolumeList system;
        const std::vector<std::string> roots = system.Volumes();
        QVERIFY(!roots.empty());
#ifndef Q_OS_WIN
        QCOMPARE(roots.front(), "/");
#endif
        const std::string working = system.WorkingFolder();
        QCOMPARE(QString::fromStdString(working), Native(QDir::currentPath()));
        QVERIFY(!VolumeContaining(roots, working).empty());
    }
};

QTEST_MAIN(TestBrowseDialog)
#include "tst_browse_dialog.moc"
