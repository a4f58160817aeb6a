// The Preferences dialog over a scratch settings.ini, on the offscreen
// platform. The browse dialogs are the real ones over a fake set of volumes.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "prefs/form4_presenter.h"
#include "profile/ini.h"
#include "profile/paths.h"
#include "qt/folder_list.h"
#include "tests/support/fakes.h"
#include "tests/support/qt_files.h"
#include "tests/support/qt_launcher.h"

using namespace launcher;
using namespace launcher::qt;

namespace {

using testing::FakeVolumes;

// Form4 over its own program folder, holding `settings` as settings.ini (no
// settings.ini when empty).
struct LoadedForm {
    QTemporaryDir folder;
    FakeVolumes volumes;
    std::string settingsFile;
    qt::FormMaker maker;
    std::unique_ptr<Form4Presenter> presenter;
    FormWindow* form = nullptr;

    explicit LoadedForm(const QByteArray& settings = {}) {
        const std::string programFolder = QDir::toNativeSeparators(folder.path()).toStdString();
        settingsFile = InFolder(programFolder, "settings.ini");
        volumes.volumes = {QDir::rootPath().toStdString()};
        volumes.working = programFolder;
        if (!settings.isEmpty()) {
            testing::WriteBytes(QString::fromStdString(settingsFile), settings);
        }
        presenter = std::make_unique<Form4Presenter>(maker, settingsFile, volumes);
        form = &testing::WindowOf(presenter->view());
    }

    const Preferences& preferences() const { return presenter->preferences(); }
    // Form5 or Form6, null until its Browse button is first pressed.
    FormWindow* browse(int n) const {
        const BrowsePresenter* dialog = n == 5 ? presenter->form5() : presenter->form6();
        return dialog == nullptr ? nullptr : &testing::WindowOf(dialog->view());
    }

    QByteArray settingsBytes() const {
        return testing::ReadBytes(QString::fromStdString(settingsFile));
    }
    bool settingsExist() const { return QFile::exists(QString::fromStdString(settingsFile)); }

    void showAndActivate() const {
        presenter->ShowModeless();
        QVERIFY(QTest::qWaitForWindowActive(form));
    }
};

QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) {
        items << combo.itemText(i);
    }
    return items;
}

QComboBox& List(const FormWindow& form, const char* name) {
    return form.control<QComboBox>(name);
}
QLineEdit& Edit(const FormWindow& form, const char* name) {
    return form.control<QLineEdit>(name);
}
// OK, Cancel, Browse beside "Rdv Directory", Browse beside "RW Directory".
QPushButton& Command(const FormWindow& form, int n) {
    return form.control<QPushButton>("Command" + std::to_string(n));
}

QWidget* FocusedControl() {
    QWidget* focus = QApplication::focusWidget();
    // A choice box takes the focus in its line edit.
    if (focus != nullptr && qobject_cast<QComboBox*>(focus->parentWidget()) != nullptr) {
        return focus->parentWidget();
    }
    return focus;
}

const QByteArray kServers =
    "[rwservers]\r\n1=rw1.example\r\n2=rw2.example\r\n5=rw5.example\r\n9=rw9.example\r\n"
    "[rdvservers]\r\n1=rdv1.example\r\n10=rdv10.example\r\n11=rdv11.example\r\n";

}  // namespace

class Form4Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void createdWithDefaultsAndServerLists();
    void loadPreferencesReplacesEveryControl();

    void tabOrderStartsInRwip();
    void editsAreInForceAtOnce();
    void typingAddsNothingAndKeepsCase();
    void okSavesAndHides();
    void cancelAndCloseBoxHideKeepingEdits();
    void enterAndEscapeDoNothing();
    void opensCentredAndComesToFront();
    void browseDialogsSetTheirFolderOnly();
    void captionsShowTheirWholeText();
};

void Form4Test::initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
}

