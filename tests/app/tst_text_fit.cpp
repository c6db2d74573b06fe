// Whatever face a Windows machine gives the window, its text fits at every
// DPI: each listed face's line height, from its own vertical metrics (the
// OS/2 table's winAscent and winDescent, as GDI rounds them), against the
// boxes, buttons and labels the description gives at 96, 120, 144 and
// 192 DPI. Wine has none of these faces but Liberation Sans, so this is where
// the others are held to the layout. The message font of Windows 10 and 11,
// 9-point Segoe UI, is the face that did not fit.
#include "app/window_description.h"

#include <algorithm>
#include <cmath>
#include <doctest/doctest.h>
#include <optional>
#include <string_view>
#include <vector>

using qimbar::app::Kind;

namespace {

struct Face {
    std::string_view name;
    int unitsPerEm;
    int winAscent;
    int winDescent;
    std::vector<int> bitmapDpis;  // a bitmap face: the DPIs it has sizes for
    int bitmapHeight8pt;          // and its 8-point line there, at 96 DPI
};

// GDI's line height (tmHeight) of a face at an em of `em` pixels.
int lineHeight(const Face& face, int em, int dpi) {
    if (!face.bitmapDpis.empty()) {
        return face.bitmapHeight8pt * dpi / 96;
    }
    const auto part = [&](int units) {
        return static_cast<int>(std::lround(em * static_cast<double>(units) / face.unitsPerEm));
    };
    return part(face.winAscent) + part(face.winDescent);
}

bool has(const Face& face, int dpi) {
    return face.bitmapDpis.empty() ||
           std::find(face.bitmapDpis.begin(), face.bitmapDpis.end(), dpi) != face.bitmapDpis.end();
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

TEST_CASE("each listed face's line fits the boxes, buttons and labels at every DPI") {
    const std::vector<Face> listed{
        // 8 point is 13 pixels tall at 96 DPI (sserife.fon) and 16 at 120 (sseriff.fon).
        {"MS Sans Serif", 0, 0, 0, {96, 120}, 13},
        {"Microsoft Sans Serif", 2048, 1888, 430, {}, 0},
        {"Arial", 2048, 1854, 434, {}, 0},
        {"Liberation Sans", 2048, 1854, 434, {}, 0},
    };
    REQUIRE(listed.size() == qimbar::app::kSansSerifFaces.size());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        CHECK(listed[i].name == qimbar::app::kSansSerifFaces.at(i));
    }
    for (const int dpi : {96, 120, 144, 192}) {
        for (const Face& face : listed) {
            if (!has(face, dpi)) {
                continue;  // the system takes the next face
            }
            CAPTURE(dpi);
            CAPTURE(face.name);
            const int window =
                lineHeight(face, qimbar::app::fontPixels(qimbar::app::kWindowFont, dpi), dpi);
            const int label =
                face.bitmapDpis.empty()
                    ? lineHeight(face, qimbar::app::fontPixels(qimbar::app::kLabelFont, dpi), dpi)
                    : 16 * dpi / 96;  // 10 point, the size 9.75 realises
            CHECK(window <= room(Kind::TextBox, smallest(Kind::TextBox, dpi), dpi));
            CHECK(window <= room(Kind::Button, smallest(Kind::Button, dpi), dpi));
            CHECK(label <= room(Kind::Label, smallest(Kind::Label, dpi), dpi));
        }
    }
}

TEST_CASE("Windows 10's message font, 9-point Segoe UI, would not fit the boxes") {
    const Face segoe{"Segoe UI", 2048, 2210, 514, {}, 0};
    const int em = (900 * 96 + 3600) / 7200;  // 9 point at 96 DPI: 12 pixels
    CHECK(lineHeight(segoe, em, 96) == 16);
    CHECK(lineHeight(segoe, em, 96) > room(Kind::TextBox, smallest(Kind::TextBox, 96), 96));
}
