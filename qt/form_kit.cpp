#include "qt/form_kit.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <map>

#include "form/layout_rules.h"

namespace launcher::qt::kit {

namespace {

// A caption bar and thin borders as a common desktop draws them at 96 DPI.
// Without any frame (a bare X server) this keeps the same rows in view as a
// decorated window would.
constexpr QMargins kTypicalFrame{8, 31, 8, 8};

// Marks a widget for one of the kit's own accessible interfaces.
constexpr char kAccessibleKind[] = "kitAccessibleKind";
constexpr char kValueLabel[] = "value";
constexpr char kDecoration[] = "decoration";

// A label that shows a value under a caption of its own. Qt announces a
// label by its text; this one is announced by its caption, the text being
// its value. Readers that read no value of static text read the
// description, so that carries the value too unless one was set.
class ValueLabelInterface final : public QAccessibleWidget {
public:
    explicit ValueLabelInterface(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        QString value = static_cast<const QLabel*>(widget())->text();
        switch (t) {
            case QAccessible::Value:
                return value;
            case QAccessible::Description: {
                const QString own = QAccessibleWidget::text(t);
                return own.isEmpty() ? value : own;
            }
            default:
                return QAccessibleWidget::text(t);
        }
    }
};

// A picture readers skip, as they skip what is not on screen.
class DecorationInterface final : public QAccessibleWidget {
public:
    explicit DecorationInterface(QWidget* picture)
        : QAccessibleWidget(picture, QAccessible::Graphic) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

// Qt selects a field's text when Tab brings the focus in, and so shows its
// end; this one shows its start.
class StartShownEdit final : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        if (!text().isEmpty() && selectedText() == text()) {
            ShowStart(*this, true);
        }
    }
};

QAccessibleInterface* KitInterface(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    const QByteArray kind = widget->property(kAccessibleKind).toByteArray();
    if (kind == kValueLabel) {
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            return new ValueLabelInterface(label);
        }
    } else if (kind == kDecoration) {
        return new DecorationInterface(widget);
    }
    return nullptr;
}

// Qt caches a widget's interface once asked for it, so a widget is marked
// before anything asks.
void MarkAccessibleKind(QWidget& widget, const char* kind) {
    static const bool installed = [] {
        QAccessible::installFactory(&KitInterface);
        return true;
    }();
    Q_UNUSED(installed);
    widget.setProperty(kAccessibleKind, QByteArray(kind));
}

// A list whose drop-down is made only when it first opens, and takes the
// list's name for readers then. It drops as wide as its widest item, within
// the screen, and shortens no item: alike names differ in their middle or end.
class Choice final : public QComboBox {
public:
    using QComboBox::QComboBox;

    void showPopup() override {
        QAbstractItemView* list = view();
        list->setAccessibleName(accessibleName());
        list->setTextElideMode(Qt::ElideNone);
        const QFontMetrics metrics(list->font());
        int widest = 0;
        for (int i = 0; i < count(); ++i) {
            widest = std::max(widest, metrics.horizontalAdvance(itemText(i)));
        }
        // The drop-down's own frame lies around the list.
        const auto* dropDown = qobject_cast<const QFrame*>(list->parentWidget());
        const int outer = dropDown == nullptr ? 0 : 2 * dropDown->frameWidth();
        const int itemMargin =
            list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        const int scrollBar =
            count() > maxVisibleItems()
                ? list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list)
                : 0;
        int needed =
            DroppedListWidth(width() - outer, widest, itemMargin + list->frameWidth(), scrollBar);
        if (const QScreen* at = screen()) {
            needed = std::min(needed, at->availableGeometry().width() - outer);
        }
        list->setMinimumWidth(needed);
        QComboBox::showPopup();
    }
};

}  // namespace

QFont ClassicFont(int points, QFont::Weight weight) {
    QFont font({"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Arial", "Liberation Sans",
                "DejaVu Sans", "sans-serif"},
               points, weight);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

bool StyleChosen(int argc, char** argv) {
    if (!qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE")) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-style" || argument.startsWith("-style=") || argument == "--style" ||
            argument.startsWith("--style=")) {
            return true;
        }
    }
    return false;
}

