#pragma once

// Owners for the Win32 handles the shell holds, so every path out of a
// function, the error path too, releases what it took.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace qimbar::win32 {

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

struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDestroyer>;

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

}  // namespace qimbar::win32