void Form4Test::createdWithDefaultsAndServerLists() {
    // Filling a list selects its first entry; the defaults must survive that.
    LoadedForm loaded(kServers + "[MAIN]\r\nNAME=Not read yet\r\nDATE=USA\r\n");
    FormWindow& form = *loaded.form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Preferences"));
    QVERIFY(form.isWindow() && !form.isVisible());
    QCOMPARE(form.size(), QSize(6690 / 15, 4590 / 15));

    QCOMPARE(Items(List(form, "rwip")),
             (QStringList{"rw1.example", "rw2.example", "", "", "rw5.example", "", "", ""}));
    QCOMPARE(Items(List(form, "serverip")),
             (QStringList{"rdv1.example", "", "", "", "", "", "", "", "", "rdv10.example"}));
    QCOMPARE(Items(List(form, "datebox")), (QStringList{"UK", "USA"}));

    QCOMPARE(List(form, "rwip").currentText(), QStringLiteral("voice.example.net"));
    QCOMPARE(List(form, "datebox").currentText(), QStringLiteral("UK"));
    QCOMPARE(List(form, "serverip").currentText(), QString());
    for (QLineEdit* edit : {&Edit(form, "userName"), &Edit(form, "rdvdir"), &Edit(form, "rwdir"),
                            &Edit(form, "windowsdir")}) {
        QCOMPARE(edit->text(), QString());
    }
}

void Form4Test::loadPreferencesReplacesEveryControl() {
    LoadedForm loaded(kServers +
                      "[main]\r\nWINDIR=C:\\WINDOWS\r\nRDVIP=10.1.2.3\r\nNAME=  Jo Smith  \r\n"
                      "RWDIR=C:\\RW\r\nRDVDIR=D:\\Radavue\r\n");
    FormWindow& form = *loaded.form;
    loaded.presenter->LoadPreferences();

    // Absent keys empty the default voice server and date style too.
    QCOMPARE(List(form, "rwip").currentText(), QString());
    QCOMPARE(List(form, "datebox").currentText(), QString());
    QCOMPARE(List(form, "serverip").currentText(), QStringLiteral("10.1.2.3"));
    QCOMPARE(Edit(form, "userName").text(), QStringLiteral("Jo Smith"));
    QCOMPARE(Edit(form, "rdvdir").text(), QStringLiteral("D:\\Radavue"));
    QCOMPARE(Edit(form, "rwdir").text(), QStringLiteral("C:\\RW"));
    QCOMPARE(Edit(form, "windowsdir").text(), QStringLiteral("C:\\WINDOWS"));
    QCOMPARE(loaded.preferences().windowsdir, "C:\\WINDOWS");
    QCOMPARE(loaded.preferences().rwip, "");
    QCOMPARE(List(form, "rwip").count(), 8);  // the lists are not touched
}

void Form4Test::tabOrderStartsInRwip() {
    LoadedForm loaded;
    FormWindow& form = *loaded.form;
    loaded.showAndActivate();

    QWidget* const expected[] = {
        &List(form, "rwip"),     &Command(form, 1),         &Command(form, 2),
        &List(form, "serverip"), &Edit(form, "userName"),   &Command(form, 3),
        &Edit(form, "rdvdir"),   &Edit(form, "rwdir"),      &Command(form, 4),
        &List(form, "datebox"),  &Edit(form, "windowsdir"), &List(form, "rwip")};
    QCOMPARE(FocusedControl(), expected[0]);
    for (std::size_t i = 1; i < std::size(expected); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(FocusedControl() == expected[i], qPrintable(QString::number(i)));
    }
}

