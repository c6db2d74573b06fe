// What only the web page has: what the browser's accessibility tree says,
// text that fits on a phone, the layout a finger gets, colours that stand
// out, the message dialog's focus, rows that take typing before the module
// runs and what the page says when it cannot, working offline. In Debian's
// headless Chromium; tst_web_host.cpp holds what a host and an installing
// browser see.
#include "app/press.h"
#include "app/texts.h"
#include "app/unit_explanation.h"
#include "convert/pages.h"
#include "tests/app/web/page_support.h"
#include "tests/support/memory_boxes.h"

#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <algorithm>
#include <doctest/doctest.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

using qimbar::platform::ErrorKind;
using qimbar::testing::browser;
using qimbar::testing::Chromium;
using qimbar::testing::hasNode;
using qimbar::testing::Json;
using qimbar::testing::Named;
using qimbar::testing::nodesOf;
using qimbar::testing::selectPage;
using qimbar::testing::server;
using qimbar::testing::StaticServer;
using qimbar::testing::text;

namespace {

std::string unit(const qimbar::convert::UnitRow& row) {
    return std::string(row.caption);
}

}  // namespace

TEST_CASE("the accessibility tree names every tab, box and button") {
    browser().resize(1280, 800);
    browser().open(server().url());
    std::vector<std::string> tabs;
    for (const Named& tab : nodesOf("tab")) {
        tabs.push_back(tab.name);
    }
    CHECK(tabs ==
          std::vector<std::string>{"Uzunlik", "Og'irlik", "Hajm", "Tezlik", "Maydon", "Harorat"});
    CHECK(nodesOf("tablist").size() == 1);
    for (const auto& page : qimbar::convert::pages) {
        CAPTURE(page.caption);
        selectPage(page.number);
        const auto panels = nodesOf("tabpanel");
        REQUIRE(panels.size() == 1);  // only the page shown
        CHECK(panels.front().name == page.caption);
        std::map<std::string, std::string> boxes;
        for (const Named& box : nodesOf("textbox")) {
            boxes[box.name] = box.description;
        }
        std::vector<std::string> buttons;
        for (const Named& button : nodesOf("button")) {
            buttons.push_back(button.name);
        }
        REQUIRE(boxes.size() == page.rows.size());
        for (const auto& row : page.rows) {
            CAPTURE(row.caption);
            REQUIRE(boxes.count(unit(row)) == 1);
            CHECK(boxes.at(unit(row)) == qimbar::app::unitExplanation(page, row.row));
            CHECK(std::count(buttons.begin(), buttons.end(), "Hisoblash: " + unit(row)) == 1);
        }
    }
}

// On a desktop the behaviour suite's text-fit case measures every control.
TEST_CASE("nothing clips or wraps on a phone") {
    struct Screen {
        const char* name;
        int width;
        int height;
        bool mobile;
    };
    const Screen screens[] = {{"320 x 640", 320, 640, true}, {"360 x 740", 360, 740, true}};
    for (const Screen& screen : screens) {
        CAPTURE(std::string_view(screen.name));
        browser().resize(screen.width, screen.height, screen.mobile);
        browser().open(server().url());
        for (int page = 1; page <= 6; ++page) {
            CAPTURE(page);
            selectPage(page);
            // Every caption, unit name, tab and the credit line on one line,
            // within its own box.
            const Json clipped = browser().evaluate(R"(
                [...document.querySelectorAll('label, button, [role=tab], .credit')]
                  .filter(e => e.checkVisibility({checkVisibilityCSS: true}))
                  .filter(e => {
                    const range = document.createRange();
                    range.selectNodeContents(e);
                    const lines = new Set([...range.getClientRects()].map(r => Math.round(r.top)));
                    return e.scrollWidth > e.clientWidth + 1 || lines.size > 1;
                  })
                  .map(e => e.id || e.textContent))");
            CHECK_MESSAGE(clipped.empty(), clipped.dump());
        }
    }
    browser().resize(1280, 800);
}

