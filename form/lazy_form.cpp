#include "form/lazy_form.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "base/expect.h"
#include "form/form_table.h"

namespace launcher {

namespace {

// What the presenter set on one control; unset parts are as designed.
struct HeldControl {
    const ControlSpec* design = nullptr;
    std::optional<std::string> text;
    std::optional<int> value;
    std::vector<std::string> added;
    std::optional<bool> visible;
    std::optional<int> left;
    std::optional<std::string> picture;
    bool realised = false;
};

bool ShowsTheDisk(const FormTable& table) {
    return std::any_of(table.controls.begin(), table.controls.end(), [](const ControlSpec& c) {
        return c.kind == ControlKind::kFolderList || c.kind == ControlKind::kDriveList;
    });
}

class LazyForm final : public FormView {
public:
    LazyForm(LazyFormMaker& owner, FormMaker& maker, const FormTable& table, FormEvents& events)
        : owner_(owner), maker_(maker), table_(table), events_(events) {
        for (const ControlSpec& design : table.controls) {
            controls_[design.name].design = &design;
        }
    }

    std::string Text(std::string_view name) const override {
        const HeldControl& held = Held(name);
        if (held.realised) {
            return window_->Text(name);
        }
        return held.text.value_or(held.design->caption);
    }
    void SetText(std::string_view name, std::string_view text) override {
        Held(name).text = std::string(text);
        if (Realised(name)) {
            window_->SetText(name, text);
        }
    }
    int Value(std::string_view name) const override {
        const HeldControl& held = Held(name);
        return held.realised ? window_->Value(name) : held.value.value_or(0);
    }
    void SetValue(std::string_view name, int value) override {
        Held(name).value = value;
        if (Realised(name)) {
            window_->SetValue(name, value);
        }
    }
    void AddItems(std::string_view name, const std::vector<std::string>& items) override {
        std::vector<std::string>& added = Held(name).added;
        added.insert(added.end(), items.begin(), items.end());
        if (Realised(name)) {
            window_->AddItems(name, items);
        }
    }
    void SetVisible(std::string_view name, bool visible) override {
        Held(name).visible = visible;
        if (Realised(name)) {
            window_->SetVisible(name, visible);
        } else if (window_ != nullptr && visible && ShownNow(Held(name))) {
            Realise(/*everything=*/true);
        }
    }
    void SetLeft(std::string_view name, int twips) override {
        Held(name).left = twips;
        if (Realised(name)) {
            window_->SetLeft(name, twips);
        }
    }
    void SetPicture(std::string_view name, const std::string& path) override {
        Held(name).picture = path;
        if (Realised(name)) {
            window_->SetPicture(name, path);
        }
    }
    // Focus goes to a window the user sees, which has been made by then.
    void SetFocus(std::string_view name) override {
        if (Realised(name)) {
            window_->SetFocus(name);
        }
    }
    // Only windows made at once have folder lists.
    void PointAtDrive(std::string_view name, std::string_view drive) override {
        if (Realised(name)) {
            window_->PointAtDrive(name, drive);
        }
    }
    std::string Caption() const override {
        return window_ != nullptr ? window_->Caption() : caption_.value_or(table_.caption);
    }
    void SetCaption(std::string_view caption) override {
        caption_ = std::string(caption);
        if (window_ != nullptr) {
            window_->SetCaption(caption);
        }
    }
    void SetOuterHeight(int twips) override {
        outerHeight_ = twips;
        if (window_ != nullptr) {
            window_->SetOuterHeight(twips);
        }
    }
    void ShowModeless() override {
        if (window_ == nullptr) {
            Realise(/*everything=*/false);
        }
        shown_ = true;
        window_->ShowModeless();
    }
    void Hide() override {
        shown_ = false;
        if (window_ != nullptr) {
            window_->Hide();
        }
    }
    void Discard() override {
        launcher::Discard(std::move(window_));
        if (tables_.empty()) {
            delete this;  // the window goes by itself and needs nothing of this
        } else {
            owner_.Bury(std::unique_ptr<FormView>(this));
        }
    }

private:
    const HeldControl& Held(std::string_view name) const {
        const auto found = controls_.find(name);
        LAUNCHER_EXPECT(found != controls_.end());
        return found->second;
    }
    HeldControl& Held(std::string_view name) {
        return const_cast<HeldControl&>(std::as_const(*this).Held(name));
    }
    bool Realised(std::string_view name) const { return Held(name).realised; }

