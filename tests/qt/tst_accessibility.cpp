// What a screen reader meets in every window: each control it is shown has a
// name, and the names are the captions the user sees. The windows are opened
// the way a user opens them, from the main window over a scratch program
// folder.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/form1_table.h"
#include "qt/picture.h"
#include "tests/support/qt_files.h"
#include "tests/support/qt_launcher.h"
#include "tests/support/scratch_program.h"

using namespace launcher;
using namespace launcher::qt;

namespace {

// The main window over a program folder with several groups, both pictures,
// a title and a web address, and every window it opens, shown.
struct AllWindows : testing::ScratchProgram {
    std::unique_ptr<testing::QtLauncher> launcher;

    AllWindows() {
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        picture.save(folder.filePath(QStringLiteral("logo.png")));
        picture.save(folder.filePath(QStringLiteral("back.png")));
        const QByteArray folderPath = folder.path().toUtf8();
        write("config.ini", "[GENERAL]\nLOGO=" + folderPath + "/logo.png\nBACK=" + folderPath +
                                "/back.png\nTITLE=Demo\nWEBSITE=www.example.net\n"
                                "[combo names]\n1=Heathrow\n2=Gatwick\n7=Liverpool\n"
                                "[1 items]\n1=EGLL_DEL\n2=EGLL_TWR\n[7 items]\n1=EGGP_TWR\n");
        write("freq.ini", "[FREQ]\nEGLL_DEL=118.325\n");
        // Launch writes rvsb.ini in the Windows folder: keep it in the scratch folder.
        write("settings.ini",
              "[MAIN]\nWINDIR=" + folderPath + "\nRWIP=voice1.example.net\nNAME=Pat\nDATE=UK\n");
        launcher = std::make_unique<testing::QtLauncher>(world());
    }

    FormWindow& form() const { return launcher->form1(); }
    // "Form2", "Form4", ...: null until made.
    FormWindow* window(const char* name) const { return launcher->window(name); }

    QPushButton& Button(const QWidget& window, const char* name) const {
        auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
        Q_ASSERT(button != nullptr);
        return *button;
    }

    // Launch, User Preferences and both Browse buttons, pressed.
    void OpenEveryWindow() {
        form().show();
        form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form()));
        // Launch needs a position: one typed, as a controller may.
        form().control<QComboBox>("Combo1").setEditText(QStringLiteral("EGLL_DEL"));
        QTRY_COMPARE(form().control<QLabel>("selected").text(), QStringLiteral("EGLL_DEL"));
        QTest::mouseClick(&Button(form(), "Command1"), Qt::LeftButton);
        QVERIFY(window("Form2") != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(window("Form2")));
        QTest::mouseClick(&Button(form(), "Command3"), Qt::LeftButton);
        FormWindow& preferences = *window("Form4");
        QVERIFY(QTest::qWaitForWindowExposed(&preferences));
        QTest::mouseClick(&Button(preferences, "Command3"), Qt::LeftButton);
        QTest::mouseClick(&Button(preferences, "Command4"), Qt::LeftButton);
        QVERIFY(window("Form5") != nullptr && window("Form6") != nullptr);
        QVERIFY(QTest::qWaitForWindowExposed(window("Form5")));
        QVERIFY(QTest::qWaitForWindowExposed(window("Form6")));
    }

    QList<QWidget*> Windows() const {
        return {&form(), window("Form2"), window("Form4"), window("Form5"), window("Form6")};
    }
};

QAccessibleInterface* Accessible(QObject* object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    Q_ASSERT(accessible != nullptr);
    return accessible;
}

QString Name(QObject* object) {
    return Accessible(object)->text(QAccessible::Name);
}

// What a reader announces `control` as. A list's Name is its current text
// on X11, where readers take the list's name from the label that points at
// it; elsewhere the name set on the list is its Name.
QString Announced(QWidget& control) {
    QAccessibleInterface* accessible = Accessible(&control);
    if (accessible->role() != QAccessible::ComboBox) {
        return accessible->text(QAccessible::Name);
    }
    const QList<QPair<QAccessibleInterface*, QAccessible::Relation>> labels =
        accessible->relations(QAccessible::Label);
    return labels.isEmpty() ? control.accessibleName()
                            : labels.first().first->text(QAccessible::Name);
}