TEST_CASE("on a phone: one column, every tab in sight, room for a finger, text it need not zoom") {
    // Portrait phones, and wherever the pointer is coarse: a landscape phone.
    for (const auto& screen : {std::pair(320, 740), std::pair(360, 740), std::pair(740, 360)}) {
        const int width = screen.first;
        CAPTURE(width);
        browser().resize(width, screen.second, true);
        browser().open(server().url());
        for (int page = 1; page <= 6; ++page) {
            CAPTURE(page);
            selectPage(page);
            // Nothing scrolls sideways, and every tab is in sight, in reading order.
            CHECK(browser().evaluate("document.documentElement.scrollWidth").get<int>() <= width);
            CHECK(browser()
                      .evaluate(R"((() => {
                        const strip = document.querySelector('.strip');
                        const s = strip.getBoundingClientRect();
                        const r = [...strip.children].map(t => t.getBoundingClientRect());
                        return strip.scrollWidth <= strip.clientWidth && r.every((t, i) =>
                          t.left >= s.left && t.right <= s.right + 0.5 && t.right <= innerWidth &&
                          (i === 0 || t.top > r[i - 1].top + 1 || t.left > r[i - 1].left)); })())")
                      .get<bool>());
            // Each row under the one before; its box and button side by side.
            const Json rows = browser().evaluate(R"(
                [...document.querySelectorAll('.page:not([hidden]) input')].map(box => {
                  const r = box.getBoundingClientRect();
                  const b = document.getElementById(box.id.replace('Text', 'Command')).getBoundingClientRect();
                  const l = document.querySelector(`label[for=${box.id}]`).getBoundingClientRect();
                  return [l.bottom <= r.top + 1, Math.abs(b.top - r.top) < 8, r.top,
                          Math.min(r.height, b.height, b.width),
                          parseFloat(getComputedStyle(box).fontSize)];
                }).sort((a, b) => a[2] - b[2]))");
            REQUIRE(!rows.empty());
            double above = -1;
            for (const Json& row : rows) {
                CHECK(row.at(0).get<bool>());            // the unit's name above its box
                CHECK(row.at(1).get<bool>());            // the button beside it
                CHECK(row.at(2).get<double>() > above);  // one column
                above = row.at(2).get<double>();
                CHECK(row.at(3).get<double>() >= 44);  // a finger's target
                CHECK(row.at(4).get<double>() >= 16);  // no zoom on focus
            }
            const Json tabs = browser().evaluate(
                "[...document.querySelectorAll('[role=tab]')].map(t => "
                "Math.min(t.getBoundingClientRect().height, t.getBoundingClientRect().width))");
            for (const Json& size : tabs) {
                CHECK(size.get<double>() >= 44);
            }
        }
    }
    browser().resize(1280, 800);
}