    bool Hidden(const std::string& name) const { return Held(name).visible == false; }
    bool ShownNow(const HeldControl& held) const {
        return !Hidden(held.design->name) &&
               (held.design->container.empty() || !Hidden(held.design->container));
    }
    // A frame hidden at the first showing, with what it holds.
    bool LeftOut(const ControlSpec& design) const {
        const std::string& frame = design.container.empty() ? design.name : design.container;
        return Held(frame).design->kind == ControlKind::kFrame && Hidden(frame);
    }

    // Makes the window (again, when `everything`) and gives it what was set.
    void Realise(bool everything) {
        const FormTable* table = &table_;
        if (!everything && std::any_of(table_.controls.begin(), table_.controls.end(),
                                       [this](const ControlSpec& c) { return LeftOut(c); })) {
            auto shown = std::make_unique<FormTable>(table_);
            std::erase_if(shown->controls, [this](const ControlSpec& c) { return LeftOut(c); });
            table = shown.get();
            tables_.push_back(std::move(shown));
        }
        std::unique_ptr<FormView> old = std::move(window_);
        window_ = maker_.Make(*table, events_);
        for (const ControlSpec& design : table->controls) {
            const std::string& name = design.name;
            HeldControl& held = Held(name);
            if (held.realised) {
                // What the user typed or ticked in the window made before.
                if (design.kind == ControlKind::kTextBox ||
                    design.kind == ControlKind::kEditableList) {
                    held.text = old->Text(name);
                } else if (design.kind == ControlKind::kCheckBox) {
                    held.value = old->Value(name);
                }
            }
            held.realised = true;
            if (!held.added.empty()) {
                window_->AddItems(name, held.added);
            }
            if (held.text) {
                window_->SetText(name, *held.text);
            }
            if (held.value) {
                window_->SetValue(name, *held.value);
            }
            if (held.left) {
                window_->SetLeft(name, *held.left);
            }
            if (held.picture) {
                window_->SetPicture(name, *held.picture);
            }
            if (held.visible) {
                window_->SetVisible(name, *held.visible);
            }
        }
        if (caption_) {
            window_->SetCaption(*caption_);
        }
        if (outerHeight_) {
            window_->SetOuterHeight(*outerHeight_);
        }
        if (old != nullptr) {
            if (shown_) {
                window_->ShowModeless();
            }
            launcher::Discard(std::move(old));
        }
    }

    LazyFormMaker& owner_;
    FormMaker& maker_;
    const FormTable& table_;
    FormEvents& events_;
    std::map<std::string, HeldControl, std::less<>> controls_;
    std::optional<std::string> caption_;
    std::optional<int> outerHeight_;
    bool shown_ = false;
    // The partial tables windows were made from; they outlive those windows.
    std::vector<std::unique_ptr<FormTable>> tables_;
    std::unique_ptr<FormView> window_;
};

}  // namespace

LazyFormMaker::LazyFormMaker(FormMaker& maker) : maker_(maker) {}

LazyFormMaker::~LazyFormMaker() = default;

std::unique_ptr<FormView> LazyFormMaker::Make(const FormTable& table, FormEvents& events) {
    if (ShowsTheDisk(table)) {
        return maker_.Make(table, events);
    }
    return std::make_unique<LazyForm>(*this, maker_, table, events);
}

void LazyFormMaker::Bury(std::unique_ptr<FormView> view) {
    buried_.push_back(std::move(view));
}

}  // namespace launcher
