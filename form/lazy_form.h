// Windows made only when they are first shown. A start shows the main window
// with the groups a folder names, and neither dialog: making every control of
// every window up front costs most of the start, under Wine above all, where
// each drop-down list is a window of its own.
#pragma once

#include <memory>
#include <vector>

#include "form/form_view.h"

namespace launcher {

// Makes windows through `maker` when they are first shown, and within a
// window a frame's controls only if the frame is shown then. Until then the
// view holds what its presenter set (texts, items, values, visibility, places,
// pictures, caption, height) and reads it back as the window would; at the
// first showing the window is made and given all of it. A frame hidden then
// and shown later makes the window again with every control, carrying what
// the user had typed or ticked; no window here does that.
//
// A window with a folder or drive list is made at once: what those show comes
// from the disk, not from the presenter, and such windows are made to be
// shown anyway.
class LazyFormMaker final : public FormMaker {
public:
    explicit LazyFormMaker(FormMaker& maker);
    ~LazyFormMaker() override;

    std::unique_ptr<FormView> Make(const FormTable& table, FormEvents& events) override;

    // Keeps a discarded view until the maker goes: its window may still be
    // drawing from the view's copy of the table until the event in hand ends.
    void Bury(std::unique_ptr<FormView> view);

private:
    FormMaker& maker_;
    std::vector<std::unique_ptr<FormView>> buried_;
};

}  // namespace launcher
