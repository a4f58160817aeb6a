// Making and placing a window's controls from its form table: one widget per
// control, of the kit's kinds, where its twips put it, in its face and colour,
// named for readers, its captions and prompt fitted to the face at hand. What
// the controls report is the window's business.
#pragma once

#include <QString>
#include <QWidget>
#include <map>
#include <string>
#include <string_view>

#include "base/expect.h"
#include "form/form_table.h"

namespace launcher::qt {

// A table's text as Qt holds it.
QString ToQt(std::string_view text);

// A window's controls, found by name.
class FormControls {
public:
    // Makes every control of `table` in `window` (or in its frame), bottom up
    // so that later controls stack above earlier ones, and fits them.
    FormControls(const FormTable& table, QWidget& window);

    // The control named `name`; a name the window does not have is a
    // programming error.
    QWidget& Get(std::string_view name) const;
    // The same, as the widget type it was made as; another type is a
    // programming error too.
    template <typename Widget>
    Widget& Get(std::string_view name) const {
        auto* widget = qobject_cast<Widget*>(&Get(name));
        LAUNCHER_EXPECT(widget != nullptr);
        return *widget;
    }

private:
    // What the table tells readers and how its captions and prompt fit the
    // face at hand.
    void Fit(const FormTable& table);

    std::map<std::string, QWidget*, std::less<>> widgets_;
};

}  // namespace launcher::qt
