#include "app/form_kit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace launcher::kit {

namespace {

// A caption bar and thin borders as a common desktop draws them at 96 DPI.
// Without any frame (a bare X server) this keeps the same rows in view as a
// decorated window would.
constexpr QMargins kTypicalFrame{8, 31, 8, 8};

}  // namespace

QFont ClassicFont(int points, QFont::Weight weight) {
    QFont font({"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Arial", "Liberation Sans",
                "DejaVu Sans", "sans-serif"},
               points, weight);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(text);
    label->setGeometry(geometry);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setDefault(false);
    if (geometry.isValid()) {
        button->setGeometry(geometry);
    }
    return button;
}

QComboBox* MakeEditableChoice(QWidget* parent, const QString& name, QRect geometry) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    // Qt picks the item equal to the typed text when editing finishes (Return
    // or leaving the field) and reports it as a pick.
    QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    combo->setGeometry(geometry);
    return combo;
}

QMargins FrameMargins(const QWidget& window, bool* known) {
    if (const QWindow* handle = window.windowHandle(); handle != nullptr && window.isVisible()) {
        if (const QMargins margins = handle->frameMargins(); margins.top() + margins.bottom() > 0) {
            if (known != nullptr) {
                *known = true;
            }
            return margins;
        }
    }
    if (known != nullptr) {
        *known = false;
    }
    return kTypicalFrame;
}

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->availableGeometry();
    const QSize outer = window.size().grownBy(FrameMargins(window));
    window.move(area.x() + (area.width() - outer.width()) / 2,
                area.y() + (area.height() - outer.height()) / 2);
}

}  // namespace launcher::kit
