#include "platform/run_time_error.h"

#include <doctest/doctest.h>

using qimbar::platform::ErrorKind;
using qimbar::platform::RunTimeError;

TEST_CASE("a box error keeps the failed access") {
    const RunTimeError error(ErrorKind::BoxNotWritten, qimbar::platform::kControlGone, 33);
    CHECK(error.boxNumber() == 33);
    CHECK(error.status().failed());
    CHECK(error.status().code == qimbar::platform::kControlGone.code);
}
