// What every window of the launcher builds its controls with: the classic
// face with look-alikes, and buttons and editable lists that behave as the
// original controls did.
#pragma once

#include <QFont>
#include <QIcon>
#include <QMargins>
#include <QSize>
#include <QString>

#include "form/form_table.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace launcher::qt::kit {

// The face the windows were designed with first, then look-alikes.
QFont ClassicFont(int points = 8, QFont::Weight weight = QFont::Normal);

// True when the user chose the widget style: "-style NAME" or "-style=NAME"
// on the command line, or QT_STYLE_OVERRIDE. Looked at before QApplication
// takes its own arguments out of argv.
bool StyleChosen(int argc, char** argv);

// The classic Windows look the layouts were made for: each frame's caption in
// its frame line, fields where the twips put them. Qt carries it on every
// platform.
void UseClassicStyle();

// The sizes of a multi-size icon file that title and task bars use on a
// screen of `scale`: all up to 48 pixels times the scale, or to the next
// larger one when that size is missing. A window is handed every size it is
// given, and the 256-pixel one made for Windows' Explorer alone is a megabyte
// of pixel copies.
QIcon TitleBarIcon(const QString& file, qreal scale);

// The face a form table names, or the nearest one at hand.
QFont FontFor(const FontSpec& design);

// A plain-text label: captions come from INI files and picks, never markup.
QLabel* MakeLabel(QWidget* parent, const QString& text);

// A button that is neither the default nor an auto-default one: Enter has no
// meaning of its own in these windows.
QPushButton* MakeButton(QWidget* parent, const QString& text);

// A drop-down list of items.
QComboBox* MakeChoice(QWidget* parent);
// An editable list whose typed text is a value of its own: it neither joins
// the list nor gets completed into an item, and it is never reported as a pick.
// Its field shows its start as a text box's does.
QComboBox* MakeEditableChoice(QWidget* parent);

// A single-line text field that, tabbed into, selects its text and still
// shows its start.
QLineEdit* MakeTextBox(QWidget* parent, const QString& text);

// Puts `field`'s caret at the start of its text, so that the field shows its
// beginning; `selected` keeps all of the text selected (the focused field).
void ShowStart(QLineEdit& field, bool selected);

// Whether `text`, word-wrapped in `face`, fits `box` by the core's TextFits
// (form/layout_rules.h).
bool TextFits(const QFont& face, const QString& text, QSize box);

// The window's frame as the window system reports it, or a typical caption bar
// and borders until it does (`known` tells which).
QMargins FrameMargins(const QWidget& window, bool* known = nullptr);

// Moves the window so that its outer frame is centred in its screen's work
// area (CentredOrigin, form/layout_rules.h).
void CentreOnScreen(QWidget& window);

// What a screen reader announces a control as: the caption the user sees for
// it, be it its own text, its frame's caption or the label beside it.

// Names `control`. An editable list's text field and drop-down get the name
// too, since they, not the list itself, are what the reader meets.
void SetAccessibleName(QWidget& control, const QString& name);

// `caption` is the label that names `field`: the field is announced by the
// caption's text, and the label points at it. A label that shows a value
// keeps its text as that value.
void SetCaption(QLabel& caption, QWidget& field);

// A picture that says nothing the text around it does not: readers pass it
// over.
void MarkDecorative(QWidget& picture);

}  // namespace launcher::qt::kit
