#pragma once

#include <utility>

namespace qimbar::app {

// Puts `replacement` in `slot` for this object's lifetime and the previous
// value back afterwards: how tests stand in for what would block them, such
// as a modal message box.
template <typename T>
class ScopedOverride {
public:
    ScopedOverride(T& slot, T replacement)
        : slot_(slot), previous_(std::exchange(slot, std::move(replacement))) {}
    ~ScopedOverride() { slot_ = std::move(previous_); }
    ScopedOverride(const ScopedOverride&) = delete;
    ScopedOverride& operator=(const ScopedOverride&) = delete;
    ScopedOverride(ScopedOverride&&) = delete;
    ScopedOverride& operator=(ScopedOverride&&) = delete;

private:
    T& slot_;
    T previous_;
};

// A ScopedOverride of the value a function keeps, such as a shell's presenter.
template <typename T, T& (*Slot)()>
class ScopedSlotOverride : public ScopedOverride<T> {
public:
    explicit ScopedSlotOverride(T replacement)
        : ScopedOverride<T>(Slot(), std::move(replacement)) {}
};

}  // namespace qimbar::app