TEST_CASE("a message takes the focus, closes on Enter or Esc, and leaves it in the box at fault") {
    for (const char* closing : {"Enter", "Escape"}) {
        CAPTURE(std::string_view(closing));
        // Once on a desktop, once on the narrowest phone.
        const bool phone = std::string_view(closing) == "Escape";
        browser().resize(phone ? 320 : 1280, phone ? 640 : 800, phone);
        browser().open(server().url());
        browser().evaluate(
            "document.getElementById('Text29').value = 'abc';"
            "document.getElementById('Text30').value = 'old';"
            "document.getElementById('Command29').focus()");
        browser().key("Enter", "Enter", 13, "\r");
        CHECK(browser().evaluate("document.getElementById('message').open").get<bool>());
        CHECK(browser()
                  .evaluate("document.getElementById('message').contains(document.activeElement)")
                  .get<bool>());
        // The button takes the focus once the page behind has gone inert.
        CHECK(browser().evaluate("document.activeElement.id").get<std::string>() == "message");
        browser().waitUntil("document.activeElement.id === 'message-ok'");
        CHECK(browser()
                  .evaluate("(r => r.left >= 8 && r.right <= innerWidth - 8)(document"
                            ".getElementById('message').getBoundingClientRect())")
                  .get<bool>());
        // Named by its title; the message describes the button that has the
        // focus, and is nowhere else in the tree, so that it is heard once.
        const std::string message =
            qimbar::app::texts::errorMessage("Kub metr", ErrorKind::NotANumber);
        int named = 0;
        for (const Named& dialog : nodesOf("dialog")) {
            named += dialog.name == "Qimbar birliklari" && dialog.description.empty() ? 1 : 0;
        }
        CHECK(named == 1);
        int described = 0;
        for (const Named& button : nodesOf("button")) {
            described += button.name == "OK" && button.description == message ? 1 : 0;
        }
        CHECK(described == 1);
        CHECK_FALSE(hasNode("StaticText", message));
        if (std::string_view(closing) == "Enter") {
            browser().key("Enter", "Enter", 13, "\r");
        } else {
            browser().key("Escape", "Escape", 27);
        }
        CHECK_FALSE(browser().evaluate("document.getElementById('message').open").get<bool>());
        CHECK(browser()
                  .evaluate("(e => e.id + ' ' + e.value.slice(e.selectionStart, e.selectionEnd))"
                            "(document.activeElement)")
                  .get<std::string>() == "Text29 abc");
        CHECK(browser().evaluate("document.getElementById('Text30').value").get<std::string>() ==
              "old");
    }
    browser().resize(1280, 800);
    // A press that converted says so where a screen reader hears it, and
    // leaves the focus where it was.
    browser().evaluate(
        "document.getElementById('Text29').value = '1';"
        "document.getElementById('Command29').focus()");
    browser().key("Enter", "Enter", 13, "\r");
    CHECK(nodesOf("status").size() == 1);
    qimbar::testing::MemoryBoxes native(29, 35);
    native.setText(29, "1");
    REQUIRE_FALSE(qimbar::app::pressRow(3, 1, native));
    CHECK(text("status") == qimbar::app::pressSummary(3, 1, native));
    CHECK(browser().evaluate("document.activeElement.id").get<std::string>() == "Command29");
}

TEST_CASE("before the module arrives the rows take typing and a press waits for it") {
    Chromium early;
    early.resize(1280, 800);
    // The page as the server sends it, with its module held back.
    early.send("Network.enable");
    early.send("Network.setBlockedURLs", {{"urls", {"*/qimbar.js"}}});
    early.open(server().url(), "document.readyState === 'complete'");
    REQUIRE_FALSE(
        early.evaluate("'ready' in document.getElementById('Form1').dataset").get<bool>());
    // The tabs work already.
    early.clickOn("document.getElementById('tab-1')");
    CHECK(text("Text1", early).empty());
    CHECK(early.evaluate("document.getElementById('Text1').checkVisibility()").get<bool>());
    early.clickOn("document.getElementById('tab-3')");
    early.clickOn("document.getElementById('Text29')");
    early.type("12");
    early.clickOn("document.getElementById('Command29')");
    CHECK(text("Text30", early).empty());
    CHECK(text("status", early) == qimbar::app::texts::kLoading);
    // Typed after the press: the press keeps what it was made with.
    early.clickOn("document.getElementById('Text29')");
    early.type("3");
    // Two presses that fail, on another page.
    early.evaluate("document.getElementById('Text36').value = 'x'");
    early.clickOn("document.getElementById('tab-4')");
    early.clickOn("document.getElementById('Command36')");
    early.clickOn("document.getElementById('Command37')");
    early.clickOn("document.getElementById('Text36')");
    // Then the module comes: the presses are made and the texts stay; the
    // focus ends in the box the last message was about.
    early.send("Network.setBlockedURLs", {{"urls", Json::array()}});
    early.evaluate(
        "document.head.append(Object.assign(document.createElement('script'), "
        "{ src: 'qimbar.js' }))");
    early.waitUntil("'ready' in document.getElementById('Form1').dataset");
    early.waitUntil("document.getElementById('message').open");
    CHECK(text("Text30", early) == "12000");
    CHECK(text("Text29", early) == "123");
    // One dialog at a time: the second after the first has closed.
    CHECK(text("message-text", early) ==
          qimbar::app::texts::errorMessage("Km/soat", ErrorKind::NotANumber));
    early.key("Escape", "Escape", 27);
    early.waitUntil("document.getElementById('message').open");
    CHECK(text("message-text", early) ==
          qimbar::app::texts::errorMessage("metr/sek", ErrorKind::EmptyBox));
    early.key("Escape", "Escape", 27);
    CHECK(early.evaluate("document.activeElement.id").get<std::string>() == "Text37");
}

