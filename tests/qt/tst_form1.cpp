// The real main window over a scratch program folder, with the outside world
// faked. Runs at display scale 1 and 1.5: geometry is in device-independent
// pixels, so every expected value holds at both.
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/form1_table.h"
#include "qt/picture.h"
#include "tests/support/qt_files.h"
#include "tests/support/qt_launcher.h"
#include "tests/support/scratch_program.h"

using namespace launcher;
using namespace launcher::qt;

Q_DECLARE_METATYPE(launcher::PositionCatalogue)

namespace {

// Form1 loaded over its own program folder, holding `config` as config.ini
// (no config.ini when empty).
struct LoadedForm : testing::ScratchProgram {
    std::unique_ptr<testing::QtLauncher> launcher;

    explicit LoadedForm(const QByteArray& config = {}) {
        if (!config.isEmpty()) {
            write(QStringLiteral("config.ini"), config);
        }
        reload();
    }

    // Loads the window afresh over the folder as it now stands.
    void reload() { launcher = std::make_unique<testing::QtLauncher>(world()); }

    FormWindow& form() const { return launcher->form1(); }
    template <typename T>
    T* find(const QString& name) const {
        return form().findChild<T*>(name);
    }

    void showAndActivate() const {
        form().show();
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
    }
};

// Group n's frame and list, 1..30.
QGroupBox& Frame(const FormWindow& form, int n) {
    return form.control<QGroupBox>(FrameName(n));
}
QComboBox& Combo(const FormWindow& form, int n) {
    return form.control<QComboBox>(ComboName(n));
}
QLabel& Label(const FormWindow& form, const char* name) {
    return form.control<QLabel>(name);
}

struct GroupDesign {
    int number;
    std::string name;
    std::vector<std::string> entries;
};

PositionCatalogue Catalogue(std::initializer_list<GroupDesign> groups) {
    PositionCatalogue catalogue;
    for (const GroupDesign& design : groups) {
        catalogue.group(design.number).name = design.name;
        catalogue.group(design.number).entries = design.entries;
    }
    return catalogue;
}

QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) {
        items << combo.itemText(i);
    }
    return items;
}

// Picks row `row` of the combo's list with the mouse, as a user does.
void PickItem(QComboBox& combo, int row) {
    combo.showPopup();
    QAbstractItemView* list = combo.view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    // The drop-down, made at its first opening, is announced as its list.
    QVERIFY(!combo.accessibleName().isEmpty());
    QCOMPARE(list->accessibleName(), combo.accessibleName());
    const QRect item = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
}

void WriteFile(const QTemporaryDir& folder, const char* name, const QByteArray& bytes) {
    QVERIFY(testing::WriteBytes(folder.filePath(QString::fromLatin1(name)), bytes));
}

// Waits for the next tick of the window's polling timer.
void WaitOneTick(const FormWindow& form) {
    QSignalSpy tick(form.findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout);
    QVERIFY(tick.wait(1000));
}

// The group whose list holds the keyboard focus, 0 for none.
int FocusedGroup(const FormWindow& form) {
    const QWidget* focus = QApplication::focusWidget();
    for (int n = 1; n <= kGroupCount; ++n) {
        if (focus == &Combo(form, n) || Combo(form, n).isAncestorOf(focus)) {
            return n;
        }
    }
    return 0;
}

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void pollRunsFromLoad();

    void loadShowsCatalogueOfProgramFolder();
    void showsNamedGroupsOnly();
    void windowHeightFitsRowsInUse_data();
    void windowHeightFitsRowsInUse();
    void laterHeightKeepsWidthAndPosition();

    void tabOrderStartsOnLaunch();
    void exitAndCloseBoxEndProgram();
    void userPreferencesShowsTheOneLoadedDialog();
    void typingAddsNothingAndPicksNothing();
    void pickingFromListFiresPickHandler();
    void oneGroupKeepsThePickAndLabelsFollowWithinATick();
    void picturesTakeTheirSizeBeneathControls();
    void longAlikeNamesShowWholeAndKeepOffTheCaptions();
};

void Form1Test::initTestCase() {
    // The window ends the program itself; Qt must not quit the test on close.
    QApplication::setQuitOnLastWindowClosed(false);
}

void Form1Test::pollRunsFromLoad() {
    LoadedForm loaded;
    auto* timer = loaded.find<QTimer>(QStringLiteral("Timer1"));
    QVERIFY(timer != nullptr && timer->isActive());
    QCOMPARE(timer->interval(), 100);
}

