// Each window built from its form table, control by control, as designed:
// window or dialog, widget class, container, caption, geometry, font, colour,
// alignment, focus chain; and what it reports. Runs at display scale 1 and
// 1.5: geometry is in device-independent pixels, so every expected value holds
// at both.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <utility>

#include "app/form1_table.h"
#include "launch/form2_table.h"
#include "prefs/form_tables.h"
#include "qt/folder_list.h"
#include "qt/form_kit.h"
#include "qt/form_window.h"

using namespace launcher;
using namespace launcher::qt;

namespace {

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

const FormTable* TableNamed(const QString& name) {
    for (const FormTable* table :
         {&Form1Table(), &Form2Table(), &Form4Table(), &Form5Table(), &Form6Table()}) {
        if (ToQt(table->name) == name) {
            return table;
        }
    }
    return nullptr;
}

bool IsKind(const QWidget& widget, ControlKind kind) {
    switch (kind) {
        case ControlKind::kFrame:
            return qobject_cast<const QGroupBox*>(&widget) != nullptr;
        case ControlKind::kLabel:
        case ControlKind::kPicture:
            return qobject_cast<const QLabel*>(&widget) != nullptr;
        case ControlKind::kTextBox:
            return qobject_cast<const QLineEdit*>(&widget) != nullptr;
        case ControlKind::kEditableList: {
            const auto* combo = qobject_cast<const QComboBox*>(&widget);
            return combo != nullptr && combo->isEditable();
        }
        case ControlKind::kDriveList: {
            const auto* combo = qobject_cast<const QComboBox*>(&widget);
            return combo != nullptr && !combo->isEditable();
        }
        case ControlKind::kCheckBox:
            return qobject_cast<const QCheckBox*>(&widget) != nullptr;
        case ControlKind::kButton: {
            const auto* button = qobject_cast<const QPushButton*>(&widget);
            return button != nullptr && !button->isDefault() && !button->autoDefault();
        }
        case ControlKind::kFolderList:
            return qobject_cast<const FolderList*>(&widget) != nullptr;
    }
    return false;
}

// Notes each event a window reports.
class RecordingEvents final : public FormEvents {
public:
    QStringList log;

    void OnClick(std::string_view button) override { log << "click " + ToQt(std::string(button)); }
    void OnPick(std::string_view list) override { log << "pick " + ToQt(std::string(list)); }
    void OnTextChanged(std::string_view control, const std::string& text) override {
        log << "text " + ToQt(std::string(control)) + "=" + ToQt(text);
    }
    void OnTick(std::string_view timer) override { log << "tick " + ToQt(std::string(timer)); }
    void OnClose() override { log << QStringLiteral("close"); }
};

QString CaptionOf(const QWidget& widget) {
    if (const auto* frame = qobject_cast<const QGroupBox*>(&widget)) {
        return frame->title();
    }
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        return label->text();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
        return edit->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
        return combo->currentText();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
        return button->text();
    }
    return {};
}

}  // namespace

class FormTablesTest : public QObject {
    Q_OBJECT

private slots:
    void eachControlAsItsTableSays_data();
    void eachControlAsItsTableSays();
    void focusFollowsTheTabIndexes_data() { eachControlAsItsTableSays_data(); }
    void focusFollowsTheTabIndexes();
    void closeBoxAndTicksAreReported();
    void twipsRoundToTheNearestPixel();
    void titleBarsGetTheSmallIconSizes();
};

void FormTablesTest::eachControlAsItsTableSays_data() {
    QTest::addColumn<QString>("form");
    for (const char* name : {"Form1", "Form2", "Form4", "Form5", "Form6"}) {
        QTest::newRow(name) << QString::fromLatin1(name);
    }
}

