#include "qt/form_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "form/layout_rules.h"
#include "qt/folder_list.h"
#include "qt/form_controls.h"
#include "qt/form_kit.h"
#include "qt/picture.h"

namespace launcher::qt {

namespace {

// A window title shows "[*]" only escaped: Qt takes it for the placeholder of
// a modified document and drops it.
QString EscapedTitle(const QString& caption) {
    QString escaped = caption;
    return escaped.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

QString UnescapedTitle(const QString& title) {
    QString caption = title;
    return caption.replace(QStringLiteral("[*][*]"), QStringLiteral("[*]"));
}

}  // namespace

FormWindow::FormWindow(const FormTable& table, FormEvents& events)
    : QWidget(nullptr, table.role == WindowRole::kMain ? Qt::Window : Qt::Dialog),
      table_(table),
      events_(events) {
    if (table.role == WindowRole::kDialog) {
        // A dialog's closing never ends the program.
        setAttribute(Qt::WA_QuitOnClose, false);
    }
    setObjectName(ToQt(table.name));
    setWindowTitle(EscapedTitle(ToQt(table.caption)));
    setFont(kit::ClassicFont());
    if (table.background) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, QColor::fromRgb(static_cast<QRgb>(*table.background)));
        setPalette(palette);
        setAutoFillBackground(true);
    }
    resize(TwipsToPixels(table.clientWidth), TwipsToPixels(table.clientHeight));

    controls_ = std::make_unique<FormControls>(table, *this);
    for (const ControlSpec& design : table.controls) {
        Wire(design);
    }

    const std::vector<const ControlSpec*> focus = table.FocusOrder();
    for (std::size_t i = 1; i < focus.size(); ++i) {
        setTabOrder(&control(focus[i - 1]->name), &control(focus[i]->name));
    }
    if (!focus.empty()) {
        control(focus.front()->name).setFocus();
    }

    // A window's timers run from its making on.
    for (const TimerSpec& design : table.timers) {
        auto* timer = new QTimer(this);
        timer->setObjectName(ToQt(design.name));
        timer->setInterval(design.intervalMs);
        connect(timer, &QTimer::timeout, this,
                [this, name = design.name] { events_.OnTick(name); });
        timer->start();
    }
}

FormWindow::~FormWindow() = default;

void FormWindow::Wire(const ControlSpec& design) {
    const auto changed = [this, name = design.name](const QString& text) {
        if (!setting_) {
            events_.OnTextChanged(name, text.toStdString());
        }
    };
    switch (design.kind) {
        case ControlKind::kTextBox:
            connect(&control<QLineEdit>(design.name), &QLineEdit::textChanged, this, changed);
            break;
        case ControlKind::kEditableList: {
            auto* combo = &control<QComboBox>(design.name);
            // textChanged rather than textEdited: a pick from the list changes
            // the text too, and must count as typing does.
            connect(combo->lineEdit(), &QLineEdit::textChanged, this, changed);
            connect(combo, &QComboBox::activated, this, [this, combo, name = design.name] {
                // The list put the picked item in the field with the caret
                // after it.
                kit::ShowStart(*combo->lineEdit(), combo->lineEdit()->hasFocus());
                if (!setting_) {
                    events_.OnPick(name);
                }
            });
            break;
        }
        case ControlKind::kButton:
            connect(&control<QPushButton>(design.name), &QPushButton::clicked, this,
                    [this, name = design.name] { events_.OnClick(name); });
            break;
        default:
            break;
    }
}

QWidget& FormWindow::control(std::string_view name) const {
    return controls_->Get(name);
}

std::string FormWindow::Text(std::string_view name) const {
    QWidget& widget = control(name);
    QString text;
    if (auto* frame = qobject_cast<QGroupBox*>(&widget)) {
        text = frame->title();
    } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
        text = label->text();
    } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        text = edit->text();
    } else if (auto* folders = qobject_cast<FolderList*>(&widget)) {
        text = folders->path();
    } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
        text = combo->isEditable() ? combo->currentText() : combo->currentData().toString();
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        text = button->text();
    }
    return text.toStdString();
}