void Form1Test::loadShowsCatalogueOfProgramFolder() {
    LoadedForm loaded(
        "[combo names]\n1=Heathrow\n6=Manchester\n\n"
        "[1 items]\n1=EGLL_DEL\n3=EGLL_TWR\n\n"
        "[6 items]\n1=EGCC_TWR\n");
    FormWindow& form = loaded.form();
    QVERIFY(Frame(form, 1).isVisibleTo(&form));
    QCOMPARE(Frame(form, 1).title(), QStringLiteral("Heathrow"));
    QCOMPARE(Items(Combo(form, 1)), (QStringList{"EGLL_DEL", "EGLL_TWR"}));
    QVERIFY(Frame(form, 6).isVisibleTo(&form));
    QVERIFY(!Frame(form, 2).isVisibleTo(&form));

    form.show();
    QTRY_COMPARE(form.frameGeometry().height(), 5865 / 15);
}

void Form1Test::showsNamedGroupsOnly() {
    LoadedForm loaded;
    FormWindow& form = loaded.form();
    // A group left visible by an earlier catalogue must go too.
    ShowPositionCatalogue(Catalogue({{8, "Earlier", {}}}), form);
    QVERIFY(Frame(form, 8).isVisibleTo(&form));

    ShowPositionCatalogue(Catalogue({
                              {1, "Heathrow", {"EGLL_DEL", "EGLL_TWR", "EGLL_TWR"}},
                              {2, "", {"ghost"}},
                              {3, "Stansted", {}},
                              {30, "Last & final", {"EGXX_CTR"}},
                          }),
                          form);

    for (int n = 1; n <= kGroupCount; ++n) {
        const bool named = n == 1 || n == 3 || n == 30;
        QVERIFY2(Frame(form, n).isVisibleTo(&form) == named, qPrintable(QString::number(n)));
        QVERIFY(Combo(form, n).isVisibleTo(&form) == named);
    }
    QCOMPARE(Frame(form, 1).title(), QStringLiteral("Heathrow"));
    QCOMPARE(Frame(form, 3).title(), QStringLiteral("Stansted"));
    QCOMPARE(Frame(form, 30).title(), QStringLiteral("Last & final"));
    QCOMPARE(Items(Combo(form, 1)), (QStringList{"EGLL_DEL", "EGLL_TWR", "EGLL_TWR"}));
    QCOMPARE(Combo(form, 2).count(), 0);
    QCOMPARE(Combo(form, 3).count(), 0);
    QCOMPARE(Items(Combo(form, 30)), QStringList{"EGXX_CTR"});
    for (int n : {1, 30}) {
        QCOMPARE(Combo(form, n).currentIndex(), -1);
        QCOMPARE(Combo(form, n).currentText(), QString());
    }
}

void Form1Test::windowHeightFitsRowsInUse_data() {
    QTest::addColumn<PositionCatalogue>("catalogue");
    QTest::addColumn<int>("twips");
    QTest::newRow("empty") << PositionCatalogue() << 4980;
    QTest::newRow("groups 6 and 26") << Catalogue({{6, "M", {"A"}}, {26, "Z", {"B"}}}) << 9045;
    QTest::newRow("group 26 named without entries")
        << Catalogue({{21, "Y", {"A"}}, {26, "Z", {}}}) << 8295;
}

void Form1Test::windowHeightFitsRowsInUse() {
    QFETCH(PositionCatalogue, catalogue);
    QFETCH(int, twips);
    LoadedForm loaded;
    FormWindow& form = loaded.form();
    // Set before the first show, while the frame is still unknown: the outer
    // height must come out right once the window is framed.
    ShowPositionCatalogue(catalogue, form);
    QVERIFY(form.height() < twips / 15);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTRY_COMPARE(form.frameGeometry().height(), twips / 15);
    QCOMPARE(form.width(), 650);
}

void Form1Test::laterHeightKeepsWidthAndPosition() {
    LoadedForm loaded;
    FormWindow& form = loaded.form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPoint position = form.pos();

    ShowPositionCatalogue(Catalogue({{11, "S", {"A"}}}), form);
    QTRY_COMPARE(form.frameGeometry().height(), 6690 / 15);
    QCOMPARE(form.width(), 650);
    QCOMPARE(form.pos(), position);
}

