// The behaviour suite's driver for the web page, in Debian's headless
// Chromium: clicks, keys, typing and Ctrl+V go in as the DevTools protocol's
// Input events, through the browser's own input pipeline; what the page
// shows is read back from its document. The message box is the page's own
// dialog, read and then closed with Esc as a person would.
#include "app/row_view.h"
#include "tests/app/web/chromium.h"
#include "tests/app/window_driver.h"

#define DOCTEST_CONFIG_IMPLEMENT
#include <cmath>
#include <doctest/doctest.h>
#include <memory>
#include <stdexcept>

namespace qimbar::testing {

namespace {

// One browser and one server for the whole run; each window is the page
// loaded afresh.
Chromium& browser() {
    static Chromium chromium;
    return chromium;
}

StaticServer& server() {
    static StaticServer served(webSite());
    return served;
}

std::string quoted(std::string_view text) {
    return Json(std::string(text)).dump();
}

std::string elementOf(std::string_view name) {
    return "document.getElementById(" + quoted(name) + ")";
}

class WebWindow final : public WindowDriver {
public:
    // Open once the module has come and the page has put the focus where it starts.
    WebWindow() {
        browser().open(server().url(),
                       "'ready' in document.getElementById('Form1').dataset && "
                       "document.activeElement !== document.body");
    }

    std::string title() override { return browser().evaluate("document.title").get<std::string>(); }

    app::Pixels clientArea() override {
        const Json size = browser().evaluate(
            "(() => { const r = document.getElementById('Form1').getBoundingClientRect();"
            " return [r.width, r.height]; })()");
        return {0, 0, size.at(0).get<int>(), size.at(1).get<int>()};
    }

    std::vector<std::string> tabCaptions() override {
        return browser()
            .evaluate("[...document.querySelectorAll('[role=tab]')].map(t => t.textContent)")
            .get<std::vector<std::string>>();
    }

    int currentPage() override {
        return browser()
            .evaluate("Number(document.getElementById('Form1').dataset.page)")
            .get<int>();
    }

    void selectPage(int page) override {
        clickAt("document.getElementById('tab-" + std::to_string(page) + "')");
    }

    bool exists(std::string_view name) override {
        return browser().evaluate(elementOf(name) + " !== null").get<bool>();
    }

    app::Kind kind(std::string_view name) override {
        const auto tag = browser().evaluate(element(name) + ".localName").get<std::string>();
        if (name == "SSTab1") {
            return app::Kind::TabControl;
        }
        if (tag == "input") {
            return app::Kind::TextBox;
        }
        if (tag == "button") {
            return app::Kind::Button;
        }
        if (tag == "label" || tag == "p") {
            return app::Kind::Label;
        }
        throw std::runtime_error("a control of no known kind: " + std::string(name));
    }

    std::string caption(std::string_view name) override {
        return browser()
            .evaluate("(e => e.localName === 'input' ? '' : e.textContent)(" + element(name) + ")")
            .get<std::string>();
    }

    app::Pixels geometry(std::string_view name) override {
        // Measured as the description measures: the tab control and the
        // credit line from the window, every other control from the tab control.
        const std::string from = name == "SSTab1" || name == "Label1" ? "Form1" : "SSTab1";
        const Json r = browser().evaluate(
            "(() => { const e = " + element(name) +
            ".getBoundingClientRect(), o = " + elementOf(from) + ".getBoundingClientRect();" +
            " return [e.left - o.left, e.top - o.top, e.width, e.height]; })()");
        return {static_cast<int>(std::lround(r.at(0).get<double>())),
                static_cast<int>(std::lround(r.at(1).get<double>())),
                static_cast<int>(std::lround(r.at(2).get<double>())),
                static_cast<int>(std::lround(r.at(3).get<double>()))};
    }

    bool visible(std::string_view name) override {
        return browser()
            .evaluate(element(name) + ".checkVisibility({checkVisibilityCSS: true})")
            .get<bool>();
    }

    std::string text(std::string_view name) override {
        return browser().evaluate(element(name) + ".value").get<std::string>();
    }
    std::string selectedText(std::string_view name) override {
        return browser()
            .evaluate("(e => e.value.slice(e.selectionStart, e.selectionEnd))(" + element(name) +
                      ")")
            .get<std::string>();
    }

    void setText(std::string_view name, std::string_view text) override {
        browser().evaluate(element(name) + ".value = " + quoted(text) + ", true");
    }

    void type(std::string_view name, std::string_view text) override {
        browser().evaluate(
            "(e => { e.focus(); e.setSelectionRange(e.value.length, e.value.length); })(" +
            element(name) + ")");
        browser().type(text);
        takeMessage();
    }

    void paste(std::string_view name, std::string_view text) override {
        browser().evaluate("(e => { e.value = ''; e.focus(); })(" + element(name) + ")");
        // The clipboard filled as another program would fill it; then Ctrl+V.
        browser().send("Browser.grantPermissions",
                       {{"permissions", {"clipboardReadWrite", "clipboardSanitizedWrite"}},
                        {"origin", server().url().substr(0, server().url().size() - 1)}},
                       true);
        browser().evaluate("navigator.clipboard.writeText(" + quoted(text) + ")");
        browser().key("v", "KeyV", 86, {}, 2, 0, Json::array({"paste"}));
        takeMessage();
    }

    void click(std::string_view name) override {
        if (visible(name)) {
            clickAt(element(name));
        } else {
            // No pointer reaches a control no one sees.
            browser().evaluate(element(name) + ".click()");
            takeMessage();
        }
    }

