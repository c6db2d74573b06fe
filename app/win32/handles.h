#pragma once

// Owners for the Win32 handles the shell holds, so every path out of a
// function, the error path too, releases what it took.

#include <windows.h>

#include <objbase.h>
#include <unknwn.h>

#include <memory>
#include <type_traits>

namespace qimbar::app {

struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};
// A window this code created and must destroy; child windows go with their
// parent and are never held by one of these.
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectDeleter>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectDeleter>;

// The screen's device context, released when it goes.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_ != nullptr) {
            ReleaseDC(nullptr, dc_);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    ScreenDc(ScreenDc&&) = delete;
    ScreenDc& operator=(ScreenDc&&) = delete;

    [[nodiscard]] HDC get() const { return dc_; }

private:
    HDC dc_;
};

// An object selected into a device context until this goes.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selected() { SelectObject(dc_, previous_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    Selected(Selected&&) = delete;
    Selected& operator=(Selected&&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

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

}  // namespace qimbar::app
