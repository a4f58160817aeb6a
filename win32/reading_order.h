// What screen readers are told of a window's controls: the order they read
// them in, which is the order of making and of Tab, and the names and
// descriptions of the controls whose caption on screen is not enough.
#pragma once

#include <windows.h>

#include <vector>

#include "form/form_table.h"

struct IAccPropServices;

namespace launcher::win32 {

// The table's controls in the order they are made: Tab's order, with each
// label that names a field right before it, where readers take a field's
// name from.
std::vector<const ControlSpec*> ReadingOrder(const FormTable& table);

// The annotations of one window's controls; cleared and released with it.
// Where the system has no annotations, readers go without.
class ReaderAnnotations {
public:
    ReaderAnnotations() = default;
    ~ReaderAnnotations();
    ReaderAnnotations(const ReaderAnnotations&) = delete;
    ReaderAnnotations& operator=(const ReaderAnnotations&) = delete;

    // Gives `control` the name and description its design has for readers,
    // where it has any: a control with no caption on screen, or one whose
    // caption needs more.
    void Annotate(const FormTable& table, const ControlSpec& design, HWND control);

private:
    IAccPropServices* services_ = nullptr;
    bool unavailable_ = false;
    std::vector<HWND> annotated_;
};

}  // namespace launcher::win32
