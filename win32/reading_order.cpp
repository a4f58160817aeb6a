#include "win32/reading_order.h"

// <windows.h> comes before the headers that build on it.
// clang-format off
#include <oleacc.h>
// clang-format on

#include <algorithm>

#include "profile/win32_text.h"

namespace launcher::win32 {

std::vector<const ControlSpec*> ReadingOrder(const FormTable& table) {
    std::vector<const ControlSpec*> order = table.CreationOrder();
    for (const ControlSpec& design : table.controls) {
        if (design.captionOf.empty()) {
            continue;
        }
        std::erase(order, &design);
        const auto field = std::find_if(order.begin(), order.end(), [&](const ControlSpec* c) {
            return c->name == design.captionOf;
        });
        order.insert(field, &design);
    }
    return order;
}

ReaderAnnotations::~ReaderAnnotations() {
    if (services_ == nullptr) {
        return;
    }
    const MSAAPROPID props[] = {PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
    for (HWND control : annotated_) {
        services_->ClearHwndProps(control, DWORD(OBJID_CLIENT), CHILDID_SELF, props, 2);
    }
    services_->Release();
}

void ReaderAnnotations::Annotate(const FormTable& table, const ControlSpec& design, HWND control) {
    if (unavailable_ || (design.accessibleName.empty() && design.describedBy.empty())) {
        return;
    }
    if (services_ == nullptr &&
        FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services_)))) {
        services_ = nullptr;
        unavailable_ = true;
        return;
    }
    annotated_.push_back(control);
    if (!design.accessibleName.empty()) {
        services_->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME,
                                  Utf8ToWide(design.accessibleName).c_str());
    }
    if (!design.describedBy.empty()) {
        services_->SetHwndPropStr(control, DWORD(OBJID_CLIENT), CHILDID_SELF,
                                  PROPID_ACC_DESCRIPTION,
                                  Utf8ToWide(table.Control(design.describedBy).caption).c_str());
    }
}

}  // namespace launcher::win32
