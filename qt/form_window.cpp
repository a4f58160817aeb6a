#include "qt/form_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "form/layout_rules.h"
#include "qt/folder_list.h"
#include "qt/form_kit.h"
#include "qt/picture_box.h"

namespace launcher {

namespace {

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString ToQt(const std::string& text) {
    return QString::fromStdString(text);
}

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

void SetTextColour(QWidget& widget, Rgb rgb) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(static_cast<QRgb>(rgb)));
    widget.setPalette(palette);
}

// The layouts are kept in twips, as designed, and drawn in device-independent
// pixels, so a window keeps its 96-DPI proportions at any display scale.
QRect Geometry(const ControlSpec& design) {
    return {TwipsToPixels(design.left), TwipsToPixels(design.top), TwipsToPixels(design.width),
            TwipsToPixels(design.height)};
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

    // Created bottom up: later controls stack above earlier ones.
    for (const ControlSpec* design : table.CreationOrder()) {
        QWidget* parent = design->container.empty() ? this : &control(design->container);
        controls_.emplace(design->name, Build(*design, parent));
    }
    ApplyHints();

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

void FormWindow::ApplyHints() {
    for (const ControlSpec& design : table_.controls) {
        QWidget& widget = control(design.name);
        if (!design.captionOf.empty()) {
            // Readers announce a field by the caption that names it.
            auto& caption = control<QLabel>(design.name);
            kit::SetCaption(caption, control(design.captionOf));
            const QSize room(TwipsToPixels(CaptionRoomTwips(table_, design)), caption.height());
            QFont face = caption.font();
            const int halfPoints = CaptionHalfPoints(design, [&](int half) {
                face.setPointSizeF(half / 2.0);
                return kit::TextFits(face, caption.text(), room);
            });
            face.setPointSizeF(halfPoints / 2.0);
            if (face != caption.font()) {
                caption.setFont(face);
            }
        } else if (!design.container.empty() && design.kind != ControlKind::kLabel) {
            kit::SetAccessibleName(widget, control<QGroupBox>(design.container).title());
        }
        if (!design.accessibleName.empty()) {
            kit::SetAccessibleName(widget, ToQt(design.accessibleName));
        }
        if (!design.describedBy.empty()) {
            widget.setAccessibleDescription(control<QLabel>(design.describedBy).text());
        }
        if (design.kind == ControlKind::kLabel && !design.growsToRightEdge) {
            // A long text is cut at the label's own edge, never painted over
            // a caption beside it.
            widget.resize(TwipsToPixels(LabelRoomTwips(table_, design)), widget.height());
        }
        if (design.growsToRightEdge) {
            const QFontMetrics metrics(widget.font());
            const QString text = control<QLabel>(design.name).text();
            // Measured as the label wraps it, which takes a pixel more than
            // the advance of the text.
            const auto wrapped = [&](int width) {
                return metrics.boundingRect(QRect(0, 0, width, 0), Qt::TextWordWrap, text);
            };
            const Extent room = PromptRoomTwips(table_, design);
            const Extent grown =
                GrownPrompt({widget.width(), widget.height()},
                            {TwipsToPixels(room.width), TwipsToPixels(room.height)},
                            wrapped(QWIDGETSIZE_MAX).width(),
                            [&](int width) { return wrapped(width).height(); });
            widget.resize(grown.width, grown.height);
        }
    }
}

QWidget* FormWindow::Build(const ControlSpec& design, QWidget* parent) {
    const QString name = ToQt(design.name);
    const QString caption = ToQt(design.caption);
    QWidget* widget = nullptr;
    switch (design.kind) {
        case ControlKind::kFrame:
            widget = new QGroupBox(caption, parent);
            break;
        case ControlKind::kLabel: {
            QLabel* label = kit::MakeLabel(parent, caption);
            if (design.align == TextAlign::kCentre) {
                label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
            }
            widget = label;
            break;
        }
        case ControlKind::kTextBox: {
            QLineEdit* edit = kit::MakeTextBox(parent, caption);
            connect(edit, &QLineEdit::textChanged, this,
                    [this, name = design.name](const QString& text) {
                        if (!setting_) {
                            events_.OnTextChanged(name, text.toStdString());
                        }
                    });
            widget = edit;
            break;
        }
        case ControlKind::kEditableList: {
            QComboBox* combo = kit::MakeEditableChoice(parent);
            for (const std::string& item : design.items) {
                combo->addItem(ToQt(item));
            }
            combo->setCurrentIndex(-1);
            combo->setEditText(caption);
            kit::ShowStart(*combo->lineEdit(), false);
            // textChanged rather than textEdited: a pick from the list changes
            // the text too, and must count as typing does.
            connect(combo->lineEdit(), &QLineEdit::textChanged, this,
                    [this, name = design.name](const QString& text) {
                        if (!setting_) {
                            events_.OnTextChanged(name, text.toStdString());
                        }
                    });
            connect(combo, &QComboBox::activated, this, [this, combo, name = design.name] {
                // The list put the picked item in the field with the caret
                // after it.
                kit::ShowStart(*combo->lineEdit(), combo->lineEdit()->hasFocus());
                if (!setting_) {
                    events_.OnPick(name);
                }
            });
            widget = combo;
            break;
        }
        case ControlKind::kCheckBox:
            widget = new QCheckBox(caption, parent);
            break;
        case ControlKind::kButton: {
            QPushButton* button = kit::MakeButton(parent, caption);
            connect(button, &QPushButton::clicked, this,
                    [this, name = design.name] { events_.OnClick(name); });
            widget = button;
            break;
        }
        case ControlKind::kPicture: {
            auto* picture = new PictureBox(parent);
            // Branding only: the title and web-address lines carry its words.
            kit::MarkDecorative(*picture);
            widget = picture;
            break;
        }
        case ControlKind::kDriveList: {
            widget = kit::MakeChoice(parent);
            break;
        }
        case ControlKind::kFolderList:
            widget = new FolderList(parent);
            break;
    }
    widget->setObjectName(name);
    widget->setGeometry(Geometry(design));
    if (design.font != kClassicFont) {
        widget->setFont(kit::FontFor(design.font));
    }
    if (design.textColour) {
        SetTextColour(*widget, *design.textColour);
    }
    return widget;
}

QWidget& FormWindow::control(std::string_view name) const {
    return *controls_.find(name)->second;
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

}  // namespace launcher
