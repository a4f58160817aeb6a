// The launcher as main wires it, for the window tests: the Qt windows' maker
// and the main window's presenter, loaded over an outside world, with its
// windows found by name.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/form1_presenter.h"
#include "qt/form_maker.h"
#include "qt/form_window.h"

namespace launcher::testing {

// The Qt window behind `view`.
inline qt::FormWindow& WindowOf(FormView& view) {
    return dynamic_cast<qt::FormWindow&>(view);
}

// Makes the Qt windows, and notes each pick a window reports ("Form1
// Combo7") before its presenter hears of it.
class RecordingQtMaker final : public FormMaker {
public:
    std::vector<std::string> picks;

    std::unique_ptr<FormView> Make(const FormTable& table, FormEvents& events) override {
        relays_.push_back(std::make_unique<Relay>(table.name, events, picks));
        return maker_.Make(table, *relays_.back());
    }

private:
    class Relay final : public FormEvents {
    public:
        Relay(std::string window, FormEvents& to, std::vector<std::string>& picks)
            : window_(std::move(window)), to_(to), picks_(picks) {}
        void OnClick(std::string_view button) override { to_.OnClick(button); }
        void OnPick(std::string_view list) override {
            picks_.push_back(window_ + " " + std::string(list));
            to_.OnPick(list);
        }
        void OnTextChanged(std::string_view control, const std::string& text) override {
            to_.OnTextChanged(control, text);
        }
        void OnTick(std::string_view timer) override { to_.OnTick(timer); }
        void OnClose() override { to_.OnClose(); }

    private:
        std::string window_;
        FormEvents& to_;
        std::vector<std::string>& picks_;
    };

    qt::FormMaker maker_;
    // Kept for as long as any window they were made for.
    std::vector<std::unique_ptr<Relay>> relays_;
};

class QtLauncher {
public:
    RecordingQtMaker maker;

    // Makes the main window and runs its load, as main does.
    explicit QtLauncher(OutsideWorld world) : presenter_(maker, world) { presenter_.Form_Load(); }

    Form1Presenter& presenter() { return presenter_; }
    qt::FormWindow& form1() const { return WindowOf(presenter_.view()); }
    // The window named `name` ("Form1", "Form2", "Form4", "Form5", "Form6")
    // that the presenters hold now; null while it is not made, or dropped.
    qt::FormWindow* window(std::string_view name) const {
        const Form4Presenter& form4 = presenter_.form4();
        if (name == "Form1") {
            return &form1();
        }
        if (name == "Form4") {
            return &WindowOf(form4.view());
        }
        const Form2Presenter* form2 = presenter_.form2();
        if (name == "Form2") {
            return form2 == nullptr ? nullptr : &WindowOf(form2->view());
        }
        const BrowsePresenter* browse = name == "Form5"   ? form4.form5()
                                        : name == "Form6" ? form4.form6()
                                                          : nullptr;
        return browse == nullptr ? nullptr : &WindowOf(browse->view());
    }
    // Control `control` of window `name`, which must be made.
    template <typename Widget>
    Widget& control(std::string_view name, std::string_view control) const {
        return window(name)->control<Widget>(control);
    }

private:
    Form1Presenter presenter_;
};

}  // namespace launcher::testing
