// A recording stand-in for a window: each control holds what the presenter
// set, starting from its form table's design-time state, and every change
// goes into one log shared by all the windows of a test, so that tests can
// check the order of a sequence across windows.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "form/form_table.h"
#include "form/form_view.h"

namespace launcher::testing {

using Log = std::vector<std::string>;

struct FakeControl {
    std::string text;
    int value = 0;
    std::vector<std::string> items;
    bool visible = true;
    int left = 0;
    std::string picture;
    std::string drive;  // a folder list's drive
};

class FakeFormView final : public FormView {
public:
    // A discarded view moves itself into `graveyard`, which frees it.
    FakeFormView(const FormTable& table, Log& log,
                 std::vector<std::unique_ptr<FakeFormView>>* graveyard = nullptr)
        : name(table.name), caption(table.caption), log_(log), graveyard_(graveyard) {
        for (const ControlSpec& design : table.controls) {
            FakeControl& control = controls[design.name];
            control.text = design.caption;
            control.items = design.items;
            control.left = design.left;
        }
        Record("Made", "");
    }

    const std::string name;
    std::map<std::string, FakeControl, std::less<>> controls;
    std::string caption;
    int outerHeight = 0;  // twips, 0 until set
    bool visible = false;
    int shows = 0;
    bool discarded = false;

    // The control named `control`; a name the window lacks fails the test
    // through std::out_of_range.
    FakeControl& At(std::string_view control) {
        return const_cast<FakeControl&>(std::as_const(*this).At(control));
    }
    const FakeControl& At(std::string_view control) const {
        const auto found = controls.find(control);
        if (found == controls.end()) {
            throw std::out_of_range(name + " has no control " + std::string(control));
        }
        return found->second;
    }

    std::string Text(std::string_view control) const override { return At(control).text; }
    void SetText(std::string_view control, std::string_view text) override {
        Record("SetText", control, text);
        At(control).text = text;
    }
    int Value(std::string_view control) const override { return At(control).value; }
    void SetValue(std::string_view control, int value) override {
        Record("SetValue", control, std::to_string(value));
        At(control).value = value;
    }
    void AddItems(std::string_view control, const std::vector<std::string>& items) override {
        Record("AddItems", control, std::to_string(items.size()));
        auto& list = At(control).items;
        list.insert(list.end(), items.begin(), items.end());
    }
    void SetVisible(std::string_view control, bool shown) override {
        Record("SetVisible", control, shown ? "1" : "0");
        At(control).visible = shown;
    }
    void SetFocus(std::string_view control) override { Record("SetFocus", control, ""); }
    void SetLeft(std::string_view control, int twips) override {
        Record("SetLeft", control, std::to_string(twips));
        At(control).left = twips;
    }
    void SetPicture(std::string_view control, const std::string& path) override {
        Record("SetPicture", control, path);
        At(control).picture = path;
    }
    void PointAtDrive(std::string_view control, std::string_view drive) override {
        Record("PointAtDrive", control, drive);
        At(control).drive = drive;
    }
    std::string Caption() const override { return caption; }
    void SetCaption(std::string_view text) override {
        Record("SetCaption", "", text);
        caption = text;
    }
    void SetOuterHeight(int twips) override {
        Record("SetOuterHeight", "", std::to_string(twips));
        outerHeight = twips;
    }
    void ShowModeless() override {
        Record("Show", "");
        visible = true;
        ++shows;
    }
    void Hide() override {
        Record("Hide", "");
        visible = false;
    }
    // Kept for inspection rather than deleted; the graveyard frees it.
    void Discard() override {
        Record("Discard", "");
        discarded = true;
        visible = false;
        if (graveyard_ != nullptr) {
            graveyard_->emplace_back(this);
        }
    }

private:
    void Record(std::string_view what, std::string_view control, std::string_view value = {}) {
        std::string entry = name + "." + std::string(what);
        if (!control.empty()) {
            entry += " " + std::string(control);
        }
        if (!value.empty() || what.starts_with("Set")) {
            entry += "=" + std::string(value);
        }
        log_.push_back(std::move(entry));
    }

    Log& log_;
    std::vector<std::unique_ptr<FakeFormView>>* graveyard_;
};

// Makes fake windows and names the last of each window for inspection while
// its presenter holds it, with the presenter it reports to; frees the
// discarded ones at the end.
class FakeFormMaker final : public FormMaker {
public:
    Log log;
    // Runs as each window is made, with its name: a probe of what the
    // sequence had done by then.
    std::function<void(const std::string& name)> onMake;

    std::unique_ptr<FormView> Make(const FormTable& table, FormEvents& events) override {
        if (onMake) {
            onMake(table.name);
        }
        auto view = std::make_unique<FakeFormView>(table, log, &discarded_);
        last_[table.name] = {view.get(), &events};
        ++made_[table.name];
        return view;
    }

    // The last window made under `name` ("Form2", "Form4", ...), or null.
    FakeFormView* Last(std::string_view name) const {
        const auto found = last_.find(name);
        return found == last_.end() ? nullptr : found->second.view;
    }
    // What the last window made under `name` reports to, as a front end
    // would: the user's clicks, picks and typing, ticks and the close box.
    FormEvents& EventsOf(std::string_view name) const {
        return *last_.at(std::string(name)).events;
    }
    int Made(std::string_view name) const {
        const auto found = made_.find(name);
        return found == made_.end() ? 0 : found->second;
    }

private:
    struct Window {
        FakeFormView* view = nullptr;
        FormEvents* events = nullptr;
    };
    std::map<std::string, Window, std::less<>> last_;
    std::map<std::string, int, std::less<>> made_;
    std::vector<std::unique_ptr<FakeFormView>> discarded_;
};

// Where `entry` stands in `log`, or -1.
inline int IndexOf(const Log& log, std::string_view entry) {
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (log[i] == entry) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace launcher::testing
