#include "qt/form4.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <iterator>
#include <utility>

#include "qt/form_kit.h"
#include "qt/browse_dialog.h"

namespace launcher {

using kit::MakeButton;
using kit::MakeLabel;
using kit::Twips;

namespace {

constexpr int kClientWidthTwips = 6690;
constexpr int kClientHeightTwips = 4590;

QLineEdit* MakeTextBox(QWidget* parent, const char* name, QRect geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    return edit;
}

// Replaces the list of `combo`; the text in its field stays the caller's
// business.
void SetList(QComboBox& combo, const std::vector<std::string>& entries) {
    combo.clear();
    for (const std::string& entry : entries) {
        combo.addItem(QString::fromStdString(entry));
    }
    combo.setCurrentIndex(-1);
}

}  // namespace

Form4::Form4(std::string settingsFile, const VolumeList& volumes, QWidget* parent)
    : QWidget(parent, Qt::Dialog), settingsFile_(std::move(settingsFile)), volumes_(volumes) {
    BuildControls();
    Form_Load();
}

Form4::~Form4() = default;

void Form4::BuildControls() {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Preferences"));
    setFont(kit::ClassicFont());
    resize(kClientWidthTwips / 15, kClientHeightTwips / 15);

    // Created in tab-index order, labels included, which also stacks each
    // field above the label that overlaps its left edge.
    rwip_ = kit::MakeEditableChoice(this, "rwip", Twips(1200, 240, 2055, 315));
    label1_ = MakeLabel(this, "Label1", QStringLiteral("RW IP"), Twips(360, 240, 735, 375));
    command1_ = MakeButton(this, "Command1", QStringLiteral("OK"), Twips(1230, 3780, 855, 495));
    command2_ = MakeButton(this, "Command2", QStringLiteral("Cancel"), Twips(2775, 3750, 855, 495));
    serverip_ = kit::MakeEditableChoice(this, "serverip", Twips(1200, 720, 2055, 315));
    label2_ = MakeLabel(this, "Label2", QStringLiteral("Server IP"), Twips(360, 720, 735, 375));
    label3_ = MakeLabel(this, "Label3", QStringLiteral("Name"), Twips(360, 1200, 735, 375));
    userName_ = MakeTextBox(this, "userName", Twips(1200, 1200, 2055, 285));
    command3_ = MakeButton(this, "Command3", QStringLiteral("Browse"), Twips(5520, 1680, 855, 375));
    rdvdir_ = MakeTextBox(this, "rdvdir", Twips(1200, 1680, 4215, 285));
    label4_ =
        MakeLabel(this, "Label4", QStringLiteral("Rdv Directory"), Twips(120, 1680, 1095, 255));
    rwdir_ = MakeTextBox(this, "rwdir", Twips(1200, 2160, 4215, 285));
    command4_ = MakeButton(this, "Command4", QStringLiteral("Browse"), Twips(5520, 2160, 855, 375));
    label5_ =
        MakeLabel(this, "Label5", QStringLiteral("RW Directory"), Twips(120, 2160, 1095, 255));
    label6_ = MakeLabel(this, "Label6", QStringLiteral("Date Format"), Twips(225, 3105, 975, 375));
    datebox_ = kit::MakeEditableChoice(this, "datebox", Twips(1305, 3090, 1335, 315));
    label7_ =
        MakeLabel(this, "Label7", QStringLiteral("WIN Directory"), Twips(150, 2595, 1350, 255));
    windowsdir_ = MakeTextBox(this, "windowsdir", Twips(1200, 2595, 4215, 285));

    datebox_->addItems({QStringLiteral("UK"), QStringLiteral("USA")});

    kit::SetCaption(*label1_, *rwip_);
    kit::SetCaption(*label2_, *serverip_);
    kit::SetCaption(*label3_, *userName_);
    kit::SetCaption(*label4_, *rdvdir_);
    kit::SetCaption(*label5_, *rwdir_);
    kit::SetCaption(*label7_, *windowsdir_);
    kit::SetCaption(*label6_, *datebox_);
    // Two buttons read "Browse": each tells which folder it browses for.
    command3_->setAccessibleDescription(label4_->text());
    command4_->setAccessibleDescription(label5_->text());

    QWidget* const chain[] = {rwip_,   command1_, command2_, serverip_, userName_,  command3_,
                              rdvdir_, rwdir_,    command4_, datebox_,  windowsdir_};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
    rwip_->setFocus();

    Bind(*rwip_->lineEdit(), &Preferences::rwip);
    Bind(*serverip_->lineEdit(), &Preferences::serverip);
    Bind(*userName_, &Preferences::userName);
    Bind(*rdvdir_, &Preferences::rdvdir);
    Bind(*rwdir_, &Preferences::rwdir);
    Bind(*windowsdir_, &Preferences::windowsdir);
    Bind(*datebox_->lineEdit(), &Preferences::datebox);

    connect(command1_, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &Form4::Command2_Click);
    connect(command3_, &QPushButton::clicked, this, &Form4::Command3_Click);
    connect(command4_, &QPushButton::clicked, this, &Form4::Command4_Click);
}

void Form4::Bind(QLineEdit& edit, std::string Preferences::*field) {
    bindings_.emplace_back(&edit, field);
    // textChanged rather than textEdited: a pick from a list changes the text
    // too, and must reach the record as typing does.
    connect(&edit, &QLineEdit::textChanged, this, [this, field](const QString& text) {
        if (!showingFields_) {
            preferences_.*field = text.toStdString();
        }
    });
}

void Form4::ShowFields() {
    showingFields_ = true;
    for (const auto& [edit, field] : bindings_) {
        const QString text = QString::fromStdString(preferences_.*field);
        // Only a changed control is set, so the others keep cursor and undo.
        if (edit->text() != text) {
            edit->setText(text);
        }
    }
    showingFields_ = false;
}

void Form4::SetField(std::string Preferences::*field, const QString& value) {
    preferences_.*field = value.toStdString();
    ShowFields();
}

void Form4::Form_Load() {
    LoadServerLists(preferences_, settingsFile_);
    // Filling an editable list selects its first entry and so replaces the
    // field's text; the record keeps the text and is shown again after.
    showingFields_ = true;
    SetList(*rwip_, preferences_.rwservers);
    SetList(*serverip_, preferences_.rdvservers);
    datebox_->setCurrentIndex(-1);
    showingFields_ = false;
    ShowFields();
}

void Form4::LoadPreferences() {
    launcher::LoadPreferences(preferences_, settingsFile_);
    ShowFields();
}

void Form4::ShowModeless() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

QPushButton& Form4::command(int n) const {
    switch (n) {
        case 1:
            return *command1_;
        case 2:
            return *command2_;
        case 3:
            return *command3_;
        default:
            return *command4_;
    }
}

void Form4::Command1_Click() {
    SavePreferences(preferences_, settingsFile_);
    hide();
}

void Form4::Command2_Click() {
    hide();
}

void Form4::Command3_Click() {
    if (form5_ == nullptr) {
        form5_ = new Form5(volumes_, this);
        connect(form5_, &BrowseDialog::folderChosen, this,
                [this](const QString& folder) { SetField(&Preferences::rdvdir, folder); });
    }
    form5_->ShowModeless();
}

void Form4::Command4_Click() {
    if (form6_ == nullptr) {
        form6_ = new Form6(volumes_, this);
        connect(form6_, &BrowseDialog::folderChosen, this,
                [this](const QString& folder) { SetField(&Preferences::rwdir, folder); });
    }
    form6_->ShowModeless();
}

void Form4::closeEvent(QCloseEvent* event) {
    // The close box acts like Cancel: the window hides and every field,
    // saved or not, stays in force.
    Command2_Click();
    event->accept();
}

void Form4::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Centred when first opened; later showings keep where the user put it.
    if (!shownOnce_) {
        shownOnce_ = true;
        kit::CentreOnScreen(*this);
    }
}

}  // namespace launcher
