// A window built from its form table: one widget per control, found by name,
// moving values between the widgets and the presenter that runs the window,
// and passing the user's actions, its timers' ticks and its close box on to
// that presenter. It decides nothing itself.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <string_view>

#include "form/form_table.h"
#include "form/form_view.h"
#include "qt/form_controls.h"

namespace launcher::qt {

class FormWindow : public QWidget, public FormView {
    Q_OBJECT
public:
    // Builds every control of `table`, hidden, and starts its timers; what
    // the user does is reported to `events`. Both must outlive the window.
    FormWindow(const FormTable& table, FormEvents& events);
    ~FormWindow() override;

    const FormTable& table() const { return table_; }
    // The control named `name`; a name the window does not have, or another
    // widget type, is a programming error.
    QWidget& control(std::string_view name) const;
    template <typename Widget>
    Widget& control(std::string_view name) const {
        return controls_->Get<Widget>(name);
    }

    std::string Text(std::string_view name) const override;
    void SetText(std::string_view name, std::string_view value) override;
    int Value(std::string_view name) const override;
    void SetValue(std::string_view name, int value) override;
    void AddItems(std::string_view name, const std::vector<std::string>& items) override;
    void SetVisible(std::string_view name, bool visible) override;
    void SetLeft(std::string_view name, int twips) override;
    void SetFocus(std::string_view name) override;
    void SetPicture(std::string_view name, const std::string& path) override;
    void PointAtDrive(std::string_view name, std::string_view drive) override;
    std::string Caption() const override;
    void SetCaption(std::string_view caption) override;
    void SetOuterHeight(int twips) override;
    void ShowModeless() override;
    void Hide() override;
    void Discard() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Passes what the user does with a control on to the presenter.
    void Wire(const ControlSpec& design);
    void ApplyOuterHeight();

    const FormTable& table_;
    FormEvents& events_;
    std::unique_ptr<FormControls> controls_;
    // True while the window sets a control itself, so that the change is
    // not reported as the user's.
    bool setting_ = false;
    bool shownOnce_ = false;
    int outerHeightTwips_ = 0;  // 0: never set, the client height stays as designed
    bool frameSettled_ = false;
};

}  // namespace launcher::qt
