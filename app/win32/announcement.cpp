#include "app/win32/announcement.h"

#include "app/win32/com.h"
#include "app/win32/newer_api.h"
#include "app/win32/unicode.h"

#include <atomic>
#include <memory>
#include <utility>

namespace qimbar::win32 {

namespace {

// The pressed control as the notification's source. Microsoft's
// documentation of UiaHostProviderFromHwnd says its provider cannot raise
// events itself; a provider hosted by it can. This one adds nothing to what
// the control's window already says.
class HostedProvider final : public IRawElementProviderSimple {
public:
    explicit HostedProvider(ComPtr<IRawElementProviderSimple> host) : host_(std::move(host)) {}
    HostedProvider(const HostedProvider&) = delete;
    HostedProvider& operator=(const HostedProvider&) = delete;
    HostedProvider(HostedProvider&&) = delete;
    HostedProvider& operator=(HostedProvider&&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IRawElementProviderSimple)) {
            *object = static_cast<IRawElementProviderSimple*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // UI Automation may hold and release it on a thread of its own.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    // Without UseComThreading, UI Automation calls it on the window's thread.
    HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* options) override {
        if (options == nullptr) {
            return E_POINTER;
        }
        *options = ProviderOptions_ServerSideProvider;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID /*pattern*/,
                                                 IUnknown** provider) override {
        if (provider == nullptr) {
            return E_POINTER;
        }
        *provider = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID /*property*/, VARIANT* value) override {
        if (value == nullptr) {
            return E_POINTER;
        }
        value->vt = VT_EMPTY;  // the window's own
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    get_HostRawElementProvider(IRawElementProviderSimple** host) override {
        if (host == nullptr) {
            return E_POINTER;
        }
        host_->AddRef();
        *host = host_.get();
        return S_OK;
    }

private:
    ~HostedProvider() = default;

    const ComPtr<IRawElementProviderSimple> host_;
    std::atomic<ULONG> references_ = 1;
};

struct BstrFreer {
    decltype(&SysFreeString) free;
    void operator()(BSTR text) const { free(text); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrFreer>;

UiAutomationApi lookUpUiAutomation() {
    UiAutomationApi api;
    // Windows 7 without KB2533623 knows no LOAD_LIBRARY_SEARCH_SYSTEM32; it
    // has no notifications either.
    if (HMODULE core =
            LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        lookUp(core, "UiaHostProviderFromHwnd", api.hostProviderFromHwnd);
        lookUp(core, "UiaRaiseNotificationEvent", api.raiseNotificationEvent);
    }
    // Not imported: oleaut32 would load COM at every start.
    if (HMODULE oleaut32 = LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        lookUp(oleaut32, "SysAllocString", api.allocString);
        lookUp(oleaut32, "SysFreeString", api.freeString);
    }
    return api;
}

}  // namespace

UiAutomationApi& uiAutomationApi() {
    static UiAutomationApi api = lookUpUiAutomation();
    return api;
}

void announce(HWND control, std::string_view text) {
    const UiAutomationApi& api = uiAutomationApi();
    if (text.empty() || api.raiseNotificationEvent == nullptr ||
        api.hostProviderFromHwnd == nullptr || api.allocString == nullptr ||
        api.freeString == nullptr) {
        return;  // before Windows 10 1709
    }
    IRawElementProviderSimple* host = nullptr;
    if (FAILED(api.hostProviderFromHwnd(control, &host)) || host == nullptr) {
        return;
    }
    ComPtr<IRawElementProviderSimple> owned(host);
    const ComPtr<IRawElementProviderSimple> provider(new HostedProvider(std::move(owned)));
    const UniqueBstr said(api.allocString(widen(text).c_str()), {api.freeString});
    const UniqueBstr activity(api.allocString(kPressActivity), {api.freeString});
    if (said && activity) {
        // What it returns changes nothing: the results are in the boxes.
        (void)api.raiseNotificationEvent(provider.get(), kActionCompleted, kMostRecent, said.get(),
                                         activity.get());
    }
}

}  // namespace qimbar::win32