QString Describe(const QWidget& widget) {
    const QString name = widget.objectName().isEmpty()
                             ? QString::fromLatin1(widget.metaObject()->className())
                             : widget.objectName();
    const QWidget* parent = widget.parentWidget();
    return parent != nullptr && parent != widget.window()
               ? Describe(*parent) + '/' + name
               : widget.window()->objectName() + '/' + name;
}

// Adds every control below `accessible` that a reader is shown (its state not
// invisible) and that has no name to `unnamed`; counts those seen.
void CollectUnnamed(QAccessibleInterface* accessible, const QWidget& window, QStringList& unnamed,
                    int& seen) {
    auto* widget = qobject_cast<QWidget*>(accessible->object());
    if (widget != nullptr && widget->window() == &window && !accessible->state().invisible) {
        ++seen;
        if (Announced(*widget).trimmed().isEmpty()) {
            unnamed << Describe(*widget);
        }
    }
    for (int i = 0; i < accessible->childCount(); ++i) {
        if (QAccessibleInterface* child = accessible->child(i)) {
            CollectUnnamed(child, window, unnamed, seen);
        }
    }
}

// An editable list's own text field, where the focus goes.
QLineEdit& Field(QComboBox& combo) {
    Q_ASSERT(combo.lineEdit() != nullptr);
    return *combo.lineEdit();
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void everyControlShownHasAName();
    void controlsAreNamedByTheirCaptions();
    void valueLabelsAnnounceCaptionWithTheValue();
};

void AccessibilityTest::initTestCase() {
    // The window ends the program itself; Qt must not quit the test on close.
    QApplication::setQuitOnLastWindowClosed(false);
}

void AccessibilityTest::everyControlShownHasAName() {
    AllWindows all;
    all.OpenEveryWindow();
    QStringList unnamed;
    for (QWidget* window : all.Windows()) {
        QVERIFY(window != nullptr && window->isVisible());
        int seen = 0;
        CollectUnnamed(Accessible(window), *window, unnamed, seen);
        QVERIFY2(seen > 3, qPrintable(window->objectName()));
        // Whatever takes the focus is met by a reader, in the tree or not.
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (widget->window() == window && widget->isVisibleTo(window) &&
                widget->focusPolicy() != Qt::NoFocus && Announced(*widget).trimmed().isEmpty()) {
                unnamed << Describe(*widget);
            }
        }
    }
    unnamed.removeDuplicates();
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