void UseClassicStyle() {
    if (QStyle* classic = QStyleFactory::create(QStringLiteral("Windows"))) {
        QApplication::setStyle(classic);
    }
}

QIcon TitleBarIcon(const QString& file, qreal scale) {
    QImageReader reader(file);
    const int wanted = qRound(48 * scale);
    std::map<int, int> sides;  // side -> image number
    for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
        sides.emplace(reader.size().width(), i);
    }
    // Up to `wanted`, and the next larger size when `wanted` itself is missing.
    const auto end = sides.lower_bound(wanted);
    const auto last = end == sides.end() ? end : std::next(end);
    QIcon icon;
    for (auto side = sides.begin(); side != last; ++side) {
        reader.jumpToImage(side->second);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

QFont FontFor(const FontSpec& design) {
    const QFont::Weight weight = design.bold ? QFont::Bold : QFont::Normal;
    if (design.face == "Verdana") {
        QFont font(
            {"Verdana", "DejaVu Sans", "Bitstream Vera Sans", "Tahoma", "Arial", "sans-serif"},
            design.points, weight);
        font.setStyleHint(QFont::SansSerif);
        return font;
    }
    return ClassicFont(design.points, weight);
}

QLabel* MakeLabel(QWidget* parent, const QString& text) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setText(text);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QComboBox* MakeChoice(QWidget* parent) {
    return new Choice(parent);
}

QComboBox* MakeEditableChoice(QWidget* parent) {
    QComboBox* combo = MakeChoice(parent);
    // Made editable through a field of its own: setEditable would also make
    // the drop-down's list now and a completer, most of a list's cost at
    // start-up. The drop-down comes when first opened; a field that already
    // has a completer is given none, and these fields complete nothing.
    static QCompleter* const placeholder = new QCompleter(qApp);
    auto* field = new StartShownEdit(combo);
    field->setPalette(combo->palette());
    field->setCompleter(placeholder);
    combo->setLineEdit(field);
    combo->setCompleter(nullptr);
    combo->setInsertPolicy(QComboBox::NoInsert);
    // Qt picks the item equal to the typed text when editing finishes (Return
    // or leaving the field) and reports it as a pick.
    QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
    return combo;
}

QLineEdit* MakeTextBox(QWidget* parent, const QString& text) {
    auto* edit = new StartShownEdit(text, parent);
    ShowStart(*edit, false);
    return edit;
}

void ShowStart(QLineEdit& field, bool selected) {
    const FieldSelection shown = StartShown(static_cast<int>(field.text().size()), selected);
    if (shown.anchor == shown.caret) {
        field.deselect();
        field.setCursorPosition(shown.caret);
    } else {
        field.setSelection(shown.anchor, shown.caret - shown.anchor);
    }
}

bool TextFits(const QFont& face, const QString& text, QSize box) {
    const QFontMetrics metrics(face);
    const QRect needed = metrics.boundingRect(QRect(QPoint(0, 0), box), Qt::TextWordWrap, text);
    return launcher::TextFits({needed.width(), needed.height()}, metrics.descent(),
                              {box.width(), box.height()});
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
    const Origin origin = CentredOrigin({area.x(), area.y(), area.width(), area.height()},
                                        {outer.width(), outer.height()});
    window.move(origin.left, origin.top);
}

void SetAccessibleName(QWidget& control, const QString& name) {
    control.setAccessibleName(name);
    if (auto* combo = qobject_cast<QComboBox*>(&control)) {
        if (QLineEdit* field = combo->lineEdit()) {
            field->setAccessibleName(name);
        }
    }
}

void SetCaption(QLabel& caption, QWidget& field) {
    caption.setBuddy(&field);
    if (auto* label = qobject_cast<QLabel*>(&field)) {
        MarkAccessibleKind(*label, kValueLabel);
    }
    SetAccessibleName(field, caption.text());
}

void MarkDecorative(QWidget& picture) {
    MarkAccessibleKind(picture, kDecoration);
}

}  // namespace launcher::qt::kit
