#include "app/win32/com.h"

namespace qimbar::win32 {

namespace {

// A function of the library by name; through void* since FARPROC has no
// parameters to match.
template <typename Function>
Function entry(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

ComApartment::ComApartment()
    : ole32_(LoadLibraryExW(L"ole32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    if (ole32_ == nullptr) {
        // Windows 7 without KB2533623 knows no LOAD_LIBRARY_SEARCH_SYSTEM32;
        // ole32 is a known DLL, which comes from System32 whatever the path.
        ole32_ = LoadLibraryExW(L"ole32.dll", nullptr, 0);
    }
    if (ole32_ == nullptr) {
        return;
    }
    const auto initialize = entry<decltype(&CoInitializeEx)>(ole32_, "CoInitializeEx");
    uninitialize_ = entry<decltype(&CoUninitialize)>(ole32_, "CoUninitialize");
    createInstance_ = entry<decltype(&CoCreateInstance)>(ole32_, "CoCreateInstance");
    initialised_ = initialize != nullptr && uninitialize_ != nullptr &&
                   createInstance_ != nullptr &&
                   SUCCEEDED(initialize(nullptr, COINIT_APARTMENTTHREADED));
}

ComApartment::~ComApartment() {
    if (initialised_) {
        uninitialize_();
    }
    if (ole32_ != nullptr) {
        FreeLibrary(ole32_);
    }
}

HRESULT ComApartment::create(REFCLSID type, REFIID iid, void** object) const {
    if (!initialised_) {
        return CO_E_NOTINITIALIZED;
    }
    return createInstance_(type, nullptr, CLSCTX_INPROC_SERVER, iid, object);
}

}  // namespace qimbar::win32
