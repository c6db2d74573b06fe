#pragma once

// What a screen reader is told when a press converts: UI Automation's
// notification, raised from the pressed button, where Windows has it (10
// 1709 on). Elsewhere nothing is said: the boxes hold the results, and the
// reader reads them there.

#include "app/scoped_override.h"

#include <windows.h>

#include <oleauto.h>
#include <string_view>
#include <uiautomationcore.h>

namespace qimbar::win32 {

// uiautomationcore's functions and oleaut32's for the text, looked up on the
// first press that converted and kept loaded (UI Automation may call back a
// provider it was given); each null where Windows lacks it. Windows 7's
// headers name neither UiaRaiseNotificationEvent nor its enums, which are
// ints here. Tests put functions of their own in.
struct UiAutomationApi {
    HRESULT(WINAPI* hostProviderFromHwnd)(HWND, IRawElementProviderSimple**) = nullptr;
    using RaiseNotificationEvent = HRESULT(WINAPI*)(IRawElementProviderSimple* provider, int kind,
                                                    int processing, BSTR text, BSTR activityId);
    RaiseNotificationEvent raiseNotificationEvent = nullptr;
    decltype(&SysAllocString) allocString = nullptr;
    decltype(&SysFreeString) freeString = nullptr;
};
[[nodiscard]] UiAutomationApi& uiAutomationApi();
using ScopedUiAutomationApi = app::ScopedSlotOverride<UiAutomationApi, uiAutomationApi>;

inline constexpr int kActionCompleted = 2;  // NotificationKind_ActionCompleted
// NotificationProcessing_MostRecent: said once the reader has finished what
// it is saying (a click's button name), never cutting it off; a newer press
// replaces one not yet said.
inline constexpr int kMostRecent = 3;
inline constexpr wchar_t kPressActivity[] = L"qimbar.press";

// Tells screen readers `text` as what `control` just did; nothing where
// Windows cannot, or the text is empty.
void announce(HWND control, std::string_view text);

}  // namespace qimbar::win32
