#include "platform/run_time_error.h"

#include <doctest/doctest.h>
#include <string_view>

using qimbar::platform::ErrorKind;
using qimbar::platform::RunTimeError;

TEST_CASE("each kind of error has its message") {
    struct Case {
        const char* name;
        ErrorKind kind;
        std::string_view text;
    };
    const Case cases[] = {
        {"not a number", ErrorKind::NotANumber, "Kiritilgan qiymat son emas."},
        {"overflow", ErrorKind::Overflow, "Natija juda katta."},
        {"division by zero", ErrorKind::DivisionByZero, "Nolga bo'lish."},
        {"invalid operation", ErrorKind::InvalidOperation, "Noto'g'ri hisob amali."},
        {"box not read", ErrorKind::BoxNotRead, "Maydon matnini o'qib bo'lmadi."},
        {"box not written", ErrorKind::BoxNotWritten, "Maydonga yozib bo'lmadi."},
    };
    for (const Case& c : cases) {
        CAPTURE(std::string_view(c.name));
        const RunTimeError error(c.kind);
        CHECK(std::string_view(error.what()) == c.text);
        CHECK(error.message() == c.text);
        CHECK(error.kind() == c.kind);
    }
}

TEST_CASE("a box error keeps the failed access") {
    const RunTimeError error(ErrorKind::BoxNotWritten, qimbar::platform::kControlGone, 33);
    CHECK(error.boxNumber() == 33);
    CHECK(error.status().failed());
    CHECK(error.status().code == qimbar::platform::kControlGone.code);
}
