// What a host and an installing browser see of the web page: the address
// that keeps a conversion, the security policy, the manifest and icons, and a
// new version arriving from a host that lets browsers keep its files.
#include "app/texts.h"
#include "tests/app/web/page_support.h"

#include <algorithm>
#include <doctest/doctest.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

using qimbar::testing::browser;
using qimbar::testing::Chromium;
using qimbar::testing::Json;
using qimbar::testing::Named;
using qimbar::testing::nodesOf;
using qimbar::testing::selectPage;
using qimbar::testing::server;
using qimbar::testing::StaticServer;
using qimbar::testing::text;

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
    CHECK(std::count(sizes.begin(), sizes.end(), "512x512") == 2);  // one maskable
    CHECK(parsed.at("id") == "./");
    CHECK(std::count_if(parsed.at("icons").begin(), parsed.at("icons").end(),
                        [](const Json& i) { return i.value("purpose", "") == "maskable"; }) == 1);
    CHECK(browser().evaluate("document.documentElement.lang").get<std::string>() == "uz-Latn");
}

TEST_CASE("the address holds the page and the last conversion, read as typed") {
    browser().open("about:blank", "");
    browser().open(server().url() + "#page=1&row=1&v=1%2C5");
    CHECK(browser().evaluate("document.getElementById('Form1').dataset.page").get<std::string>() ==
          "1");
    CHECK(text("Text1") == "1,5");
    CHECK(text("Text2") == "4.9215");
    browser().evaluate("document.getElementById('Text3').value = '1E+2'");
    browser().clickOn("document.getElementById('Command3')");
    const std::string address = browser().evaluate("location.href").get<std::string>();
    CHECK(address == server().url() + "#page=1&row=3&v=1E%2B2");
    // Shared: copied, on a desktop.
    browser().send("Browser.grantPermissions",
                   {{"permissions", {"clipboardReadWrite", "clipboardSanitizedWrite"}},
                    {"origin", server().url().substr(0, server().url().size() - 1)}},
                   true);
    browser().clickOn("document.getElementById('share')");
    CHECK(browser().evaluate("navigator.clipboard.readText()").get<std::string>() == address);
    CHECK(text("status") == qimbar::app::texts::kLinkCopied);
    // Opened again: the same page, the same text, the same message.
    browser().open("about:blank", "");
    browser().open(server().url() + "#page=6&row=1&v=%3Cb%3E");
    browser().waitUntil("document.getElementById('message').open");
    CHECK(text("Text43") == "<b>");
    CHECK(text("message-text") ==
          qimbar::app::texts::errorMessage("Selsiy", qimbar::platform::ErrorKind::NotANumber));
    browser().key("Escape", "Escape", 27);
}

TEST_CASE("a policy that allows only the page's own code; installable; a heading") {
    browser().send("Page.enable");
    const Json added =
        browser().send("Page.addScriptToEvaluateOnNewDocument",
                       {{"source",
                         "window.refused = []; addEventListener('securitypolicyviolation', "
                         "(e) => refused.push(e.violatedDirective + ' ' + e.blockedURI));"}});
    browser().open(server().url());
    browser().evaluate("document.getElementById('Text29').value = '1'");
    browser().clickOn("document.getElementById('Command29')");
    CHECK(text("Text30") == "1000");
    CHECK(browser().evaluate("refused").empty());
    const std::string policy =
        browser()
            .evaluate("document.querySelector('meta[http-equiv=Content-Security-Policy]').content")
            .get<std::string>();
    CHECK(std::regex_match(policy, std::regex("default-src 'self'; script-src 'self' "
                                              "'wasm-unsafe-eval' 'sha256-[^']+'; style-src "
                                              "'self' 'sha256-[^']+'; object-src 'none'; "
                                              "base-uri 'none'")));
    browser().send("Page.removeScriptToEvaluateOnNewDocument",
                   {{"identifier", added.at("identifier")}});
    CHECK(browser().send("Page.getInstallabilityErrors").at("installabilityErrors").empty());
    CHECK(nodesOf("heading").at(0).name == "Qimbar birliklari");
    // iOS's icon: 180 pixels, opaque (iOS fills transparency with black): a PNG
    // header of 180 x 180, colour type 2 (no alpha), and no transparent colour.
    CHECK(browser()
              .evaluate("document.querySelector('link[rel=apple-touch-icon]').href")
              .get<std::string>() == server().url() + "qimbar-180.png");
    std::ifstream in(qimbar::testing::webSite() + "/qimbar-180.png", std::ios::binary);
    const std::string png((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CHECK(png.substr(16, 9) == std::string("\0\0\0\xb4\0\0\0\xb4\x08", 9));
    CHECK((png.at(25) == 2 && png.find("tRNS") == std::string::npos));
}

TEST_CASE("a new version arrives whole on a host that lets browsers keep files ten minutes") {
    // A copy of the site, served as common static hosts serve it.
    const auto site = std::filesystem::temp_directory_path() / "qimbar-update-site";
    std::filesystem::remove_all(site);
    std::filesystem::copy(qimbar::testing::webSite(), site);
    const StaticServer host(site.string(), 600);
    Chromium visitor;
    visitor.open(host.url());
    visitor.waitUntil("navigator.serviceWorker.controller !== null");
    const std::string version = text("version", visitor);
    // The next version: another page and another worker.
    const auto rewrite = [&site](const char* name, const std::string& from, const std::string& to) {
        std::ifstream in(site / name);
        std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        REQUIRE(file.find(from) != std::string::npos);
        file.replace(file.find(from), from.size(), to);
        std::ofstream(site / name) << file;
    };
    rewrite("index.html", version, version + "-next");
    rewrite("sw.js", "${PREFIX}", "${PREFIX}next-");
    // The person comes back: the old page, then word of the new one.
    visitor.send("Page.reload");
    visitor.waitUntil("!document.getElementById('update').hidden");
    CHECK(text("version", visitor) == version);
    visitor.clickOn("document.getElementById('reload')");
    visitor.waitUntil("document.getElementById('version').textContent.endsWith('-next')");
    std::filesystem::remove_all(site);
}