void Form1Test::tabOrderStartsOnLaunch() {
    LoadedForm loaded;
    FormWindow& form = loaded.form();
    ShowPositionCatalogue(Catalogue({{2, "B", {"x"}}, {5, "E", {}}, {17, "Q", {"y"}}}), form);
    loaded.showAndActivate();

    QCOMPARE(QApplication::focusWidget(), loaded.find<QWidget>("Command1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), loaded.find<QWidget>("Command2"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), loaded.find<QWidget>("Command3"));
    // Hidden groups, labels and frames are passed over.
    for (int expected : {2, 5, 17}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(FocusedGroup(form), expected);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), loaded.find<QWidget>("Command1"));
}

void Form1Test::exitAndCloseBoxEndProgram() {
    {
        LoadedForm loaded;
        // Launch writes rvsb.ini in the Windows folder: keep it in the scratch folder.
        WriteFile(loaded.folder, "settings.ini",
                  "[MAIN]\nWINDIR=" + QByteArray::fromStdString(loaded.location.folder) + "\n");
        loaded.reload();
        loaded.showAndActivate();
        QTest::mouseClick(loaded.find<QPushButton>("Command1"), Qt::LeftButton);
        QTest::mouseClick(loaded.find<QPushButton>("Command3"), Qt::LeftButton);
        QCOMPARE(loaded.ender.calls, 0);
        QTest::mouseClick(loaded.find<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(loaded.ender.calls, 1);
    }
    {
        LoadedForm loaded;
        loaded.showAndActivate();
        loaded.form().close();
        QCOMPARE(loaded.ender.calls, 1);
    }
}

void Form1Test::userPreferencesShowsTheOneLoadedDialog() {
    LoadedForm loaded;
    const QByteArray settings = "[MAIN]\r\nNAME=Pat\r\nRWIP=voice2.example.net\r\n";
    WriteFile(loaded.folder, "settings.ini", settings);
    loaded.reload();
    const Preferences& record = loaded.launcher->presenter().form4().preferences();
    FormWindow& preferences = *loaded.launcher->window("Form4");
    QVERIFY(!preferences.isVisible());
    QCOMPARE(record.userName, "Pat");
    QCOMPARE(record.datebox, "");  // loaded, not the design-time "UK"
    loaded.showAndActivate();

    for (int press = 0; press < 2; ++press) {
        QTest::mouseClick(loaded.find<QPushButton>("Command3"), Qt::LeftButton);
        QVERIFY(preferences.isVisible());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);  // the main window stays usable
    }
    QCOMPARE(QApplication::topLevelWidgets().count(&preferences), 1);
}

void Form1Test::typingAddsNothingAndPicksNothing() {
    LoadedForm loaded;
    FormWindow& form = loaded.form();
    ShowPositionCatalogue(Catalogue({{1, "Heathrow", {"EGLL_DEL", "EGLL_TWR"}}}), form);
    loaded.showAndActivate();
    QComboBox& combo = Combo(form, 1);
    QLineEdit* field = combo.lineEdit();
    field->setFocus();

    QTest::keyClicks(field, "egll");
    QCOMPARE(combo.currentText(), QStringLiteral("egll"));  // not completed to EGLL_DEL
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(combo.count(), 2);
    QCOMPARE(combo.currentText(), QStringLiteral("egll"));

    // Text equal to an item, but for case, stays typed text on Return.
    field->clear();
    QTest::keyClicks(field, "egll_twr");
    QTest::keyClick(field, Qt::Key_Enter);
    QCOMPARE(combo.currentText(), QStringLiteral("egll_twr"));
    QCOMPARE(combo.currentIndex(), -1);

    // Text equal to an item, leaving the field.
    field->clear();
    QTest::keyClicks(field, "EGLL_TWR");
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClick(field, Qt::Key_Tab);
    QVERIFY(!field->hasFocus());
    QCOMPARE(combo.currentIndex(), -1);

    QCOMPARE(Items(combo), (QStringList{"EGLL_DEL", "EGLL_TWR"}));
    QCOMPARE(loaded.launcher->maker.picks, std::vector<std::string>());
}

void Form1Test::pickingFromListFiresPickHandler() {
    LoadedForm loaded;
    FormWindow& form = loaded.form();
    ShowPositionCatalogue(Catalogue({{7, "Liverpool", {"EGGP_GND", "EGGP_TWR"}}}), form);
    loaded.showAndActivate();
    QComboBox& combo = Combo(form, 7);

    PickItem(combo, 1);

    QCOMPARE(loaded.launcher->maker.picks, std::vector<std::string>{"Form1 Combo7"});
    QCOMPARE(combo.currentText(), QStringLiteral("EGGP_TWR"));
    // The presenter took it as group 7's pick.
    WaitOneTick(form);
    QCOMPARE(Label(form, "selected").text(), QStringLiteral("EGGP_TWR"));
}

void Form1Test::oneGroupKeepsThePickAndLabelsFollowWithinATick() {
    LoadedForm loaded(
        "[combo names]\n3=Gatwick\n7=Liverpool\n12=Control\n"
        "[3 items]\n1=EGKK_TWR\n[7 items]\n1=EGGP_GND\n2=EGGP_TWR\n[12 items]\n1=LON_CTR\n");
    WriteFile(loaded.folder, "freq.ini", "[FREQ]\nEGKK_TWR=124.225\negGP_twr=126.350\n");
    FormWindow& form = loaded.form();
    loaded.showAndActivate();
    QCOMPARE(Label(form, "selected").text(), QString());

    PickItem(Combo(form, 3), 0);
    PickItem(Combo(form, 7), 1);
    QCOMPARE(Combo(form, 3).currentText(), QString());
    QCOMPARE(Label(form, "selected").text(), QString());  // the display follows at the next tick
    WaitOneTick(form);
    QCOMPARE(Label(form, "selected").text(), QStringLiteral("EGGP_TWR"));
    QCOMPARE(Label(form, "comfreq").text(), QStringLiteral("126.350"));

    // Typing in a higher group takes over without emptying the pick.
    QTest::keyClicks(Combo(form, 12).lineEdit(), QStringLiteral("LON_S"));
    WaitOneTick(form);
    QCOMPARE(Label(form, "selected").text(), QStringLiteral("LON_S"));
    QCOMPARE(Label(form, "comfreq").text(), QString());
    QCOMPARE(Combo(form, 7).currentText(), QStringLiteral("EGGP_TWR"));

    // The file is read on every tick.
    WriteFile(loaded.folder, "freq.ini", "[FREQ]\nLON_S=129.425\n");
    WaitOneTick(form);
    QCOMPARE(Label(form, "comfreq").text(), QStringLiteral("129.425"));
}

void Form1Test::picturesTakeTheirSizeBeneathControls() {
    LoadedForm loaded;
    FormWindow& form = loaded.form();
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // A picture drawn for a finer display keeps its size in
    // device-independent pixels.
    QPixmap banner(1300, 600);
    banner.setDevicePixelRatio(2);
    banner.fill(Qt::darkGreen);
    form.control<PictureBox>("Image1").setPicture(banner);
    QCOMPARE(form.control<PictureBox>("Image1").size(), QSize(650, 300));
    form.control<PictureBox>("Image2").setPicture(QPixmap(40, 30));
    QCOMPARE(form.control<PictureBox>("Image2").size(), QSize(40, 30));
    form.control<PictureBox>("Image2").setPicture(QPixmap());
    QCOMPARE(form.control<PictureBox>("Image2").size(), QSize(40, 30));

    for (const char* name : {"wwwaddy", "Command1", "Label1", "accname"}) {
        auto* control = loaded.find<QWidget>(QString::fromLatin1(name));
        QCOMPARE(form.childAt(control->geometry().center()), control);
    }
}

void Form1Test::longAlikeNamesShowWholeAndKeepOffTheCaptions() {
    LoadedForm loaded(
        "[combo names]\n1=London\n[1 items]\n1=EGTT_LONDON_N_CTR\n2=EGTT_LONDON_S_CTR\n"
        "3=EGTT_LONDON_E_CTR\n4=EGTT_LONDON_W_CTR\n");
    WriteFile(loaded.folder, "freq.ini", "[FREQ]\nEGTT_LONDON_W_CTR=133.700\n");
    FormWindow& form = loaded.form();
    loaded.showAndActivate();
    QComboBox& combo = Combo(form, 1);
    combo.showPopup();
    QAbstractItemView* list = combo.view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    QCOMPARE(list->textElideMode(), Qt::ElideNone);
    QVERIFY(list->window()->width() > combo.width());
    QVERIFY(list->window()->width() <= combo.screen()->availableGeometry().width());
    const int margins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    for (int row = 0; row < 4; ++row) {
        const QRect item = list->visualRect(list->model()->index(row, 0));
        const int text = list->fontMetrics().horizontalAdvance(combo.itemText(row));
        QVERIFY2(item.width() - margins >= text, qPrintable(combo.itemText(row)));
        QVERIFY(item.right() < list->viewport()->width());
    }
    PickItem(combo, 3);
    WaitOneTick(form);

    // The value labels end where the next caption begins; their whole text
    // is in the tooltip and read out as the value.
    const std::pair<const char*, QString> values[] = {{"selected", "EGTT_LONDON_W_CTR"},
                                                      {"comfreq", "133.700"}};
    for (const auto& [name, text] : values) {
        QLabel& label = Label(form, name);
        QCOMPARE(label.text(), text);
        QCOMPARE(label.toolTip(), text);
        QCOMPARE(QAccessible::queryAccessibleInterface(&label)->text(QAccessible::Value), text);
    }
    QCOMPARE(Label(form, "selected").geometry(), QRect(200, 168, 104, 25));
    QCOMPARE(Label(form, "comfreq").geometry(), QRect(384, 168, 113, 17));
    // Nothing of the red position inside the "Selected Frequency" caption.
    const QImage picture = form.grab().toImage();
    const qreal scale = picture.devicePixelRatio();
    const QRect caption = Label(form, "Label2").geometry();
    for (int y = qCeil(caption.top() * scale); y < qFloor((caption.bottom() + 1) * scale); ++y) {
        for (int x = qCeil(caption.left() * scale); x < qFloor((caption.right() + 1) * scale);
             ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            QVERIFY(pixel.red() - pixel.green() < 64);
        }
    }
}

QTEST_MAIN(Form1Test)
#include "tst_form1.moc"
