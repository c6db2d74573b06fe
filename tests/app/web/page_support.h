#pragma once

// What the web page's own checks share: one browser and one server for the
// run, the accessibility tree by role, a control's text.
#include "tests/app/web/chromium.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qimbar::testing {

inline Chromium& browser() {
    static Chromium chromium;
    return chromium;
}

inline StaticServer& server() {
    static StaticServer served(webSite());
    return served;
}

inline void selectPage(int page) {
    browser().clickOn("document.getElementById('tab-" + std::to_string(page) + "')");
}

struct Named {
    std::string name;
    std::string description;
};

// The accessibility tree's nodes of a role that a person can reach, by name.
inline std::vector<Named> nodesOf(const std::string& role) {
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

// Whether a node of that role that a person can reach has that name.
inline bool hasNode(const std::string& role, const std::string& name) {
    const std::vector<Named> nodes = nodesOf(role);
    return std::any_of(nodes.begin(), nodes.end(),
                       [&name](const Named& node) { return node.name == name; });
}

inline std::string text(const std::string& id, Chromium& in = browser()) {
    return in.evaluate("(e => e.value ?? e.textContent)(document.getElementById('" + id + "'))")
        .get<std::string>();
}

}  // namespace qimbar::testing
