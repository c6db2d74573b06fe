// What Form1 tells screen readers: each label's tooltip, each button's name
// and each box's explanation, which also shows by the box when it has the focus.
#include "app/row_view.h"
#include "app/win32/form1.h"
#include "app/win32/form1_parts.h"
#include "app/win32/system_error.h"
#include "app/win32/unicode.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <string>
#include <tuple>

namespace qimbar::win32 {

namespace {

// A box's explanation as each kind of screen reader reads it: MSAA's
// description, and UI Automation's own properties by their GUIDs, which
// mingw-w64's headers lack (the full description from Windows 10 1703, the
// help text before it).
const MSAAPROPID kFullDescription{
    0x0d4450ff, 0x6aef, 0x4f33, {0x95, 0xdd, 0x7b, 0xef, 0xa7, 0x2a, 0x43, 0x91}};
const MSAAPROPID kHelpText{
    0x08555685, 0x0977, 0x45c7, {0xa7, 0xa6, 0xab, 0xaf, 0x56, 0x84, 0x12, 0x1a}};
const std::array<MSAAPROPID, 3> kExplanation{PROPID_ACC_DESCRIPTION, kFullDescription, kHelpText};

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
        addFocusTip(controls_.at(app::indexOf(*row.box)), explanation);
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
        tell(controls_.at(app::indexOf(*row.button)), PROPID_ACC_NAME, name);
        for (const MSAAPROPID& property : kExplanation) {
            tell(controls_.at(app::indexOf(*row.box)), property, explanation);
        }
    }
}

void Form1::tell(HWND control, const MSAAPROPID& property, const std::wstring& text) {
    const HRESULT told = annotations_->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                                      CHILDID_SELF, property, text.c_str());
    // E_INVALIDARG: a Windows without that property, which the others tell.
    if (FAILED(told) && told != E_INVALIDARG) {
        throw SystemError("SetHwndPropStr", static_cast<DWORD>(told));
    }
}

void Form1::clearAnnotations() {
    if (!annotations_) {
        return;
    }
    std::array<MSAAPROPID, std::tuple_size_v<decltype(kExplanation)> + 1> properties{
        PROPID_ACC_NAME};
    std::copy(kExplanation.begin(), kExplanation.end(), properties.begin() + 1);
    for (HWND child : controls_) {
        if (child != nullptr) {
            annotations_->ClearHwndProps(child, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                         properties.data(), static_cast<int>(properties.size()));
        }
    }
}

}  // namespace qimbar::win32
