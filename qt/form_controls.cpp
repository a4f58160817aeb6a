#include "qt/form_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "form/layout_rules.h"
#include "qt/folder_list.h"
#include "qt/form_kit.h"
#include "qt/picture.h"

namespace launcher::qt {

namespace {

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

// The widget for `design` in `parent`, not yet wired to anything.
QWidget* Build(const ControlSpec& design, QWidget* parent) {
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
            widget = kit::MakeTextBox(parent, caption);
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
            widget = combo;
            break;
        }
        case ControlKind::kCheckBox:
            widget = new QCheckBox(caption, parent);
            break;
        case ControlKind::kButton:
            widget = kit::MakeButton(parent, caption);
            break;
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

}  // namespace

QString ToQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

FormControls::FormControls(const FormTable& table, QWidget& window) {
    for (const ControlSpec* design : table.CreationOrder()) {
        QWidget* parent = design->container.empty() ? &window : &Get(design->container);
        widgets_.emplace(design->name, Build(*design, parent));
    }
    Fit(table);
}

QWidget& FormControls::Get(std::string_view name) const {
    const auto found = widgets_.find(name);
    LAUNCHER_EXPECT(found != widgets_.end());
    return *found->second;
}

void FormControls::Fit(const FormTable& table) {
    for (const ControlSpec& design : table.controls) {
        QWidget& widget = Get(design.name);
        if (!design.captionOf.empty()) {
            // Readers announce a field by the caption that names it.
            auto& caption = Get<QLabel>(design.name);
            kit::SetCaption(caption, Get(design.captionOf));
            const QSize room(TwipsToPixels(CaptionRoomTwips(table, design)), caption.height());
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
            kit::SetAccessibleName(widget, Get<QGroupBox>(design.container).title());
        }
        if (!design.accessibleName.empty()) {
            kit::SetAccessibleName(widget, ToQt(design.accessibleName));
        }
        if (!design.describedBy.empty()) {
            widget.setAccessibleDescription(Get<QLabel>(design.describedBy).text());
        }
        if (design.kind == ControlKind::kLabel && !design.growsToRightEdge) {
            // A long text is cut at the label's own edge, never painted over
            // a caption beside it.
            widget.resize(TwipsToPixels(LabelRoomTwips(table, design)), widget.height());
        }
        if (design.growsToRightEdge) {
            const QFontMetrics metrics(widget.font());
            const QString text = Get<QLabel>(design.name).text();
            // Measured as the label wraps it, which takes a pixel more than
            // the advance of the text.
            const auto wrapped = [&](int width) {
                return metrics.boundingRect(QRect(0, 0, width, 0), Qt::TextWordWrap, text);
            };
            const Extent room = PromptRoomTwips(table, design);
            const Extent grown =
                GrownPrompt({widget.width(), widget.height()},
                            {TwipsToPixels(room.width), TwipsToPixels(room.height)},
                            wrapped(QWIDGETSIZE_MAX).width(),
                            [&](int width) { return wrapped(width).height(); });
            widget.resize(grown.width, grown.height);
        }
    }
}

}  // namespace launcher::qt
