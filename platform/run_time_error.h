#pragma once

#include "platform/text_box.h"

#include <exception>

namespace qimbar::platform {

enum class ErrorKind {
    EmptyBox,
    NotANumber,
    NumberTooLarge,  // the number typed is beyond the range of a double
    Overflow,        // a result beyond it
    DivisionByZero,
    InvalidOperation,
    BoxNotRead,
    BoxNotWritten,
};

// A run-time error raised by an action; the window reports it to the user.
class RunTimeError : public std::exception {
public:
    explicit RunTimeError(ErrorKind kind) : kind_(kind) {}
    // A failed read or write of box `TextN`.
    RunTimeError(ErrorKind kind, Status status, int boxNumber)
        : kind_(kind), status_(status), boxNumber_(boxNumber) {}

    [[nodiscard]] ErrorKind kind() const { return kind_; }
    [[nodiscard]] Status status() const { return status_; }
    // The N of the `TextN` whose access failed, 0 for other errors.
    [[nodiscard]] int boxNumber() const { return boxNumber_; }
    [[nodiscard]] const char* what() const noexcept override;

private:
    ErrorKind kind_;
    Status status_{};
    int boxNumber_ = 0;
};

}  // namespace qimbar::platform
