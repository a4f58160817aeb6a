#include "app/form1.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QImageReader>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "app/form_kit.h"
#include "app/startup.h"
#include "launch/form2.h"
#include "launch/radar_settings.h"
#include "prefs/form4.h"
#include "profile/ini.h"
#include "profile/paths.h"

namespace launcher {

using kit::MakeButton;
using kit::MakeLabel;
using kit::Twips;

namespace {

constexpr int kClientWidthTwips = 9750;
constexpr int kClientHeightTwips = 8760;

QFont WebAddressFont() {
    QFont font({"Verdana", "DejaVu Sans", "Bitstream Vera Sans", "Tahoma", "Arial", "sans-serif"},
               12, QFont::Bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The picture file at `path`, relative to the working folder, as it stands.
// Only BMP, PNG, JPEG and GIF, which Qt reads out of the box, are taken, told
// by the file's content rather than its name, so whether a picture shows does
// not hang on which further image plugins a machine has. An empty path, a
// missing file, another format or a damaged picture all give no picture;
// start-up goes on without it.
QPixmap LoadPicture(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    static const QList<QByteArray> kFormats{"bmp", "png", "jpeg", "gif"};
    if (!kFormats.contains(reader.format())) {
        return {};
    }
    return QPixmap::fromImage(reader.read());
}

void SetTextColour(QWidget& widget, QRgb rgb) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, QColor(rgb));
    widget.setPalette(palette);
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QLabel(parent) {
    setScaledContents(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void PictureBox::setPicture(const QPixmap& picture) {
    if (picture.isNull()) {
        clear();
        return;
    }
    setPixmap(picture);
    resize(picture.deviceIndependentSize().toSize());
}

// The group fields, as the selection sees them.
class Form1::ComboTexts final : public GroupTexts {
public:
    explicit ComboTexts(const Form1& form) : form_(form) {}

    std::string Text(int group) const override {
        return form_.combo(group).currentText().toStdString();
    }
    void SetText(int group, const std::string& text) override {
        QComboBox& combo = form_.combo(group);
        combo.setCurrentIndex(-1);
        combo.setEditText(QString::fromStdString(text));
    }

private:
    const Form1& form_;
};

namespace {

void ShowText(QLabel& label, const std::string& text) {
    const QString caption = QString::fromStdString(text);
    if (label.text() != caption) {
        label.setText(caption);
    }
}

}  // namespace

Form1::Form1(OutsideWorld world, QWidget* parent) : QWidget(parent), world_(world) {
    BuildControls();
    Form_Load();
}

Form1::~Form1() = default;

void Form1::BuildControls() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Radavue Launcher "));
    setFont(kit::ClassicFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(kClientWidthTwips / 15, kClientHeightTwips / 15);

    // Pictures first, so every later control stacks above them.
    image2_ = new PictureBox(this);
    image2_->setObjectName(QStringLiteral("Image2"));
    image2_->setGeometry(Twips(0, 0, 1935, 1575));
    image1_ = new PictureBox(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setGeometry(Twips(0, 120, 9735, 1335));
    // Branding only: the title and web-address lines carry its words.
    kit::MarkDecorative(*image2_);
    kit::MarkDecorative(*image1_);

    wwwaddy_ =
        MakeLabel(this, "wwwaddy", QStringLiteral("www.example.com"), Twips(0, 1560, 9615, 255));
    wwwaddy_->setFont(WebAddressFont());
    wwwaddy_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    SetTextColour(*wwwaddy_, qRgb(0x00, 0x00, 0xC0));

    command3_ = MakeButton(this, "Command3", QStringLiteral("User Preferences"),
                           Twips(2460, 1905, 1575, 375));
    command1_ =
        MakeButton(this, "Command1", QStringLiteral("Launch"), Twips(4140, 1905, 1575, 375));
    command2_ = MakeButton(this, "Command2", QStringLiteral("Exit"), Twips(5820, 1905, 1575, 375));

    label1_ =
        MakeLabel(this, "Label1", QStringLiteral("Selected Position"), Twips(2040, 2400, 855, 375));
    selected_ = MakeLabel(this, "selected", QString(), Twips(3000, 2520, 1935, 375));
    SetTextColour(*selected_, qRgb(0xFF, 0x00, 0x00));
    label2_ = MakeLabel(this, "Label2", QStringLiteral("Selected Frequency"),
                        Twips(4560, 2400, 855, 495));
    comfreq_ = MakeLabel(this, "comfreq", QString(), Twips(5760, 2520, 1695, 255));
    SetTextColour(*comfreq_, qRgb(0xFF, 0x00, 0xFF));
    kit::SetCaption(*label1_, *selected_);
    kit::SetCaption(*label2_, *comfreq_);
    accname_ = MakeLabel(this, "accname", QString(), Twips(2400, 3000, 5055, 315));
    accname_->setFont(kit::ClassicFont(12, QFont::Bold));
    accname_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    SetTextColour(*accname_, qRgb(0x00, 0x00, 0xFF));

    for (int n = 1; n <= kGroupCount; ++n) {
        const int column = (n - 1) % 5;
        const int row = (n - 1) / 5;
        auto* frame = new QGroupBox(QStringLiteral("Frame1"), this);
        frame->setObjectName(QStringLiteral("Frame%1").arg(n));
        frame->setGeometry(Twips(360 + 1800 * column, 3480 + 840 * row, 1725, 810));

        const int comboTop = (n == 4 || n == 11) ? 360 : 330;
        auto* combo = kit::MakeEditableChoice(frame, QStringLiteral("Combo%1").arg(n),
                                              Twips(225, comboTop, 1305, 315));
        connect(combo, &QComboBox::activated, this, [this, n] { Combo_Click(n); });

        frames_[n - 1] = frame;
        combos_[n - 1] = combo;
    }

    connect(command1_, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(command3_, &QPushButton::clicked, this, &Form1::Command3_Click);

    setTabOrder(command1_, command2_);
    setTabOrder(command2_, command3_);
    setTabOrder(command3_, combos_.front());
    for (int n = 1; n < kGroupCount; ++n) {
        setTabOrder(combos_[n - 1], combos_[n]);
    }
    command1_->setFocus();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, &Form1::Timer1_Timer);
}

void Form1::Form_Load() {
    const std::string folder = world_.location.ProgramFolder();
    comboTexts_ = std::make_unique<ComboTexts>(*this);
    selection_ = std::make_unique<PositionSelection>(*comboTexts_, folder);
    timer1_->start();

    const std::string settingsFile = InFolder(folder, kSettingsFileName);
    form4_ = std::make_unique<Form4>(settingsFile, world_.volumes);
    form4_->LoadPreferences();
    // The Windows folder just loaded; an empty one writes nothing.
    WriteAtisFileName(form4_->preferences().windowsdir, folder, form4_->preferences().rdvdir);

    // The last confirmed answers replace what the dialog's own load put there.
    LoadForm2();
    form2_->check1().setChecked(AutoAtisTicked(ReadIni("MAIN", "autoatis", settingsFile)));
    form2_->rwy().setText(QString::fromStdString(ReadIni("MAIN", "RWY", settingsFile)));
    form2_->addinfo().setText(QString::fromStdString(ReadIni("MAIN", "ADDITIONAL", settingsFile)));

    const std::string configFile = InFolder(folder, "config.ini");
    if (const std::optional<int> left =
            LogoLeftPixels(ReadIni("GENERAL", "LOGOLEFT", configFile))) {
        image1_->move(*left, image1_->y());
    }
    image1_->setPicture(LoadPicture(ReadIni("GENERAL", "LOGO", configFile)));
    image2_->setPicture(LoadPicture(ReadIni("GENERAL", "BACK", configFile)));
    accname_->setText(QString::fromStdString(ReadIni("GENERAL", "TITLE", configFile)));
    wwwaddy_->setText(QString::fromStdString(ReadIni("GENERAL", "WEBSITE", configFile)));
    setWindowTitle(QString::fromStdString(
        ComposeCaption(windowTitle().toStdString(), accname_->text().toStdString())));

    // Last, because it sets the window's height.
    ShowPositionCatalogue(LoadPositionCatalogue(configFile), *this);
}

void Form1::Form_Unload() {
    EndProgram();
}

void Form1::LoadForm2() {
    form2_ = std::make_unique<Form2>(FinalSetupWorld{
        world_.location.ProgramFolder(),
        [this] { return selected_->text().toStdString(); },
        *form4_,
        world_.clock,
        world_.starter,
        [this](const std::string& message) { world_.errors.ReportError(message); },
        [this] { EndProgram(); },
    });
    // The close box drops the dialog. It is still inside its own handler, so
    // it is deleted later rather than here; the next Launch loads a new one.
    Form2* const dialog = form2_.get();
    connect(dialog, &Form2::unloaded, this, [this, dialog] {
        if (form2_.get() == dialog) {
            form2_.release()->deleteLater();
        }
    });
}

void Form1::Command1_Click() {
    if (form2_ == nullptr) {
        LoadForm2();
    }
    form2_->ShowModeless();
    const std::string folder = world_.location.ProgramFolder();
    ShowText(*comfreq_, LookupFrequency(folder, selected_->text().toStdString()));
    const Preferences& preferences = form4_->preferences();
    WriteRadarSettings(preferences.windowsdir, selected_->text().toStdString(),
                       comfreq_->text().toStdString(), preferences.serverip);
}

void Form1::Command2_Click() {
    EndProgram();
}

void Form1::Command3_Click() {
    form4_->ShowModeless();
}

void Form1::Combo_Click(int n) {
    selection_->ClearOtherGroups(n);
    emit groupPicked(n);
}

void Form1::Timer1_Timer() {
    selection_->PollSelection();
    ShowText(*selected_, selection_->selectedPosition());
    ShowText(*comfreq_, selection_->selectedFrequency());
}

void Form1::EndProgram() {
    world_.ender.EndProgram();
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void Form1::setOuterHeight(int pixels) {
    outerHeight_ = pixels;
    frameSettled_ = false;
    ApplyOuterHeight();
}

void Form1::ApplyOuterHeight() {
    if (outerHeight_ <= 0) {
        return;
    }
    bool known = false;
    const QMargins frame = kit::FrameMargins(*this, &known);
    const int client = outerHeight_ - frame.top() - frame.bottom();
    resize(width(), std::max(client, 1));
    frameSettled_ = known;
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        ApplyOuterHeight();
        kit::CentreOnScreen(*this);
    }
}

bool Form1::event(QEvent* event) {
    const bool handled = QWidget::event(event);
    switch (event->type()) {
        // Window managers decorate a window some time after it is shown; the
        // client moves into the new frame and is activated.
        case QEvent::Move:
        case QEvent::WindowActivate:
            if (!frameSettled_) {
                ApplyOuterHeight();
            }
            break;
        default:
            break;
    }
    return handled;
}

void ShowPositionCatalogue(const PositionCatalogue& catalogue, Form1& form) {
    for (int n = 1; n <= kGroupCount; ++n) {
        form.frame(n).hide();
    }
    for (const PositionGroup& group : catalogue.groups) {
        if (group.name.empty()) {
            continue;
        }
        QGroupBox& frame = form.frame(group.number);
        QComboBox& combo = form.combo(group.number);
        frame.setVisible(true);
        combo.setVisible(true);
        frame.setTitle(QString::fromStdString(group.name));
        kit::SetAccessibleName(combo, frame.title());
        // An editable list selects its first item when filled; the pick and
        // the text stay the user's.
        const int index = combo.currentIndex();
        const QString text = combo.currentText();
        for (const std::string& entry : group.entries) {
            combo.addItem(QString::fromStdString(entry));
        }
        combo.setCurrentIndex(index);
        combo.setEditText(text);
    }
    form.setOuterHeight(CatalogueWindowHeight(catalogue) / 15);
}

}  // namespace launcher