TEST_CASE("when the module cannot come or cannot run, the page says so") {
    for (const char* blocked : {"*/qimbar.js", "*/qimbar.wasm"}) {
        CAPTURE(std::string_view(blocked));
        Chromium cut;
        cut.send("Network.enable");
        cut.send("Network.setBlockedURLs", {{"urls", {blocked}}});
        cut.open(server().url(), "document.getElementById('trouble').textContent !== ''");
        CHECK(text("trouble", cut) == qimbar::app::texts::kCannotWork);
        CHECK(cut.evaluate("document.getElementById('trouble').getAttribute('role')")
                  .get<std::string>() == "alert");
        cut.clickOn("document.getElementById('tab-2')");
        CHECK(cut.evaluate("document.getElementById('Text21').checkVisibility()").get<bool>());
    }
}

TEST_CASE("after one visit the page works offline, at every address it is opened by") {
    for (const char* address :
         {"", "index.html", "?from=link", "index.html?a=1#page=4&row=1&v=5", "#page=3&row=1&v=7"}) {
        CAPTURE(std::string_view(address));
        // A server of its own, which goes away.
        StaticServer own(qimbar::testing::webSite());
        Chromium offline;
        offline.open(own.url() + address);
        offline.waitUntil("navigator.serviceWorker.controller !== null");
        own.stop();
        CHECK_THROWS(offline.evaluate("fetch('/not-cached').then(r => r.status)"));
        offline.send("Page.reload");
        offline.waitUntil("'ready' in document.getElementById('Form1').dataset");
        offline.clickOn("document.getElementById('tab-3')");
        offline.evaluate("document.getElementById('Text29').value = '2'");
        offline.evaluate("document.getElementById('Command29').click()");
        CHECK(text("Text30", offline) == "2000");
    }
}

namespace {

// The contrast of two CSS colours, as WCAG measures it; `pairs` a script
// giving [[foreground, background, least], ...] of computed colours; the
// pairs that fall short.
Json shortContrast(const std::string& pairs) {
    return browser().evaluate(R"((() => {
      const lum = (c) => { const [r, g, b] = c.match(/[\d.]+/g).slice(0, 3).map((v) => {
        v /= 255; return v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4; });
        return 0.2126 * r + 0.7152 * g + 0.0722 * b; };
      const ratio = (a, b) => (Math.max(lum(a), lum(b)) + 0.05) / (Math.min(lum(a), lum(b)) + 0.05);
      const style = (id) => getComputedStyle(document.querySelector(id));
      return ()" + pairs + R"()().filter(([a, b, least]) => ratio(a, b) < least)
        .map(([a, b, least]) => `${a} on ${b}: ${ratio(a, b).toFixed(2)} < ${least}`); })())");
}

}  // namespace