    void focus(std::string_view name) override {
        if (name == "SSTab1") {
            browser().evaluate("document.querySelector('[role=tab][aria-selected=true]').focus()");
        } else {
            browser().evaluate(element(name) + ".focus()");
        }
    }

    // The page's own controls around the window (its share button) are no
    // more the window's than the browser's are.
    std::string focused() override {
        return browser()
            .evaluate(
                "(e => !e || !document.getElementById('Form1').contains(e) ? '(none)' : "
                "e.getAttribute('role') === 'tab' ? 'SSTab1' : e.id)(document.activeElement)")
            .get<std::string>();
    }

    void key(Key key) override {
        switch (key) {
            case Key::Tab:
                browser().key("Tab", "Tab", 9);
                break;
            case Key::ShiftTab:
                browser().key("Tab", "Tab", 9, {}, 8);
                break;
            case Key::Space:
                browser().key(" ", "Space", 32, " ");
                break;
            case Key::Enter:
                browser().key("Enter", "Enter", 13, "\r");
                break;
            case Key::KeypadEnter:
                browser().key("Enter", "NumpadEnter", 13, "\r", 0, 3);
                break;
            case Key::Escape:
                browser().key("Escape", "Escape", 27);
                break;
            case Key::CtrlTab:
            case Key::CtrlShiftTab:
                throw std::logic_error("the browser takes Ctrl+Tab");
            case Key::Left:
                browser().key("ArrowLeft", "ArrowLeft", 37);
                break;
            case Key::Right:
                browser().key("ArrowRight", "ArrowRight", 39);
                break;
        }
        takeMessage();
    }

    TextRoom textRoom(std::string_view name) override { return roomOf(element(name)); }

    TextRoom tabTextRoom(int page) override {
        return roomOf("document.getElementById('tab-" + std::to_string(page) + "')");
    }

    // The document's order: each row's box, then its button, row 1 down.
    std::vector<std::string> keyboardOrder(int page) override {
        std::vector<std::string> order;
        for (const auto* control : app::readingOrder(page)) {
            if (control->kind != app::Kind::Label) {
                order.emplace_back(control->name);
            }
        }
        return order;
    }

    std::optional<std::string_view> tabLeavesWindow() override {
        return "a page's Tab cycle goes on through its browser's own controls";
    }

    std::optional<std::string_view> cannotSend(Key key) override {
        if (key == Key::CtrlTab || key == Key::CtrlShiftTab) {
            return "a browser takes Ctrl+Tab and Ctrl+Shift+Tab to move between its own tabs";
        }
        return std::nullopt;
    }

    void destroy(std::string_view name) override {
        browser().evaluate(element(name) + ".remove()");
    }

    std::vector<ShownError> takeErrors() override { return std::exchange(errors_, {}); }

    // A page's memory is the browser's: nothing the page can measure.
    std::optional<std::size_t> residentBytes() override { return std::nullopt; }

private:
    static std::string element(std::string_view name) {
        return "(e => { if (!e) throw new Error('no control " + std::string(name) +
               "'); return e; })(" + elementOf(name) + ")";
    }

    // Measured in the page: the content box; the width the text's own
    // characters take (a Range over them); the height of its lines, so a
    // text that wraps takes two.
    static TextRoom roomOf(const std::string& expression) {
        const Json room = browser().evaluate(R"((e => {
          const s = getComputedStyle(e), across = parseFloat(s.paddingLeft) + parseFloat(s.paddingRight);
          const m = document.createElement('canvas').getContext('2d');
          m.font = s.font;
          const f = m.measureText('Hg'), r = document.createRange();
          r.selectNodeContents(e);
          const b = e.localName === 'input' ? { width: 0, height: 0 } : r.getBoundingClientRect();
          return [e.clientWidth - across, e.clientHeight - parseFloat(s.paddingTop) - parseFloat(s.paddingBottom),
                  Math.max(b.width, e.scrollWidth > e.clientWidth ? e.scrollWidth - across : 0),
                  Math.max(b.height, f.fontBoundingBoxAscent + f.fontBoundingBoxDescent)];
        })()" + expression + ")");
        const auto at = [&room](std::size_t i) {
            return static_cast<int>(std::ceil(room.at(i).get<double>() - 0.01));
        };
        return {static_cast<int>(room.at(0).get<double>()),
                static_cast<int>(room.at(1).get<double>()), at(2), at(3)};
    }

    // A click at the middle of what `expression` finds, as a pointer gives it.
    void clickAt(const std::string& expression) {
        browser().clickOn(expression);
        takeMessage();
    }

    // A message the page shows, read as a person would, then closed with Esc.
    void takeMessage() {
        const Json shown = browser().evaluate(
            "(d => d && d.open ? [d.querySelector('#message-title').textContent, "
            "d.querySelector('#message-text').textContent]"
            " : null)(document.getElementById('message'))");
        if (shown.is_null()) {
            return;
        }
        errors_.push_back({shown.at(0).get<std::string>(), shown.at(1).get<std::string>()});
        browser().key("Escape", "Escape", 27);
        if (browser().evaluate("document.getElementById('message').open").get<bool>()) {
            throw std::runtime_error("the message did not close on Esc");
        }
    }

    std::vector<ShownError> errors_;
};

}  // namespace

std::unique_ptr<WindowDriver> openWindow() {
    return std::make_unique<WebWindow>();
}

}  // namespace qimbar::testing

int main(int argc, char* argv[]) {
    doctest::Context context(argc, argv);
    return context.run();
}