void AccessibilityTest::controlsAreNamedByTheirCaptions() {
    AllWindows all;
    all.OpenEveryWindow();
    FormWindow& form = all.form();
    auto& combo1 = form.control<QComboBox>("Combo1");
    // Lists that hold a text are still announced by their captions.
    QTest::keyClick(&Field(combo1), Qt::Key_Down);
    QCOMPARE(combo1.currentText(), QStringLiteral("EGLL_DEL"));
    struct Expected {
        QWidget* window;
        const char* control;
        QString name;
    };
    FormWindow* form2 = all.window("Form2");
    FormWindow* form4 = all.window("Form4");
    FormWindow* form5 = all.window("Form5");
    FormWindow* form6 = all.window("Form6");
    const QList<Expected> expected = {
        {&form, "Command1", "Launch"},
        {&form, "Command2", "Exit"},
        {&form, "Command3", "User Preferences"},
        {&form, "selected", "Selected Position"},
        {&form, "comfreq", "Selected Frequency"},
        {&form, "accname", "Demo"},
        {&form, "wwwaddy", "www.example.net"},
        {&form, "Combo1", "Heathrow"},
        {&form, "Combo2", "Gatwick"},
        {&form, "Combo7", "Liverpool"},
        {form2, "Command1", "Go"},
        {form2, "rwy", "RWY in Use Info (Unless Center)"},
        {form2, "addinfo", "Online Until (if known)"},
        {form2, "Check1", "Show Auto ATIS"},
        {form4, "rwip", "RW IP"},
        {form4, "serverip", "Server IP"},
        {form4, "userName", "Name"},
        {form4, "rdvdir", "Rdv Directory"},
        {form4, "rwdir", "RW Directory"},
        {form4, "windowsdir", "WIN Directory"},
        {form4, "datebox", "Date Format"},
        {form4, "Command1", "OK"},
        {form4, "Command2", "Cancel"},
        {form5, "Drive1", "Drive"},
        {form5, "Dir1", "Folder"},
        {form5, "Command1", "OK"},
        {form6, "Drive1", "Drive"},
        {form6, "Dir1", "Folder"},
        {form6, "Command2", "Cancel"},
    };
    for (const Expected& control : expected) {
        auto* widget = control.window->findChild<QWidget*>(QString::fromLatin1(control.control));
        const QByteArray where = control.window->objectName().toLatin1() + '/' + control.control;
        QVERIFY2(widget != nullptr, where.constData());
        QVERIFY2(!Accessible(widget)->state().invisible, where.constData());
        QVERIFY2(Announced(*widget) == control.name,
                 (where + ": " + Announced(*widget).toUtf8()).constData());
        // An editable list's text field is what holds the focus.
        if (auto* combo = qobject_cast<QComboBox*>(widget);
            combo != nullptr && combo->isEditable()) {
            QCOMPARE(Name(&Field(*combo)), control.name);
        }
    }

    // The two Browse buttons tell which folder each is for; the folder lists,
    // where the focus starts, what to look for.
    QCOMPARE(Accessible(&all.Button(*form4, "Command3"))->text(QAccessible::Description),
             QStringLiteral("Rdv Directory"));
    QCOMPARE(Accessible(&all.Button(*form4, "Command4"))->text(QAccessible::Description),
             QStringLiteral("RW Directory"));
    QCOMPARE(Accessible(&form5->control("Dir1"))->text(QAccessible::Description),
             QStringLiteral("Please Browse to the directory that contains Radavue"));
    QCOMPARE(Accessible(&form6->control("Dir1"))->text(QAccessible::Description),
             QStringLiteral("Please Browse to the directory that contains Roger Wilco"));
    // The caption labels point at their fields.
    const QList<QPair<QAccessibleInterface*, QAccessible::Relation>> labels =
        Accessible(&form4->control("userName"))->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->object()->objectName(), QStringLiteral("Label3"));

    // The pictures are branding only: shown, yet passed over.
    for (PictureBox* picture :
         {&form.control<PictureBox>("Image1"), &form.control<PictureBox>("Image2")}) {
        QVERIFY(picture->isVisible() && !picture->pixmap().isNull());
        QVERIFY(Accessible(picture)->state().invisible);
    }

    // A group's list follows its frame's caption when the catalogue changes.
    PositionCatalogue catalogue;
    catalogue.group(1).name = "Heathrow North";
    catalogue.group(1).entries = {"EGLL_N_TWR"};
    ShowPositionCatalogue(catalogue, form);
    QCOMPARE(Announced(combo1), QStringLiteral("Heathrow North"));
    QCOMPARE(combo1.accessibleName(), QStringLiteral("Heathrow North"));
    QCOMPARE(Name(&Field(combo1)), QStringLiteral("Heathrow North"));
}

void AccessibilityTest::valueLabelsAnnounceCaptionWithTheValue() {
    AllWindows all;
    FormWindow& form = all.form();
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QAccessibleInterface* selected = Accessible(&form.control("selected"));
    QAccessibleInterface* frequency = Accessible(&form.control("comfreq"));
    QCOMPARE(selected->text(QAccessible::Value), QString());

    // A pick with the keyboard; the labels follow at the next tick.
    QLineEdit& field = Field(form.control<QComboBox>("Combo1"));
    field.setFocus();
    QTest::keyClick(&field, Qt::Key_Down);
    QSignalSpy tick(form.findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout);
    QVERIFY(tick.wait(1000));
    QCOMPARE(form.control<QLabel>("selected").text(), QStringLiteral("EGLL_DEL"));

    QCOMPARE(selected->text(QAccessible::Name), QStringLiteral("Selected Position"));
    QCOMPARE(selected->text(QAccessible::Value), QStringLiteral("EGLL_DEL"));
    QCOMPARE(selected->text(QAccessible::Description), QStringLiteral("EGLL_DEL"));
    QCOMPARE(frequency->text(QAccessible::Name), QStringLiteral("Selected Frequency"));
    QCOMPARE(frequency->text(QAccessible::Value), QStringLiteral("118.325"));
    const QList<QPair<QAccessibleInterface*, QAccessible::Relation>> labels =
        selected->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->object(), form.findChild<QObject*>(QStringLiteral("Label1")));
}

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
