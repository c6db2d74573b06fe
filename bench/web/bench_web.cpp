// The web page in headless Chromium: what a first visit transfers; the cold
// start (a new browsing context each time: nothing cached, no service
// worker, as a person's first visit in a browser already running): the time from navigation start
// until the start page's rows can be typed into, alternating with the floor, the same page as
// static HTML with no module; then one press, timed in the page.
//   bench_web <site> <floor site> [runs]
//   bench_web --snapshot <site> <file>   writes the floor's page
#include "tests/app/web/chromium.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using qimbar::testing::Chromium;
using qimbar::testing::StaticServer;

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 == 1 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

// Milliseconds from navigation start to a mark the page sets: "qimbar-rows"
// once its rows take typing, "qimbar-ready" once they also press.
double coldStart(Chromium& browser, const std::string& url,
                 const std::string& mark = "qimbar-rows") {
    browser.freshTab();
    const std::string entries = "performance.getEntriesByName('" + mark + "')";
    browser.open(url, entries + ".length > 0");
    return browser.evaluate(entries + "[0].startTime").get<double>();
}

// What a first visit transfers, as the server counted it: the page, its
// script, module, manifest and icons, and the service worker with every
// file it caches, from a host that sends validators and max-age=600 as
// common static hosts do. Bytes of the bodies sent (compressed where the
// server compresses); a 304 sends none.
void firstVisit(Chromium& browser, const std::string& site) {
    char log[] = "/tmp/qimbar-visit.XXXXXX";
    const int fd = mkstemp(log);
    if (fd < 0) {
        throw std::runtime_error("mkstemp");
    }
    close(fd);
    {
        const StaticServer host(site, 600, log);
        browser.freshTab();
        browser.open(host.url(), "navigator.serviceWorker.controller !== null");
    }
    std::ifstream answers(log);
    long total = 0;
    int requests = 0;
    int revalidated = 0;
    int status = 0;
    long bytes = 0;
    std::string path;
    while (answers >> status >> bytes >> path) {
        std::printf("  %3d %6ld bytes  %s\n", status, bytes, path.c_str());
        total += bytes;
        ++requests;
        revalidated += status == 304 ? 1 : 0;
    }
    std::remove(log);
    std::printf(
        "a first visit transfers %.1f KiB in %d answers, %d of them 304 (goal: at most "
        "64 KiB)\n",
        static_cast<double>(total) / 1024, requests, revalidated);
}

}  // namespace

// The page as its module leaves it, as static HTML: no script but the mark
// (and no security policy, which would refuse that).
int snapshot(const std::string& site, const std::string& file) {
    const StaticServer server(site);
    Chromium browser;
    browser.open(server.url());
    const std::string html = browser
                                 .evaluate(R"js((() => {
        const copy = document.documentElement.cloneNode(true);
        copy.querySelectorAll('script, link[rel=preload], meta[http-equiv]').forEach(e => e.remove());
        const mark = document.createElement('script');
        mark.textContent = "performance.mark('qimbar-rows')";
        copy.querySelector('body').append(mark);
        return '<!doctype html>\n' + copy.outerHTML;
      })())js")
                                 .get<std::string>();
    std::FILE* out = std::fopen(file.c_str(), "w");
    if (out == nullptr) {
        return 1;
    }
    std::fputs(html.c_str(), out);
    return std::fclose(out) == 0 ? 0 : 1;
}

int measure(int argc, char* argv[]) {
    const int runs = argc > 3 ? std::stoi(argv[3]) : 21;
    const StaticServer page(argv[1]);
    const StaticServer floor(argv[2]);
    Chromium browser;
    firstVisit(browser, argv[1]);
    coldStart(browser, page.url());  // the browser's own start out of the way
    coldStart(browser, floor.url());
    std::vector<double> pageTimes;
    std::vector<double> floorTimes;
    std::vector<double> pressTimes;
    for (int run = 0; run < runs; ++run) {
        if (run % 2 == 0) {
            pageTimes.push_back(coldStart(browser, page.url()));
            floorTimes.push_back(coldStart(browser, floor.url()));
        } else {
            floorTimes.push_back(coldStart(browser, floor.url()));
            pageTimes.push_back(coldStart(browser, page.url()));
        }
        pressTimes.push_back(coldStart(browser, page.url(), "qimbar-ready"));
    }
    const double p = median(pageTimes);
    const double f = median(floorTimes);
    std::printf(
        "cold start in headless Chromium, %d runs each, navigation to rows that take typing "
        "(median):\n",
        runs);
    std::printf("  static HTML, no module   %7.2f ms\n", f);
    std::printf("  the page                 %7.2f ms\n", p);
    std::printf("  ratio %.2f (goal: at most 1.5)\n", p / f);
    std::printf("  and until its buttons press (the module running) %.2f ms\n", median(pressTimes));

    browser.freshTab();
    browser.open(page.url());
    const double press = browser
                             .evaluate(R"((() => {
        const box = document.getElementById('Text29'), button = document.getElementById('Command29');
        // The clock is coarse in a page: time many presses together.
        const start = performance.now();
        for (let i = 0; i < 2000; i += 1) {
          box.value = String(i) + ',5';
          button.click();
        }
        return (performance.now() - start) / 2000;
      })())")
                             .get<double>();
    std::printf("one press of Kub metr, the mean of 2000: %.3f ms (goal: under 1 ms)\n", press);
    return 0;
}

int main(int argc, char* argv[]) {
    if (argc != 4 && argc != 3) {
        std::fprintf(stderr,
                     "usage: bench_web <site> <floor site> [runs] | --snapshot <site> <file>\n");
        return 2;
    }
    try {
        if (std::string(argv[1]) == "--snapshot") {
            return snapshot(argv[2], argv[3]);
        }
        return measure(argc, argv);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_web: %s\n", error.what());
        return 1;
    }
}