void FormTablesTest::eachControlAsItsTableSays() {
    QFETCH(QString, form);
    const FormTable& table = *TableNamed(form);
    FormEvents ignored;
    FormWindow window(table, ignored);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.objectName(), form);
    // The main window stands alone; a dialog's closing never ends the program.
    const bool main = form == QLatin1String("Form1");
    QCOMPARE(window.windowType(), main ? Qt::Window : Qt::Dialog);
    QCOMPARE(window.testAttribute(Qt::WA_QuitOnClose), main);
    QCOMPARE(window.windowTitle(), ToQt(table.caption));
    QCOMPARE(window.size(), QSize(table.clientWidth / 15, table.clientHeight / 15));
    const QRgb background = table.background.value_or(0);
    if (table.background) {
        QCOMPARE(window.palette().color(QPalette::Window).rgb(), 0xFF000000 | background);
    }
    for (const TimerSpec& timer : table.timers) {
        const auto* qtTimer = window.findChild<QTimer*>(ToQt(timer.name));
        QVERIFY(qtTimer != nullptr);
        QCOMPARE(qtTimer->interval(), timer.intervalMs);
        QVERIFY(qtTimer->isActive());  // from the window's making on
    }

    for (const ControlSpec& design : table.controls) {
        const QString name = ToQt(design.name);
        const auto* widget = window.findChild<QWidget*>(name);
        QVERIFY2(widget != nullptr, qPrintable(name));
        QVERIFY2(IsKind(*widget, design.kind), qPrintable(name));
        const QWidget* container =
            design.container.empty() ? &window : &window.control(design.container);
        QCOMPARE(widget->parentWidget(), container);

        QRect expected(design.left / 15, design.top / 15, design.width / 15, design.height / 15);
        if (name == QStringLiteral("Label1") && table.timers.size() == 1 && !table.background) {
            // A browse dialog's prompt may grow to the right edge in a wider face.
            QVERIFY(widget->width() >= expected.width());
            expected.setWidth(widget->width());
        }
        if (table.name == "Form1" && name == QStringLiteral("selected")) {
            // Ends where the "Selected Frequency" caption begins.
            expected.setWidth(104);
        }
        QCOMPARE(widget->geometry(), expected);
        if (design.kind != ControlKind::kPicture) {
            QCOMPARE(CaptionOf(*widget), ToQt(design.caption));
        }

        const QFont font = widget->font();
        QCOMPARE(font.families().value(0), ToQt(std::string(design.font.face)));
        QCOMPARE(font.bold(), design.font.bold);
        if (!design.captionOf.empty()) {
            // A caption may step down to fit a wider face, never up.
            QVERIFY(font.pointSizeF() <= design.font.points);
        } else {
            QCOMPARE(font.pointSizeF(), qreal(design.font.points));
        }
        if (design.textColour) {
            QCOMPARE(widget->palette().color(QPalette::WindowText).rgb(),
                     0xFF000000 | *design.textColour);
        }
        if (const auto* label = qobject_cast<const QLabel*>(widget);
            label != nullptr && design.kind == ControlKind::kLabel) {
            QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask,
                     design.align == TextAlign::kCentre ? Qt::AlignHCenter : Qt::AlignLeft);
        }
        if (const auto* combo = qobject_cast<const QComboBox*>(widget)) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i) {
                items << combo->itemText(i);
            }
            QStringList expectedItems;
            for (const std::string& item : design.items) {
                expectedItems << ToQt(item);
            }
            QCOMPARE(items, expectedItems);
            QCOMPARE(combo->currentIndex(), -1);
        }
    }
}

void FormTablesTest::focusFollowsTheTabIndexes() {
    QFETCH(QString, form);
    const FormTable& table = *TableNamed(form);
    FormEvents ignored;
    FormWindow window(table, ignored);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    const std::vector<const ControlSpec*> order = table.FocusOrder();
    QStringList expected;
    for (const ControlSpec* design : order) {
        expected << ToQt(design->name);
    }
    // Tab walks the controls in tab order from the first one, where the
    // focus starts.
    QStringList walked;
    for (std::size_t i = 0; i < order.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        while (focus != nullptr && !expected.contains(focus->objectName())) {
            focus = focus->parentWidget();  // an editable list's own text field
        }
        QVERIFY(focus != nullptr);
        walked << focus->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(walked, expected);
}

// What the presenter sets, typing, picks and clicks are the FormView
// contract's (tests/contract); here the close box and the timers.
void FormTablesTest::closeBoxAndTicksAreReported() {
    RecordingEvents events;
    FormWindow window(Form4Table(), events);
    window.show();
    QVERIFY(window.close());
    QCOMPARE(events.log, QStringList{"close"});

    events.log.clear();
    FormWindow browse(Form5Table(), events);
    QSignalSpy tick(browse.findChild<QTimer*>(QStringLiteral("Timer1")), &QTimer::timeout);
    QVERIFY(tick.wait(5000));
    QCOMPARE(events.log.first(), QStringLiteral("tick Timer1"));
}

void FormTablesTest::twipsRoundToTheNearestPixel() {
    FormEvents ignored;
    FormWindow window(Form1Table(), ignored);
    const QWidget& banner = window.control("Image1");
    for (const auto& [twips, pixels] : {std::pair{22, 1}, {23, 2}, {-23, -2}, {1500, 100}}) {
        window.SetLeft("Image1", twips);
        QCOMPARE(banner.x(), pixels);
    }
}

// The executable's icon holds 16, 32, 48 and 256 pixels; the 256 one is for
// Windows' Explorer and only a very dense screen's task bar wants it.
void FormTablesTest::titleBarsGetTheSmallIconSizes() {
    const QString file = QStringLiteral(LAUNCHER_ICON_FILE);
    using Sizes = QList<QSize>;
    QCOMPARE(kit::TitleBarIcon(file, 1).availableSizes(), (Sizes{{16, 16}, {32, 32}, {48, 48}}));
    QCOMPARE(kit::TitleBarIcon(file, 0.5).availableSizes(), (Sizes{{16, 16}, {32, 32}}));
    QCOMPARE(kit::TitleBarIcon(file, 2).availableSizes(),
             (Sizes{{16, 16}, {32, 32}, {48, 48}, {256, 256}}));
}

QTEST_MAIN(FormTablesTest)
#include "tst_form_tables.moc"