void FormWindow::SetText(std::string_view name, std::string_view value) {
    QWidget& widget = control(name);
    const QString text = ToQt(value);
    setting_ = true;
    if (auto* frame = qobject_cast<QGroupBox*>(&widget)) {
        frame->setTitle(text);
        // A list in a frame is announced by the frame's caption.
        for (const ControlSpec& design : table_.controls) {
            if (design.container == name && design.kind != ControlKind::kLabel) {
                kit::SetAccessibleName(control(design.name), text);
            }
        }
    } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
        if (label->text() != text) {
            label->setText(text);
            if (ShowsAValue(table_.Control(name))) {
                label->setToolTip(text);
            }
        }
    } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
        if (edit->text() != text) {
            edit->setText(text);
            kit::ShowStart(*edit, false);
        }
    } else if (auto* folders = qobject_cast<FolderList*>(&widget)) {
        folders->setPath(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
        if (combo->isEditable()) {
            combo->setCurrentIndex(-1);
            combo->setEditText(text);
            kit::ShowStart(*combo->lineEdit(), false);
        } else {
            combo->setCurrentIndex(combo->findData(text));
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
        button->setText(text);
    }
    setting_ = false;
}

int FormWindow::Value(std::string_view name) const {
    return control<QCheckBox>(name).isChecked() ? 1 : 0;
}

void FormWindow::SetValue(std::string_view name, int value) {
    control<QCheckBox>(name).setChecked(value == 1);
}

void FormWindow::AddItems(std::string_view name, const std::vector<std::string>& items) {
    auto& combo = control<QComboBox>(name);
    // Filling a list selects its first item and so replaces an editable
    // list's text; the pick and the text stay as they were.
    setting_ = true;
    const int index = combo.currentIndex();
    const QString text = combo.currentText();
    for (const std::string& item : items) {
        combo.addItem(ToQt(item), ToQt(item));
    }
    combo.setCurrentIndex(index);
    if (combo.isEditable()) {
        combo.setEditText(text);
        kit::ShowStart(*combo.lineEdit(), false);
    }
    setting_ = false;
}

void FormWindow::SetVisible(std::string_view name, bool visible) {
    control(name).setVisible(visible);
}

void FormWindow::SetFocus(std::string_view name) {
    control(name).setFocus(Qt::OtherFocusReason);
}

void FormWindow::SetLeft(std::string_view name, int twips) {
    QWidget& widget = control(name);
    widget.move(TwipsToPixels(twips), widget.y());
}

void FormWindow::SetPicture(std::string_view name, const std::string& path) {
    control<PictureBox>(name).setPicture(LoadPicture(path));
}

void FormWindow::PointAtDrive(std::string_view name, std::string_view drive) {
    control<FolderList>(name).setDrive(ToQt(drive));
}

std::string FormWindow::Caption() const {
    return UnescapedTitle(windowTitle()).toStdString();
}

void FormWindow::SetCaption(std::string_view caption) {
    setWindowTitle(EscapedTitle(ToQt(caption)));
}

void FormWindow::SetOuterHeight(int twips) {
    outerHeightTwips_ = twips;
    frameSettled_ = false;
    ApplyOuterHeight();
}

void FormWindow::ApplyOuterHeight() {
    if (outerHeightTwips_ <= 0) {
        return;
    }
    bool known = false;
    const QMargins frame = kit::FrameMargins(*this, &known);
    const int client = TwipsToPixels(outerHeightTwips_) - frame.top() - frame.bottom();
    resize(width(), std::max(client, 1));
    frameSettled_ = known;
}

void FormWindow::ShowModeless() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void FormWindow::Hide() {
    hide();
}

void FormWindow::Discard() {
    hide();
    deleteLater();
}

void FormWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    events_.OnClose();
}

void FormWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    const bool first = !shownOnce_;
    shownOnce_ = true;
    if (first) {
        ApplyOuterHeight();
    }
    if (CentresOnShowing(table_, first)) {
        kit::CentreOnScreen(*this);
    }
}

bool FormWindow::event(QEvent* event) {
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

}  // namespace launcher::qt
