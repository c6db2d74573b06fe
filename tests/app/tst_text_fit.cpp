// Whatever face a Windows machine gives the window, its text fits at every
// DPI: each listed face's line height, from its own vertical metrics (the
// OS/2 table's winAscent and winDescent, as GDI rounds them), against the
// boxes, buttons and labels the description gives at 96, 120, 144 and
// 192 DPI. Wine has none of these faces but Liberation Sans, so this is where
// the others are held to the layout. The message font of Windows 10 and 11,
// 9-point Segoe UI, is the face that did not fit.
#include "app/win32/raster_face.h"
#include "app/window_description.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <doctest/doctest.h>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

using qimbar::app::Kind;

namespace {

struct Face {
    std::string_view name;
    int unitsPerEm;
    int winAscent;
    int winDescent;
    std::vector<std::pair<int, int>> strikes;  // a bitmap face's: em, line
};

// GDI's line height (tmHeight) of a face at an em of `em` pixels.
int lineHeight(const Face& face, int em) {
    if (!face.strikes.empty()) {
        const auto strike = std::find_if(face.strikes.begin(), face.strikes.end(),
                                         [em](const auto& s) { return s.first == em; });
        return strike == face.strikes.end() ? 0 : strike->second;
    }
    const auto part = [&](int units) {
        return static_cast<int>(std::lround(em * static_cast<double>(units) / face.unitsPerEm));
    };
    return part(face.winAscent) + part(face.winDescent);
}

// Whether the window takes the face at that em: a bitmap face only at a
// strike it has and was drawn for, else the next face is taken.
bool taken(const Face& face, int em) {
    return face.strikes.empty() || qimbar::win32::rasterLineDrawnFor(lineHeight(face, em));
}

// The raised or sunken edge Windows draws round a box or a button.
int edge(int dpi) {
    return 2 * dpi / 96;
}

// The tallest line a control of that kind and height holds.
int room(Kind kind, int height, int dpi) {
    return kind == Kind::Label ? height : height - 2 * edge(dpi);
}

// The smallest height among the controls of a kind that use a font.
int smallest(Kind kind, int dpi) {
    std::optional<int> least;
    for (const auto& control : qimbar::app::controls) {
        if (control.kind == kind && control.page != 0) {
            const int height = qimbar::app::twipsToPixels(control.geometry.height, dpi);
            least = least ? std::min(*least, height) : height;
        }
    }
    return *least;
}

}  // namespace

TEST_CASE("each listed face the window may take fits the boxes, buttons and labels at every DPI") {
    const std::vector<Face> listed{
        // Lines of 13, 16, 20, 24, 29 and 37 pixels (sserife.fon, sseriff.fon).
        {"MS Sans Serif", 0, 0, 0, {{11, 13}, {13, 16}, {16, 20}, {19, 24}, {24, 29}, {32, 37}}},
        {"Microsoft Sans Serif", 2048, 1888, 430, {}},
        {"Arial", 2048, 1854, 434, {}},
        {"Liberation Sans", 2048, 1854, 434, {}},
    };
    REQUIRE(listed.size() == qimbar::app::kSansSerifFaces.size());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        CHECK(listed[i].name == qimbar::app::kSansSerifFaces.at(i));
    }
    // On a Windows with every face: the first taken, at each DPI, for the
    // window font and the labels' font.
    const std::vector<std::pair<int, std::array<std::string_view, 2>>> chosen{
        {96, {"MS Sans Serif", "MS Sans Serif"}},
        {120, {"MS Sans Serif", "Microsoft Sans Serif"}},
        {144, {"Microsoft Sans Serif", "Microsoft Sans Serif"}},
        {192, {"Microsoft Sans Serif", "Microsoft Sans Serif"}},
    };
    for (const auto& entry : chosen) {
        const int dpi = entry.first;
        const auto& faces = entry.second;
        CAPTURE(dpi);
        const int windowEm = qimbar::app::fontPixels(qimbar::app::kWindowFont, dpi);
        const int labelEm = qimbar::app::fontPixels(qimbar::app::kLabelFont, dpi);
        const auto first = [&listed](int em) {
            return std::find_if(listed.begin(), listed.end(),
                                [em](const Face& face) { return taken(face, em); })
                ->name;
        };
        CHECK(first(windowEm) == faces[0]);
        CHECK(first(labelEm) == faces[1]);
        // Whichever of them a machine lacks, the next one taken fits too.
        for (const Face& face : listed) {
            CAPTURE(face.name);
            if (taken(face, windowEm)) {
                CHECK(lineHeight(face, windowEm) <=
                      room(Kind::TextBox, smallest(Kind::TextBox, dpi), dpi));
                CHECK(lineHeight(face, windowEm) <=
                      room(Kind::Button, smallest(Kind::Button, dpi), dpi));
            }
            if (taken(face, labelEm)) {
                CHECK(lineHeight(face, labelEm) <=
                      room(Kind::Label, smallest(Kind::Label, dpi), dpi));
            }
        }
    }
}

TEST_CASE("Windows 10's message font, 9-point Segoe UI, would not fit the boxes") {
    const Face segoe{"Segoe UI", 2048, 2210, 514, {}};
    const int em = (900 * 96 + 3600) / 7200;  // 9 point at 96 DPI: 12 pixels
    CHECK(lineHeight(segoe, em) == 16);
    CHECK(lineHeight(segoe, em) > room(Kind::TextBox, smallest(Kind::TextBox, 96), 96));
}
