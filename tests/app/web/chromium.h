#pragma once

// Debian's headless Chromium, driven over the DevTools protocol on a pipe
// (--remote-debugging-pipe: JSON messages ended by NUL), and the static
// server that serves the web page to it. Input goes in as the protocol's
// Input events, through the browser's own input pipeline.

#include <chrono>
#include <deque>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace qimbar::testing {

using Json = nlohmann::json;

// A child process, ended when this goes.
class Child {
public:
    Child() = default;
    explicit Child(pid_t pid) : pid_(pid) {}
    ~Child() { stop(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    Child(Child&& other) noexcept : pid_(std::exchange(other.pid_, -1)) {}
    Child& operator=(Child&& other) noexcept;

    void stop();
    [[nodiscard]] pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
};

// tools/serve-web on a free port of 127.0.0.1; with `maxAge`, as a host that
// lets browsers keep each file that many seconds; with `log`, each answer
// appended to that file.
class StaticServer {
public:
    explicit StaticServer(const std::string& site, std::optional<int> maxAge = std::nullopt,
                          const std::string& log = {});
    [[nodiscard]] const std::string& url() const { return url_; }
    // Gone, as a server that has gone away or a network that is down.
    void stop() { process_.stop(); }

private:
    Child process_;
    std::string url_;
};

// The folder of the web page: QIMBAR_WEB_SITE, as the build was told it.
[[nodiscard]] std::string webSite();

class Chromium {
public:
    Chromium();
    ~Chromium();
    Chromium(const Chromium&) = delete;
    Chromium& operator=(const Chromium&) = delete;
    Chromium(Chromium&&) = delete;
    Chromium& operator=(Chromium&&) = delete;

    // A command to the page's session (or the browser's, with `browser`);
    // its result, or an exception carrying the protocol's error.
    Json send(std::string_view method, Json params = Json::object(), bool browser = false);

    // A script's value in the page; promises are awaited.
    Json evaluate(const std::string& expression);
    // The page at `url`, once its script has built the window (or, with
    // `waitFor` empty, once it has loaded).
    void open(const std::string& url,
              const std::string& waitFor = "'ready' in document.getElementById('Form1').dataset");
    // Waits until `condition` is true in the page, or throws after `limit`.
    void waitUntil(const std::string& condition,
                   std::chrono::milliseconds limit = std::chrono::seconds(20));
    // A new tab in a browsing context of its own, with nothing cached and no
    // service worker: a first visit, in a browser already running.
    void freshTab();
    // The viewport, as a screen of that size shows the page.
    void resize(int width, int height, bool mobile = false);

    // Input as a person gives it.
    void click(double x, double y);
    // A click at the middle of the element a script expression finds.
    void clickOn(const std::string& element);
    // A key; `text` for one that types; `modifiers` as the protocol counts
    // them (1 Alt, 2 Ctrl, 4 Meta, 8 Shift).
    void key(std::string_view key, std::string_view code, int virtualKey,
             std::string_view text = {}, int modifiers = 0, int location = 0,
             const Json& commands = Json::array());
    // The text typed key by key, each character as the key that types it.
    void type(std::string_view text);

private:
    Json receive(int id);
    void write(const Json& message) const;
    void attach(const std::string& context);

    Child process_;
    int toBrowser_ = -1;
    int fromBrowser_ = -1;
    int nextId_ = 1;
    std::string buffer_;
    std::string session_;
    std::string target_;
    std::string context_;
    std::string profile_;
};

}  // namespace qimbar::testing
