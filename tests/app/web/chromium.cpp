#include "tests/app/web/chromium.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace qimbar::testing {

namespace {

using namespace std::chrono_literals;

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

// Closes a file descriptor when it goes.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) {
            close(fd);
        }
    }
};

pid_t spawn(const std::vector<std::string>& command, const std::vector<std::pair<int, int>>& dups) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const auto& [from, to] : dups) {
        posix_spawn_file_actions_adddup2(&actions, from, to);
    }
    std::vector<char*> argv;
    argv.reserve(command.size() + 1);
    for (const std::string& part : command) {
        argv.push_back(const_cast<char*>(part.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        fail("cannot start " + command.front());
    }
    return pid;
}

int devNull() {
    return ::open("/dev/null", O_WRONLY | O_CLOEXEC);
}

}  // namespace

Child& Child::operator=(Child&& other) noexcept {
    if (this != &other) {
        stop();
        pid_ = std::exchange(other.pid_, -1);
    }
    return *this;
}

void Child::stop() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        for (int waited = 0; waited < 300; ++waited) {
            if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return;
            }
            std::this_thread::sleep_for(10ms);
        }
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
}

std::string webSite() {
    return QIMBAR_WEB_SITE;
}

StaticServer::StaticServer(const std::string& site, std::optional<int> maxAge,
                           const std::string& log) {
    std::array<int, 2> out{};
    if (pipe2(out.data(), O_CLOEXEC) != 0) {
        fail("pipe");
    }
    Descriptor reader{out[0]};
    Descriptor writer{out[1]};
    Descriptor quiet{devNull()};
    std::vector<std::string> command{"node", QIMBAR_SOURCE_DIR "/tools/serve-web", site, "0"};
    if (maxAge || !log.empty()) {
        command.push_back(maxAge ? std::to_string(*maxAge) : "");
        command.push_back(log);
    }
    process_ = Child(spawn(command, {{writer.fd, STDOUT_FILENO}, {quiet.fd, STDERR_FILENO}}));
    close(std::exchange(writer.fd, -1));
    std::string line;
    char c = 0;
    pollfd waiting{reader.fd, POLLIN, 0};
    while (line.empty() || line.back() != '\n') {
        if (poll(&waiting, 1, 10000) <= 0 || read(reader.fd, &c, 1) != 1) {
            fail("the static server did not start");
        }
        line += c;
    }
    line.pop_back();
    url_ = line;
}

Chromium::Chromium() {
    std::array<char, 64> profile{"/tmp/qimbar-chromium.XXXXXX"};
    if (mkdtemp(profile.data()) == nullptr) {
        fail("mkdtemp");
    }
    profile_ = profile.data();
    std::array<int, 2> commands{};
    std::array<int, 2> answers{};
    if (pipe2(commands.data(), O_CLOEXEC) != 0 || pipe2(answers.data(), O_CLOEXEC) != 0) {
        fail("pipe");
    }
    const char* program = std::getenv("QIMBAR_CHROMIUM");
    Descriptor quiet{devNull()};
    process_ = Child(spawn(
        {program != nullptr ? program : "chromium", "--headless", "--no-sandbox", "--disable-gpu",
         "--disable-quic", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--disable-extensions", "--mute-audio",
         "--remote-debugging-pipe", "--user-data-dir=" + profile_, "about:blank"},
        {{commands[0], 3}, {answers[1], 4}, {quiet.fd, STDOUT_FILENO}, {quiet.fd, STDERR_FILENO}}));
    close(commands[0]);
    close(answers[1]);
    toBrowser_ = commands[1];
    fromBrowser_ = answers[0];

    attach({});
}

void Chromium::attach(const std::string& context) {
    Json params{{"url", "about:blank"}};
    if (!context.empty()) {
        params["browserContextId"] = context;
    }
    target_ = send("Target.createTarget", params, true).at("targetId").get<std::string>();
    const Json attached =
        send("Target.attachToTarget", {{"targetId", target_}, {"flatten", true}}, true);
    session_ = attached.at("sessionId").get<std::string>();
    send("Page.enable");
    send("Runtime.enable");
    // Focus as in a window that has it: a headless page has none of its own.
    send("Emulation.setFocusEmulationEnabled", {{"enabled", true}});
    resize(1280, 800);
}

void Chromium::freshTab() {
    send("Target.closeTarget", {{"targetId", target_}}, true);
    if (!context_.empty()) {
        send("Target.disposeBrowserContext", {{"browserContextId", context_}}, true);
    }
    context_ = send("Target.createBrowserContext", Json::object(), true)
                   .at("browserContextId")
                   .get<std::string>();
    attach(context_);
}

Chromium::~Chromium() {
    try {
        send("Browser.close", Json::object(), true);
    } catch (...) {  // gone already, or going: stopped below either way
    }
    if (toBrowser_ >= 0) {
        close(toBrowser_);
    }
    if (fromBrowser_ >= 0) {
        close(fromBrowser_);
    }
    process_.stop();
    if (!profile_.empty()) {
        std::error_code ignored;  // what a straggling helper still writes stays
        std::filesystem::remove_all(profile_, ignored);
    }
}

void Chromium::write(const Json& message) const {
    std::string bytes = message.dump();
    bytes += '\0';
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(toBrowser_, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("Chromium has gone");
        }
        written += static_cast<std::size_t>(n);
    }
}

