// The main window with all thirty groups in use, drawn at the display scale
// CTest sets in QT_SCALE_FACTOR (1, 1.25, 1.5 and 2). Every control keeps its
// twips position in device-independent pixels, and the drawn picture puts
// each control where that position lands in device pixels.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/form1_table.h"
#include "tests/support/qt_launcher.h"
#include "tests/support/scratch_program.h"

using namespace launcher;
using namespace launcher::qt;

namespace {

// Twips to device-independent pixels, as the window lays itself out.
QRect Twips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

QByteArray AllGroupsConfig() {
    QByteArray config = "[GENERAL]\nTITLE=Scale\n\n[combo names]\n";
    for (int n = 1; n <= kGroupCount; ++n) {
        config += QByteArray::number(n) + "=Group " + QByteArray::number(n) + "\n";
    }
    for (int n = 1; n <= kGroupCount; ++n) {
        config += "\n[" + QByteArray::number(n) + " items]\n1=POS_" + QByteArray::number(n) + "\n";
    }
    return config;
}

QRect FrameTwips(int n) {
    return Twips(360 + 1800 * ((n - 1) % 5), 3480 + 840 * ((n - 1) / 5), 1725, 810);
}

QRect ComboTwips(int n) {
    return Twips(225, n == 4 || n == 11 ? 360 : 330, 1305, 315);
}

}  // namespace

class DisplayScaleTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutInDeviceIndependentPixels();
    void drawnPictureFollowsTheLayout();

private:
    FormWindow& form() const { return launcher_->form1(); }
    QComboBox& combo(int n) const { return form().control<QComboBox>(ComboName(n)); }
    QGroupBox& frame(int n) const { return form().control<QGroupBox>(FrameName(n)); }

    std::unique_ptr<testing::ScratchProgram> program_;
    std::unique_ptr<testing::QtLauncher> launcher_;
    qreal scale_ = 1;
};

void DisplayScaleTest::init() {
    scale_ = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    program_ = std::make_unique<testing::ScratchProgram>();
    program_->write(QStringLiteral("config.ini"), AllGroupsConfig());
    launcher_ = std::make_unique<testing::QtLauncher>(program_->world());
    form().show();
    QVERIFY(QTest::qWaitForWindowExposed(&form()));
}

void DisplayScaleTest::cleanup() {
    launcher_.reset();
    program_.reset();
}

void DisplayScaleTest::layoutInDeviceIndependentPixels() {
    QCOMPARE(form().devicePixelRatioF(), scale_);
    // The designed width; the height follows the rows in use (tst_form1).
    QCOMPARE(form().width(), 650);

    const std::pair<const char*, QRect> fixed[] = {
        {"Image2", Twips(0, 0, 1935, 1575)},        {"wwwaddy", Twips(0, 1560, 9615, 255)},
        {"Command3", Twips(2460, 1905, 1575, 375)}, {"Command1", Twips(4140, 1905, 1575, 375)},
        {"Command2", Twips(5820, 1905, 1575, 375)}, {"Label1", Twips(2040, 2400, 855, 375)},
        {"selected", Twips(3000, 2520, 1560, 375)}, {"Label2", Twips(4560, 2400, 855, 495)},
        {"comfreq", Twips(5760, 2520, 1695, 255)},  {"accname", Twips(2400, 3000, 5055, 315)},
    };
    for (const auto& [name, expected] : fixed) {
        const auto* control = form().findChild<QWidget*>(QString::fromLatin1(name));
        QVERIFY2(control != nullptr, name);
        QCOMPARE(control->geometry(), expected);
        // Hit-testing agrees with the drawn layout, as clicks need it to; the
        // banner lies over the corner picture by design.
        if (control->objectName() != QLatin1String("Image2")) {
            QCOMPARE(form().childAt(control->geometry().center()), control);
        }
    }
    for (int n = 1; n <= kGroupCount; ++n) {
        QVERIFY(frame(n).isVisible());
        QCOMPARE(frame(n).geometry(), FrameTwips(n));
        QCOMPARE(combo(n).geometry(), ComboTwips(n));
    }
}

void DisplayScaleTest::drawnPictureFollowsTheLayout() {
    const QImage picture = form().grab().toImage();
    QCOMPARE(picture.size(),
             QSize(qRound(form().width() * scale_), qRound(form().height() * scale_)));
    const auto pixelAt = [&](QPoint independent) {
        return QColor(picture.pixel(qFloor(independent.x() * scale_) + 1,
                                    qFloor(independent.y() * scale_) + 1));
    };
    const QColor background(0xC0, 0xC0, 0xC0);
    for (int n = 1; n <= kGroupCount; ++n) {
        const QRect frame = FrameTwips(n);
        const QRect field = ComboTwips(n).translated(frame.topLeft());
        // The empty field's inside, away from its border and its arrow, is
        // drawn in the list's base colour; the gap to the next column is
        // the window's own grey.
        const QColor base = combo(n).lineEdit()->palette().color(QPalette::Base);
        QCOMPARE(pixelAt(field.topLeft() + QPoint(6, field.height() / 2)), base);
        QCOMPARE(pixelAt(QPoint(frame.right() + 2, frame.center().y())), background);
    }
    // Between the button row and the labels below it.
    QCOMPARE(pixelAt(QPoint(120, 155)), background);
}

QTEST_MAIN(DisplayScaleTest)
#include "tst_display_scale.moc"
