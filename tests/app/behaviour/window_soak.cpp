// Every row button pressed over and over with a fresh value each
// time: every result right, and the memory flat. QIMBAR_SOAK_PRESSES sets the
// presses per button (3000 unless told; valgrind runs take fewer). Under
// AddressSanitizer freed blocks sit in quarantine, so resident memory grows by
// design there: the bound is checked in plain builds and LeakSanitizer covers
// leaks in sanitized ones.
#include "convert/pages.h"
#include "tests/app/window_driver.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <doctest/doctest.h>
#include <optional>
#include <string>

using qimbar::testing::openWindow;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeaningful = false;
constexpr int kDefaultPresses = 300;
#else
constexpr bool kMemoryIsMeaningful = true;
constexpr int kDefaultPresses = 3000;
#endif

int pressesPerButton() {
    const char* told = std::getenv("QIMBAR_SOAK_PRESSES");
    return told != nullptr ? std::atoi(told) : kDefaultPresses;
}

// The expected text by the C library's "%.15G" rather than the program's own
// formatting; the decimal mark is whatever the C locale gives.
std::string expectedText(double value, const qimbar::convert::ConversionRule& rule) {
    volatile double result = value;
    if (rule.multiplier != 1.0) {
        result = result * rule.multiplier;
    }
    if (rule.offset != 0.0) {
        result = result + rule.offset;
    }
    std::array<char, 40> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%.15G", static_cast<double>(result));
    std::string text(buffer.data());
    std::replace(text.begin(), text.end(), ',', '.');
    return text == "-0" ? "0" : text;
}

}  // namespace

TEST_CASE("soak: every button again and again") {
    const int presses = pressesPerButton();
    REQUIRE(presses > 0);
    auto w = openWindow();

    std::optional<std::size_t> afterFirstHundred;
    int total = 0;
    for (int round = 0; round < presses; ++round) {
        for (const auto& page : qimbar::convert::pages) {
            w->selectPage(page.number);
            for (const auto& source : page.rows) {
                // A fresh value every time, with a decimal comma every other time.
                const int whole = (round * 37 + source.box * 11) % 100000 - 50000;
                const int fraction = (round + source.box) % 1000;
                const std::string mark = (round % 2) != 0 ? "," : ".";
                const std::string text = std::to_string(whole) + mark + std::to_string(fraction);
                w->setText("Text" + std::to_string(source.box), text);
                w->click("Command" + std::to_string(source.box));
                ++total;

                const std::string pointed = std::to_string(whole) + "." + std::to_string(fraction);
                double value = 0.0;
                std::from_chars(pointed.data(), pointed.data() + pointed.size(), value);
                for (const auto& entry : page.table.targetsOf(source.row)) {
                    const std::string shown =
                        w->text("Text" + std::to_string(page.row(entry.target).box));
                    const std::string expected = expectedText(value, entry.rule);
                    if (shown != expected) {
                        FAIL(text, " ", source.caption, " -> ", page.row(entry.target).caption,
                             ": ", shown, ", expected ", expected);
                    }
                }
                if (total == 100) {
                    afterFirstHundred = w->residentBytes();
                }
            }
        }
    }
    CHECK(w->takeErrors().empty());
    CHECK(total == presses * qimbar::convert::kRowCount);
    const auto now = w->residentBytes();
    if (!now || !afterFirstHundred) {
        MESSAGE(total, " presses; memory not measured: this shell cannot see its own");
        return;
    }
    const auto growth = static_cast<long long>(*now) - static_cast<long long>(*afterFirstHundred);
    MESSAGE(total, " presses; resident memory grew by ", growth / 1024,
            " KiB after the first hundred");
    if (kMemoryIsMeaningful && presses >= 100) {
        CHECK_MESSAGE(growth <= 1024LL * 1024LL, growth);
    }
}