Json Chromium::receive(int id) {
    while (true) {
        const std::size_t end = buffer_.find('\0');
        if (end != std::string::npos) {
            Json message = Json::parse(buffer_.substr(0, end));
            buffer_.erase(0, end + 1);
            if (message.contains("id") && message.at("id") == id) {
                return message;
            }
            continue;  // an event, or another command's answer
        }
        pollfd waiting{fromBrowser_, POLLIN, 0};
        if (poll(&waiting, 1, 60000) <= 0) {
            fail("Chromium did not answer in time");
        }
        std::array<char, 65536> chunk{};
        const ssize_t n = read(fromBrowser_, chunk.data(), chunk.size());
        if (n <= 0) {
            fail("Chromium has gone");
        }
        buffer_.append(chunk.data(), static_cast<std::size_t>(n));
    }
}

Json Chromium::send(std::string_view method, Json params, bool browser) {
    const int id = nextId_++;
    Json message{{"id", id}, {"method", method}, {"params", std::move(params)}};
    if (!browser && !session_.empty()) {
        message["sessionId"] = session_;
    }
    write(message);
    Json answer = receive(id);
    if (answer.contains("error")) {
        fail(std::string(method) + ": " + answer.at("error").dump());
    }
    return answer.value("result", Json::object());
}

Json Chromium::evaluate(const std::string& expression) {
    const Json result =
        send("Runtime.evaluate",
             {{"expression", expression}, {"returnByValue", true}, {"awaitPromise", true}});
    if (result.contains("exceptionDetails")) {
        fail("in the page: " + result.at("exceptionDetails").dump() + "\n  " + expression);
    }
    return result.at("result").value("value", Json());
}

void Chromium::waitUntil(const std::string& condition, std::chrono::milliseconds limit) {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (true) {
        try {
            if (evaluate("Boolean(" + condition + ")").get<bool>()) {
                return;
            }
        } catch (const std::runtime_error&) {
            // The page is between documents, or not far enough yet.
        }
        if (std::chrono::steady_clock::now() > until) {
            fail("never true in the page: " + condition);
        }
        std::this_thread::sleep_for(10ms);
    }
}

void Chromium::open(const std::string& url, const std::string& waitFor) {
    send("Page.navigate", {{"url", url}});
    waitUntil(waitFor.empty() ? "document.readyState === 'complete'" : waitFor);
}

void Chromium::resize(int width, int height, bool mobile) {
    send("Emulation.setDeviceMetricsOverride",
         {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", mobile}});
    // A phone's pointer is a finger: coarse.
    send("Emulation.setTouchEmulationEnabled", {{"enabled", mobile}, {"maxTouchPoints", 1}});
}

void Chromium::click(double x, double y) {
    for (const char* type : {"mouseMoved", "mousePressed", "mouseReleased"}) {
        send("Input.dispatchMouseEvent",
             {{"type", type},
              {"x", x},
              {"y", y},
              {"button", "left"},
              {"buttons", std::string_view(type) == "mousePressed" ? 1 : 0},
              {"clickCount", 1}});
    }
}

void Chromium::clickOn(const std::string& element) {
    const Json centre = evaluate("(r => [r.left + r.width / 2, r.top + r.height / 2])((" + element +
                                 ").getBoundingClientRect())");
    click(centre.at(0).get<double>(), centre.at(1).get<double>());
}

void Chromium::key(std::string_view key, std::string_view code, int virtualKey,
                   std::string_view text, int modifiers, int location, const Json& commands) {
    Json down{{"type", text.empty() ? "rawKeyDown" : "keyDown"},
              {"key", key},
              {"code", code},
              {"windowsVirtualKeyCode", virtualKey},
              {"nativeVirtualKeyCode", virtualKey},
              {"modifiers", modifiers},
              {"location", location}};
    if (!text.empty()) {
        down["text"] = text;
        down["unmodifiedText"] = text;
    }
    if (!commands.empty()) {
        down["commands"] = commands;
    }
    send("Input.dispatchKeyEvent", down);
    Json up = down;
    up["type"] = "keyUp";
    up.erase("text");
    up.erase("unmodifiedText");
    up.erase("commands");
    send("Input.dispatchKeyEvent", up);
}

void Chromium::type(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            fail("typing only what a US keyboard types");
        }
        const std::string one(1, c);
        std::string code;
        int virtualKey = 0;
        int modifiers = 0;
        const auto ascii = static_cast<unsigned char>(c);
        if (c >= '0' && c <= '9') {
            code = std::string("Digit") + c;
            virtualKey = ascii;
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            const auto upper = static_cast<unsigned char>(ascii & ~0x20U);
            code = std::string("Key") + static_cast<char>(upper);
            virtualKey = upper;
            modifiers = ascii == upper ? 8 : 0;
        } else {
            struct Key {
                char c;
                const char* code;
                int virtualKey;
                int modifiers;
            };
            static constexpr std::array<Key, 5> keys{{{'.', "Period", 190, 0},
                                                      {',', "Comma", 188, 0},
                                                      {'-', "Minus", 189, 0},
                                                      {'+', "Equal", 187, 8},
                                                      {' ', "Space", 32, 0}}};
            const auto* found =
                std::find_if(keys.begin(), keys.end(), [c](const Key& k) { return k.c == c; });
            if (found == keys.end()) {
                fail(std::string("no key types ") + c);
            }
            code = found->code;
            virtualKey = found->virtualKey;
            modifiers = found->modifiers;
        }
        key(one, code, virtualKey, one, modifiers);
    }
}

}  // namespace qimbar::testing
