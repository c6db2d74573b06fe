// What Form1 tells screen readers: each label's tooltip, each button's name
// and each box's explanation.
#include "app/row_view.h"
#include "app/win32/form1.h"
#include "app/win32/form1_parts.h"
#include "app/win32/unicode.h"

#include <commctrl.h>

#include <array>
#include <string>

namespace qimbar::win32 {

namespace {

ComPtr<IAccPropServices> systemAnnotationService(const ComApartment& com) {
    IAccPropServices* services = nullptr;
    if (FAILED(com.create(CLSID_AccPropServices, IID_IAccPropServices,
                          reinterpret_cast<void**>(&services)))) {
        return {};
    }
    return ComPtr<IAccPropServices>(services);
}

}  // namespace

AnnotationService& annotationService() {
    static AnnotationService service = systemAnnotationService;
    return service;
}

void Form1::createTooltips() {
    tooltips_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window(), nullptr, instance_, nullptr);
    if (tooltips_ == nullptr) {
        form1_parts::throwCreateFailed("tooltips");
    }
    for (const app::RowView& row : app::rowViews()) {
        std::wstring explanation = widen(row.explanation);
        TOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window();
        tool.uId = reinterpret_cast<UINT_PTR>(controls_.at(app::indexOf(*row.label)));
        tool.lpszText = explanation.data();  // copied by the control
        SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Form1::annotate() {
    // A screen reader names each box by the label just before it in the
    // z-order, which needs no annotation; it is told what the unit is, and
    // each button is named "Hisoblash: " and its unit.
    com_.emplace();
    annotations_ = annotationService()(*com_);
    if (!annotations_) {
        return;  // no annotation service here: the buttons keep their caption
    }
    for (const app::RowView& row : app::rowViews()) {
        const std::wstring name = widen(row.buttonName);
        const std::wstring explanation = widen(row.explanation);
        annotations_->SetHwndPropStr(controls_.at(app::indexOf(*row.button)),
                                     static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                     PROPID_ACC_NAME, name.c_str());
        annotations_->SetHwndPropStr(controls_.at(app::indexOf(*row.box)),
                                     static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                     PROPID_ACC_DESCRIPTION, explanation.c_str());
    }
}

void Form1::clearAnnotations() {
    if (!annotations_) {
        return;
    }
    std::array<MSAAPROPID, 2> properties{PROPID_ACC_NAME, PROPID_ACC_DESCRIPTION};
    for (HWND child : controls_) {
        if (child != nullptr) {
            annotations_->ClearHwndProps(child, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         properties.data(), static_cast<int>(properties.size()));
        }
    }
}

}  // namespace qimbar::win32
