// A window built from its form table: one widget per control, found by name,
// moving values between the widgets and the presenter that runs the window.
// The five windows derive from it and only route their events.
#pragma once

#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <map>
#include <string>
#include <string_view>

#include "form/form_table.h"
#include "form/form_view.h"

class QTimer;

namespace launcher {

// Shows a picture at its own size, never stretched.
class PictureBox : public QLabel {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr);
    // Takes the picture's size in device-independent pixels; a null picture
    // empties the box and leaves its size alone.
    void setPicture(const QPixmap& picture);
};

class FormWindow : public QWidget, public FormView {
    Q_OBJECT
public:
    // Builds every control of `table`, hidden; `table` must outlive the
    // window.
    FormWindow(const FormTable& table, Qt::WindowFlags flags);
    ~FormWindow() override;

    const FormTable& table() const { return table_; }
    // The control named `name`; a name the window does not have, or another
    // widget type, is a programming error.
    QWidget& control(std::string_view name) const;
    template <typename Widget>
    Widget& control(std::string_view name) const {
        return *qobject_cast<Widget*>(&control(name));
    }

    std::string Text(std::string_view control) const override;
    void SetText(std::string_view control, std::string_view text) override;
    int Value(std::string_view control) const override;
    void SetValue(std::string_view control, int value) override;
    void AddItems(std::string_view control, const std::vector<std::string>& items) override;
    void SetVisible(std::string_view control, bool visible) override;
    void SetLeft(std::string_view control, int twips) override;
    void SetPicture(std::string_view control, const std::string& path) override;
    void PointAtDrive(std::string_view folderList, std::string_view drive) override;
    std::string Caption() const override;
    void SetCaption(std::string_view caption) override;
    void SetOuterHeight(int twips) override;
    void ShowModeless() override;
    void Hide() override;
    void Discard() override;

protected:
    // The user's actions, each reported once; what the window sets itself
    // is never reported back.
    virtual void OnClick(std::string_view /*button*/) {}
    // An item was picked from an editable list's drop-down (never typing).
    virtual void OnPick(std::string_view /*list*/) {}
    // The text of a text box or an editable list changed, typed or picked.
    virtual void OnTextChanged(std::string_view /*control*/, const std::string& /*text*/) {}
    virtual void OnTimer(std::string_view /*timer*/) {}
    // The close box or the system menu closed the window.
    virtual void OnClose() {}

    // Starts the table's timers; a window's timers run from its load on.
    void StartTimers();

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    QWidget* Build(const ControlSpec& design, QWidget* parent);
    void ApplyOuterHeight();

    const FormTable& table_;
    std::map<std::string, QWidget*, std::less<>> controls_;
    std::vector<QTimer*> timers_;
    // True while the window sets a control itself, so that the change is
    // not reported as the user's.
    bool setting_ = false;
    bool shownOnce_ = false;
    int outerHeightTwips_ = 0;  // 0: never set, the client height stays as designed
    bool frameSettled_ = false;
};

}  // namespace launcher
