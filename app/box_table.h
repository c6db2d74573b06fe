#pragma once

#include "convert/pages.h"
#include "platform/text_box.h"

#include <array>
#include <memory>
#include <stdexcept>
#include <utility>

namespace qimbar::app {

// The window's value boxes as the action sees them, by the N of `TextN`;
// `Box` is a shell's own TextBox, made from that shell's handle to the box.
template <typename Box>
class BoxTable final : public platform::TextBoxes {
public:
    template <typename Handle>
    void add(int number, Handle handle) {
        boxes_.at(static_cast<std::size_t>(number)) = std::make_unique<Box>(std::move(handle));
    }

    // Puts another box in the place of `TextN`: how tests make a box fail.
    void replace(int number, std::unique_ptr<platform::TextBox> box) {
        boxes_.at(static_cast<std::size_t>(number)) = std::move(box);
    }

    platform::TextBox& textBox(int number) override {
        const auto index = static_cast<std::size_t>(number);
        if (index >= boxes_.size() || !boxes_.at(index)) {
            throw std::out_of_range("no value box with that number");
        }
        return *boxes_.at(index);
    }

private:
    std::array<std::unique_ptr<platform::TextBox>, convert::kLastBoxNumber + 1> boxes_;  // by N
};

}  // namespace qimbar::app
