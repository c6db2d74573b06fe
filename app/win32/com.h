#pragma once

#include <windows.h>

#include <objbase.h>
#include <unknwn.h>

#include <memory>
#include <type_traits>

namespace qimbar::win32 {

// A COM interface pointer, released when it goes.
struct ComReleaser {
    void operator()(IUnknown* object) const { object->Release(); }
};
static_assert(std::is_invocable_v<ComReleaser, IUnknown*>);
template <typename Interface>
using ComPtr = std::unique_ptr<Interface, ComReleaser>;

// COM on this thread, from ole32 loaded when first needed rather than at
// start (it is heavy, and only the screen-reader names need it); ended and
// unloaded when this goes.
class ComApartment {
public:
    ComApartment();
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ComApartment(ComApartment&&) = delete;
    ComApartment& operator=(ComApartment&&) = delete;

    // CoCreateInstance for an in-process object; fails when COM could not start.
    HRESULT create(REFCLSID type, REFIID iid, void** object) const;

private:
    HMODULE ole32_;
    decltype(&CoUninitialize) uninitialize_ = nullptr;
    decltype(&CoCreateInstance) createInstance_ = nullptr;
    bool initialised_ = false;
};

}  // namespace qimbar::win32
