// The FormView contract (tests/contract) on the Qt windows, offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "qt/form_maker.h"
#include "qt/form_window.h"
#include "tests/contract/form_view_contract.h"

namespace launcher::contract {
namespace {

qt::FormWindow& WindowOf(const FormView& view) {
    return dynamic_cast<qt::FormWindow&>(const_cast<FormView&>(view));
}

// Where the keyboard goes in a control: an editable list's own field.
QWidget& KeyTarget(const FormView& view, std::string_view control) {
    QWidget& widget = WindowOf(view).control(control);
    if (auto* combo = qobject_cast<QComboBox*>(&widget); combo != nullptr && combo->isEditable()) {
        return *combo->lineEdit();
    }
    return widget;
}

class QtDriver final : public ContractDriver {
public:
    FormMaker& Maker() override { return maker_; }

    void ShowActive(FormView& view) override {
        qt::FormWindow& window = WindowOf(view);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void ProcessEvents() override { QApplication::processEvents(); }

    void PressKey(FormView& view, std::string_view control, Key key) override {
        const Qt::Key qtKey = key == Key::kDown ? Qt::Key_Down
                              : key == Key::kUp ? Qt::Key_Up
                                                : Qt::Key_Tab;
        QTest::keyClick(&KeyTarget(view, control), qtKey);
    }

    void Type(FormView& view, std::string_view control, std::string_view text) override {
        QTest::keyClicks(&KeyTarget(view, control), QString::fromUtf8(text.data(), text.size()));
    }

    void Click(FormView& view, std::string_view control) override {
        QTest::mouseClick(&WindowOf(view).control(control), Qt::LeftButton);
    }

    std::string Focused(const FormView& view) override {
        const qt::FormWindow& window = WindowOf(view);
        for (QWidget* focus = QApplication::focusWidget(); focus != nullptr;
             focus = focus->parentWidget()) {
            for (const ControlSpec& design : window.table().controls) {
                if (focus->objectName().toStdString() == design.name) {
                    return design.name;
                }
            }
        }
        return {};
    }

    FieldSelection Selection(const FormView& view, std::string_view control) override {
        auto* field = qobject_cast<QLineEdit*>(&KeyTarget(view, control));
        if (field == nullptr || !field->hasSelectedText()) {
            const int caret = field == nullptr ? 0 : field->cursorPosition();
            return {caret, caret};
        }
        const int caret = field->cursorPosition();
        const int start = field->selectionStart();
        return {caret == start ? field->selectionEnd() : start, caret};
    }

private:
    qt::FormMaker maker_;
};

}  // namespace

std::unique_ptr<ContractDriver> MakeContractDriver() {
    return std::make_unique<QtDriver>();
}

}  // namespace launcher::contract

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
