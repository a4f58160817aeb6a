#include "qt/browse_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <algorithm>

#include "qt/form_kit.h"

namespace launcher {

BrowseDialog::BrowseDialog(const FormTable& table, BrowsePresenter& presenter)
    : FormWindow(table, Qt::Dialog), presenter_(presenter) {
    // Closing a browse dialog must never end the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    // The prompt is one line; a face wider than the designed one would cut it
    // off, so it may grow to the client area's right edge.
    auto& label1 = control<QLabel>("Label1");
    label1.resize(std::clamp(label1.sizeHint().width(), label1.width(),
                             std::max(label1.width(), width() - label1.x())),
                  label1.height());

    // Neither list has a caption on screen. The folder list, where the focus
    // starts, also tells what to look for.
    kit::SetAccessibleName(drive1(), QStringLiteral("Drive"));
    kit::SetAccessibleName(dir1(), QStringLiteral("Folder"));
    dir1().setAccessibleDescription(label1.text());

    // The timer runs from the dialog's creation on.
    StartTimers();
}

BrowseDialog::~BrowseDialog() = default;

void BrowseDialog::OnClick(std::string_view button) {
    presenter_.Click(button);
}

void BrowseDialog::OnTimer(std::string_view timer) {
    presenter_.Tick(timer);
}

void BrowseDialog::OnClose() {
    presenter_.Form_Unload();
}

}  // namespace launcher
