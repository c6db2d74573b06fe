// One press in the real window against the floor of writing the same number
// of texts straight into line edits. Runs offscreen.
#include "app/qt/form1.h"
#include "app/qt/sstab.h"
#include "convert/pages.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRounds = 400;
constexpr int kSamples = 9;

template <typename F>
double medianMicroseconds(F&& once) {
    std::vector<double> samples;
    for (int s = 0; s < kSamples; ++s) {
        const auto start = Clock::now();
        for (int i = 0; i < kRounds; ++i) {
            once(i);
        }
        samples.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count() /
                          kRounds);
    }
    std::nth_element(samples.begin(), samples.begin() + kSamples / 2, samples.end());
    return samples[kSamples / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    qimbar::qt::Form1 form;
    form.show();
    QApplication::processEvents();

    std::printf("%-10s %8s %14s %14s %7s\n", "page", "targets", "press (us)", "floor (us)",
                "ratio");
    double worst = 0.0;
    for (const auto& page : qimbar::convert::pages) {
        form.tabControl()->setCurrentPage(page.number);
        QApplication::processEvents();
        const auto& source = page.row(1);
        auto* sourceBox = form.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(source.box));
        auto* button = form.findChild<QPushButton*>(QStringLiteral("Command%1").arg(source.box));
        std::vector<QLineEdit*> targets;
        for (int row = 2; row <= page.rowCount(); ++row) {
            targets.push_back(
                form.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(page.row(row).box)));
        }
        // Two values in turn, so every write changes the text.
        const QString values[2] = {QStringLiteral("123.456"), QStringLiteral("7.5")};
        const double press = medianMicroseconds([&](int i) {
            sourceBox->setText(values[i % 2]);
            button->click();
        });
        const QStringList texts[2] = {
            QStringList(int(targets.size()), QStringLiteral("405.059136")),
            QStringList(int(targets.size()), QStringLiteral("24.6075"))};
        const double floor = medianMicroseconds([&](int i) {
            sourceBox->setText(values[i % 2]);
            for (std::size_t t = 0; t < targets.size(); ++t) {
                targets[t]->setText(texts[i % 2].at(qsizetype(t)));
            }
        });
        worst = std::max(worst, press / floor);
        std::printf("%-10.*s %8zu %14.2f %14.2f %7.2f\n", int(page.caption.size()),
                    page.caption.data(), targets.size(), press, floor, press / floor);
    }
    std::printf("worst ratio: %.2f (goal: at most 1.5)\n", worst);
    return 0;
}
