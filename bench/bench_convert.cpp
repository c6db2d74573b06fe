// Time of one press (ConvertFromRow) on each page, with in-memory boxes:
// read, parse, rule, flag test, format and write for every target.
#include "convert/convert_from_row.h"
#include "convert/pages.h"
#include "tests/support/memory_boxes.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using qimbar::convert::Page;

constexpr int kPressesPerSample = 2000;
constexpr int kSamples = 15;

// Median nanoseconds per press of row `row`.
double timePress(const Page& page, int row) {
    const int firstBox = page.row(1).box;
    qimbar::testing::MemoryBoxes boxes(firstBox, firstBox + page.rowCount() - 1, "0");
    boxes.recordAccesses = false;
    boxes.setText(page.row(row).box, "123.456");

    std::vector<double> samples;
    for (int s = 0; s < kSamples; ++s) {
        const auto start = Clock::now();
        for (int i = 0; i < kPressesPerSample; ++i) {
            qimbar::convert::ConvertFromRow(page, row, boxes);
        }
        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        samples.push_back(elapsed.count() / kPressesPerSample);
    }
    std::nth_element(samples.begin(), samples.begin() + kSamples / 2, samples.end());
    return samples[kSamples / 2];
}

}  // namespace

int main() {
    std::printf("%-10s %8s %14s %16s\n", "page", "targets", "ns per press", "ns per target");
    double worst = 0.0;
    for (const Page& page : qimbar::convert::pages) {
        double total = 0.0;
        for (int row = 1; row <= page.rowCount(); ++row) {
            total += timePress(page, row);
        }
        const double perPress = total / page.rowCount();
        const double perTarget = perPress / (page.rowCount() - 1);
        worst = std::max(worst, perTarget);
        std::printf("%-10.*s %8d %14.0f %16.1f\n", static_cast<int>(page.caption.size()),
                    page.caption.data(), page.rowCount() - 1, perPress, perTarget);
    }
    std::printf("slowest page: %.1f ns per target (goal: under 1000)\n", worst);
    return worst < 1000.0 ? 0 : 1;
}
