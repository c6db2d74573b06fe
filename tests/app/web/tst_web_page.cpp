// What only the web page has: what the browser's accessibility tree says,
// text that fits on a desktop and on a phone, the layout a phone gets, the
// message dialog's focus, rows that take typing before the module runs,
// working offline, and the manifest that makes it installable. In Debian's
// headless Chromium.
#include "app/unit_explanation.h"
#include "app/window_description.h"
#include "convert/pages.h"
#include "tests/app/web/chromium.h"

#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <algorithm>
#include <doctest/doctest.h>
#include <map>
#include <string>
#include <vector>

using qimbar::testing::Chromium;
using qimbar::testing::Json;
using qimbar::testing::StaticServer;

namespace {

Chromium& browser() {
    static Chromium chromium;
    return chromium;
}

StaticServer& server() {
    static StaticServer served(qimbar::testing::webSite());
    return served;
}

void selectPage(int page) {
    browser().clickOn("document.getElementById('tab-" + std::to_string(page) + "')");
}

struct Named {
    std::string name;
    std::string description;
};

// The accessibility tree's nodes of a role that a person can reach, by name.
std::vector<Named> nodesOf(const std::string& role) {
    const Json tree = browser().send("Accessibility.getFullAXTree");
    std::vector<Named> found;
    for (const Json& node : tree.at("nodes")) {
        if (node.value("ignored", false) || !node.contains("role") ||
            node.at("role").value("value", "") != role) {
            continue;
        }
        const auto text = [&node](const char* field) {
            return node.contains(field) ? node.at(field).value("value", "") : std::string();
        };
        found.push_back({text("name"), text("description")});
    }
    return found;
}

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

TEST_CASE("nothing clips or wraps, on a desktop and on a phone") {
    struct Screen {
        const char* name;
        int width;
        int height;
        bool mobile;
    };
    const Screen screens[] = {{"1280 x 800", 1280, 800, false}, {"360 x 740", 360, 740, true}};
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

TEST_CASE(
    "on a phone: one column, a strip that scrolls, room for a finger, text it need not zoom") {
    for (const int width : {320, 360}) {
        CAPTURE(width);
        browser().resize(width, 740, true);
        browser().open(server().url());
        for (int page = 1; page <= 6; ++page) {
            CAPTURE(page);
            selectPage(page);
            // Nothing but the tab strip scrolls sideways.
            CHECK(browser().evaluate("document.documentElement.scrollWidth").get<int>() <= width);
            CHECK(browser()
                      .evaluate("getComputedStyle(document.querySelector('.strip')).overflowX")
                      .get<std::string>() == "auto");
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

TEST_CASE("a message takes the focus, closes on Enter or Esc, and gives the focus back") {
    browser().resize(1280, 800);
    for (const char* closing : {"Enter", "Escape"}) {
        CAPTURE(std::string_view(closing));
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
        // Named by its title, the message its description.
        bool found = false;
        for (const Named& dialog : nodesOf("dialog")) {
            found = found || (dialog.name == "Qimbar birliklari" &&
                              dialog.description == "Kub metr: Kiritilgan qiymat son emas.");
        }
        CHECK(found);
        if (std::string_view(closing) == "Enter") {
            browser().key("Enter", "Enter", 13, "\r");
        } else {
            browser().key("Escape", "Escape", 27);
        }
        CHECK_FALSE(browser().evaluate("document.getElementById('message').open").get<bool>());
        CHECK(browser().evaluate("document.activeElement.id").get<std::string>() == "Command29");
        CHECK(browser().evaluate("document.getElementById('Text30').value").get<std::string>() ==
              "old");
    }
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
    early.clickOn("document.getElementById('Text29')");
    early.type("12");
    early.clickOn("document.getElementById('Command29')");
    CHECK(early.evaluate("document.getElementById('Text30').value").get<std::string>().empty());
    // Then the module comes: the press is made, the text and the focus stay.
    early.send("Network.setBlockedURLs", {{"urls", Json::array()}});
    early.evaluate(
        "document.head.append(Object.assign(document.createElement('script'), "
        "{ src: 'qimbar.js' }))");
    early.waitUntil("'ready' in document.getElementById('Form1').dataset");
    CHECK(early.evaluate("document.getElementById('Text30').value").get<std::string>() == "12000");
    CHECK(early.evaluate("document.getElementById('Text29').value").get<std::string>() == "12");
    CHECK(early.evaluate("document.activeElement.id").get<std::string>() == "Command29");
}

TEST_CASE("after one visit the page works offline") {
    // A server of its own, which goes away.
    StaticServer own(qimbar::testing::webSite());
    Chromium offline;
    offline.open(own.url());
    offline.waitUntil("navigator.serviceWorker.controller !== null");
    own.stop();
    CHECK_THROWS(offline.evaluate("fetch('/not-cached').then(r => r.status)"));
    offline.send("Page.reload");
    offline.waitUntil("'ready' in document.getElementById('Form1').dataset");
    offline.evaluate("document.getElementById('Text29').value = '2'");
    offline.evaluate("document.getElementById('Command29').click()");
    CHECK(offline.evaluate("document.getElementById('Text30').value").get<std::string>() == "2000");
}

TEST_CASE("installable: a manifest with a name, icons, a start and its own window") {
    browser().open(server().url());
    const Json manifest = browser().send("Page.getAppManifest");
    CHECK(manifest.at("errors").empty());
    const Json parsed = Json::parse(manifest.at("data").get<std::string>());
    CHECK(parsed.at("name") == "Qimbar birliklari");
    CHECK(parsed.at("display") == "standalone");
    CHECK(parsed.contains("start_url"));
    std::vector<std::string> sizes;
    for (const Json& icon : parsed.at("icons")) {
        sizes.push_back(icon.at("sizes").get<std::string>());
        const std::string loaded =
            browser()
                .evaluate("fetch(" + Json(icon.at("src")).dump() +
                          ").then(r => r.ok ? r.headers.get('Content-Type') : 'failed')")
                .get<std::string>();
        CHECK(loaded == icon.at("type").get<std::string>());
    }
    CHECK(std::count(sizes.begin(), sizes.end(), "192x192") == 1);
    CHECK(std::count(sizes.begin(), sizes.end(), "512x512") == 1);
    CHECK(browser().evaluate("document.documentElement.lang").get<std::string>() == "uz-Latn");
}