void Form4Test::editsAreInForceAtOnce() {
    LoadedForm loaded(kServers);
    FormWindow& form = *loaded.form;
    loaded.showAndActivate();
    const Preferences& record = loaded.preferences();

    Edit(form, "userName").setFocus();
    QTest::keyClicks(&Edit(form, "userName"), " Jo ");
    QCOMPARE(record.userName, " Jo ");
    QTest::keyClick(&Edit(form, "userName"), Qt::Key_Backspace);
    QCOMPARE(record.userName, " Jo");

    QTest::keyClicks(&Edit(form, "windowsdir"), "C:\\WIN");
    QTest::keyClicks(&Edit(form, "rdvdir"), "D:\\R");
    QTest::keyClicks(&Edit(form, "rwdir"), "E:\\W");
    QCOMPARE(record.windowsdir, "C:\\WIN");
    QCOMPARE(record.rdvdir, "D:\\R");
    QCOMPARE(record.rwdir, "E:\\W");

    List(form, "rwip").lineEdit()->clear();
    QTest::keyClicks(List(form, "rwip").lineEdit(), "not.listed");
    QCOMPARE(record.rwip, "not.listed");

    // A pick from the list is an edit like typing.
    QComboBox& serverip = List(form, "serverip");
    serverip.showPopup();
    QAbstractItemView* list = serverip.view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QRect item = list->visualRect(list->model()->index(9, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(serverip.currentText(), QStringLiteral("rdv10.example"));
    QCOMPARE(serverip.lineEdit()->cursorPosition(), 0);
    QCOMPARE(record.serverip, "rdv10.example");

    QCOMPARE(loaded.settingsBytes(), kServers);  // nothing saved before OK
}

void Form4Test::typingAddsNothingAndKeepsCase() {
    LoadedForm loaded(kServers);
    FormWindow& form = *loaded.form;
    loaded.showAndActivate();

    QComboBox& datebox = List(form, "datebox");
    QLineEdit* field = datebox.lineEdit();
    field->setFocus();
    field->clear();
    QTest::keyClicks(field, "u");
    QCOMPARE(datebox.currentText(), QStringLiteral("u"));  // not completed to "UK"
    QTest::keyClicks(field, "k");
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Tab);
    QVERIFY(!field->hasFocus());
    QCOMPARE(datebox.currentText(), QStringLiteral("uk"));
    QCOMPARE(loaded.preferences().datebox, "uk");
    QCOMPARE(Items(datebox), (QStringList{"UK", "USA"}));

    QComboBox& rwip = List(form, "rwip");
    rwip.lineEdit()->setFocus();
    rwip.lineEdit()->clear();
    QTest::keyClicks(rwip.lineEdit(), "RW2.EXAMPLE");
    QTest::keyClick(rwip.lineEdit(), Qt::Key_Enter);
    QTest::keyClick(rwip.lineEdit(), Qt::Key_Tab);
    QCOMPARE(loaded.preferences().rwip, "RW2.EXAMPLE");
    QCOMPARE(rwip.count(), 8);
}

void Form4Test::okSavesAndHides() {
    LoadedForm loaded;
    FormWindow& form = *loaded.form;
    loaded.showAndActivate();
    Edit(form, "userName").setFocus();
    QTest::keyClicks(&Edit(form, "userName"), "Jo Smith");

    QTest::mouseClick(&Command(form, 1), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(ReadIni("MAIN", "NAME", loaded.settingsFile), "Jo Smith");
    QCOMPARE(ReadIni("MAIN", "DATE", loaded.settingsFile), "UK");
}

void Form4Test::cancelAndCloseBoxHideKeepingEdits() {
    const QByteArray saved = "[MAIN]\r\nNAME=Saved\r\nDATE=UK\r\n";
    LoadedForm loaded(saved);
    FormWindow& form = *loaded.form;
    loaded.presenter->LoadPreferences();

    loaded.showAndActivate();
    Edit(form, "userName").setText(QStringLiteral("Edited"));
    QTest::mouseClick(&Command(form, 2), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(loaded.preferences().userName, "Edited");
    QCOMPARE(loaded.settingsBytes(), saved);

    loaded.showAndActivate();
    QCOMPARE(Edit(form, "userName").text(), QStringLiteral("Edited"));
    List(form, "datebox").setEditText(QStringLiteral("USA"));
    QVERIFY(form.close());
    QVERIFY(!form.isVisible());
    QCOMPARE(loaded.preferences().datebox, "USA");
    QCOMPARE(loaded.settingsBytes(), saved);

    // Reopened after the close box: the same dialog with the same fields.
    loaded.showAndActivate();
    QCOMPARE(List(form, "datebox").currentText(), QStringLiteral("USA"));
    QCOMPARE(Edit(form, "userName").text(), QStringLiteral("Edited"));
}

void Form4Test::enterAndEscapeDoNothing() {
    LoadedForm loaded;
    FormWindow& form = *loaded.form;
    loaded.showAndActivate();
    const Preferences before = loaded.preferences();

    for (QWidget* control :
         {static_cast<QWidget*>(&Command(form, 1)), static_cast<QWidget*>(&Command(form, 2)),
          static_cast<QWidget*>(List(form, "rwip").lineEdit()),
          static_cast<QWidget*>(&Edit(form, "userName"))}) {
        control->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(control, key);
            QVERIFY(form.isVisible());
        }
    }
    QVERIFY(!loaded.settingsExist());
    QCOMPARE(loaded.preferences(), before);
}

void Form4Test::opensCentredAndComesToFront() {
    LoadedForm loaded;
    FormWindow& form = *loaded.form;
    loaded.showAndActivate();
    const QRect area = form.screen()->availableGeometry();
    // Without a window manager there is no frame; the typical frame assumed
    // until the real one is known may shift the window by its own size.
    QVERIFY(qAbs(form.frameGeometry().center().x() - area.center().x()) <= 8);
    QVERIFY(qAbs(form.frameGeometry().center().y() - area.center().y()) <= 20);

    // A visible dialog stays where the user moved it and comes to the front.
    form.move(form.pos() + QPoint(30, 40));
    const QPoint moved = form.pos();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    loaded.presenter->ShowModeless();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(form.pos(), moved);

    form.hide();
    loaded.presenter->ShowModeless();
    QVERIFY(form.isVisible());
    QCOMPARE(form.pos(), moved);
}

void Form4Test::browseDialogsSetTheirFolderOnly() {
    LoadedForm loaded;
    FormWindow& form = *loaded.form;
    loaded.showAndActivate();
    QVERIFY(loaded.browse(5) == nullptr && loaded.browse(6) == nullptr);

    QTest::mouseClick(&Command(form, 3), Qt::LeftButton);
    FormWindow* form5 = loaded.browse(5);
    QVERIFY(form5 != nullptr && form5->isVisible() && form5->isWindow());
    QCOMPARE(form5->objectName(), QStringLiteral("Form5"));
    QVERIFY(loaded.browse(6) == nullptr);
    QTest::mouseClick(&Command(form, 3), Qt::LeftButton);
    QCOMPARE(loaded.browse(5), form5);  // created once

    // OK in Form5 takes the folder its list shows, the working folder here.
    QTest::mouseClick(&form5->control<QPushButton>("Command1"), Qt::LeftButton);
    QVERIFY(!form5->isVisible());
    const QString working = QString::fromStdString(loaded.volumes.working);
    QCOMPARE(Edit(form, "rdvdir").text(), working);
    QCOMPARE(loaded.preferences().rdvdir, loaded.volumes.working);
    QCOMPARE(Edit(form, "rwdir").text(), QString());

    // Form6 fills the voice folder, also while Preferences is hidden; nothing
    // reaches the file before OK.
    QVERIFY(QDir(loaded.folder.path()).mkdir(QStringLiteral("Roger Wilco")));
    const QString voice = QDir::toNativeSeparators(loaded.folder.filePath("Roger Wilco"));
    QTest::mouseClick(&Command(form, 4), Qt::LeftButton);
    FormWindow* form6 = loaded.browse(6);
    QVERIFY(form6 != nullptr && form6 != form5 && form6->isVisible());
    QCOMPARE(form6->objectName(), QStringLiteral("Form6"));
    QTest::mouseClick(&Command(form, 2), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QVERIFY(form6->control<FolderList>("Dir1").setPath(voice));
    QTest::mouseClick(&form6->control<QPushButton>("Command1"), Qt::LeftButton);
    QCOMPARE(loaded.preferences().rwdir, voice.toStdString());
    QCOMPARE(Edit(form, "rwdir").text(), voice);
    QCOMPARE(Edit(form, "rdvdir").text(), working);
    QVERIFY(!loaded.settingsExist());
}

void Form4Test::captionsShowTheirWholeText() {
    // Whatever face this machine substitutes for the designed one, no caption
    // may lose letters past its edge or under the field it names.
    LoadedForm loaded;
    int captions = 0;
    for (const QLabel* caption : loaded.form->findChildren<QLabel*>()) {
        const QWidget* field = caption->buddy();
        if (field == nullptr) {
            continue;
        }
        ++captions;
        const QRect box = caption->geometry();
        const int visible = field->x() > box.x() && field->y() <= box.bottom()
                                ? std::min(box.width(), field->x() - box.x())
                                : box.width();
        const QFontMetrics metrics(caption->font());
        const QRect needed =
            metrics.boundingRect(QRect(0, 0, visible, 1000), Qt::TextWordWrap, caption->text());
        QVERIFY2(needed.width() <= visible, qPrintable(caption->text()));
        QVERIFY2(needed.height() - metrics.descent() <= box.height(), qPrintable(caption->text()));
        QVERIFY2(caption->font().pointSizeF() >= 6, qPrintable(caption->text()));
    }
    QCOMPARE(captions, 7);
}

QTEST_MAIN(Form4Test)
#include "tst_form4.moc"