TEST_CASE("the selected tab and every text stand out, light and dark, wide and narrow") {
    const std::string pairs = R"(() => [
      [style('[aria-selected=true]').boxShadow.match(/rgb[^)]*\)/)[0],
       style('[aria-selected=false]').backgroundColor, 3],
      [style('[aria-selected=true]').color, style('[aria-selected=true]').backgroundColor, 4.5],
      [style('[aria-selected=false]').color, style('[aria-selected=false]').backgroundColor, 4.5],
      [style('#Label20').color, style('#Form1').backgroundColor, 4.5],
      [style('#Text29').color, style('#Text29').backgroundColor, 4.5],
      [style('#Text29').borderTopColor, style('#Form1').backgroundColor, 3],
      [style('#Command29').color, style('#Command29').backgroundColor, 4.5],
      [style('#Label1').color, style('body').backgroundColor, 4.5],
      [style('#version').color, style('body').backgroundColor, 4.5],
      [style('#share').color, style('#share').backgroundColor, 4.5]])";
    for (const char* scheme : {"light", "dark"}) {
        for (const auto& screen : {std::pair(1280, false), std::pair(360, true)}) {
            const int width = screen.first;
            CAPTURE(std::string_view(scheme));
            CAPTURE(width);
            browser().resize(width, 740, screen.second);
            browser().send("Emulation.setEmulatedMedia",
                           {{"features", {{{"name", "prefers-color-scheme"}, {"value", scheme}}}}});
            browser().open(server().url());
            const Json short_ = shortContrast(pairs);
            CHECK_MESSAGE(short_.empty(), short_.dump());
        }
    }
    // Under forced colours the system's highlight marks it.
    browser().resize(1280, 800);
    browser().send("Emulation.setEmulatedMedia",
                   {{"features", {{{"name", "forced-colors"}, {"value", "active"}}}}});
    browser().open(server().url());
    const Json forced = shortContrast(R"(() => [[style('[aria-selected=true]').backgroundColor,
      style('[aria-selected=false]').backgroundColor, 3]])");
    CHECK_MESSAGE(forced.empty(), forced.dump());
    browser().send("Emulation.setEmulatedMedia", {{"features", Json::array()}});
}

TEST_CASE("a unit's explanation shows on a touch of its name or the focus in its box") {
    for (const bool phone : {false, true}) {
        CAPTURE(phone);
        browser().resize(phone ? 360 : 1280, 740, phone);
        browser().open(server().url());
        selectPage(1);
        const auto shown = [] {
            return browser()
                .evaluate(
                    "(e => e.checkVisibility() && e.getBoundingClientRect().width > 1 && "
                    "e.getBoundingClientRect().bottom <= innerHeight + scrollY)"
                    "(document.getElementById('Text5-about'))")
                .get<bool>();
        };
        CHECK_FALSE(shown());
        browser().clickOn("document.getElementById('Label6')");
        CHECK(browser().evaluate("document.activeElement.id").get<std::string>() == "Text5");
        CHECK(shown());
        CHECK(text("Text5-about") == "1 Arshin = 0.7 Metr");
        browser().key("Tab", "Tab", 9);
        CHECK_FALSE(shown());
        // Unseen, it is still in the tree: nothing there comes and goes with the focus.
        CHECK(hasNode("StaticText", "1 Arshin = 0.7 Metr"));
        browser().evaluate("document.getElementById('Text5').focus()");
        CHECK(shown());
        // Shown, it hides no control of its page.
        const Json hidden = browser().evaluate(R"(
          [...document.querySelectorAll('#page-1 input')].flatMap(box => {
            box.focus();
            const a = document.getElementById(box.id + '-about').getBoundingClientRect();
            return [...document.querySelectorAll('#page-1 :is(input, button, label)')].filter(c => {
              const r = c.getBoundingClientRect();
              return r.left < a.right && a.left < r.right && r.top < a.bottom && a.top < r.bottom;
            }).map(c => `${box.id}: ${c.id}`); }))");
        CHECK_MESSAGE(hidden.empty(), hidden.dump());
        // Every box takes what a phone's full keyboard types: minus, exponent, comma.
        CHECK(browser()
                  .evaluate("[...document.querySelectorAll('input[aria-describedby]')]"
                            ".every(e => e.inputMode === 'text')")
                  .get<bool>());
    }
    browser().resize(1280, 800);
}
