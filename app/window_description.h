#pragma once

#include "convert/pages.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace qimbar::app {

// Positions and sizes in twips: 1/1440 inch, 15 to the pixel at 96 DPI.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDefaultDpi = 96;

// The nearest pixel at `dpi` dots per inch: twips × dpi / 1440. A half (as
// at 144 DPI, where 15 twips are 1.5 pixels) goes toward zero, so the
// 7335-twip client area is 733 pixels wide there.
constexpr int twipsToPixels(int twips, int dpi = kDefaultDpi) {
    const auto scaled = static_cast<long long>(twips) * dpi;
    const long long half = kTwipsPerInch / 2 - 1;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

struct Pixels {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Pixels&) const = default;
};

constexpr Pixels toPixels(const Twips& twips, int dpi = kDefaultDpi) {
    return {twipsToPixels(twips.left, dpi), twipsToPixels(twips.top, dpi),
            twipsToPixels(twips.width, dpi), twipsToPixels(twips.height, dpi)};
}

// --- What every shell's window looks like, beyond places and captions ---------------

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

// The credit line's text: dark blue on the button face.
inline constexpr Rgb kCreditColour{0, 0, 192};

enum class Charset { Default, Cyrillic };

// A font: faces in order of preference, a size in hundredths of a point,
// regular weight, and the character set asked for.
struct FontDescription {
    std::array<std::string_view, 4> faces;
    int hundredthsOfPoint;
    Charset charset;
};

// The bitmap face the layout was drawn with, then the nearest sans-serif
// faces of its width: the one current Windows puts in its place, then the
// common TrueType ones.
inline constexpr std::array<std::string_view, 4> kSansSerifFaces{
    "MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans"};

// The unit labels: 9.75 point, regular, Cyrillic.
inline constexpr FontDescription kLabelFont{kSansSerifFaces, 975, Charset::Cyrillic};
// The window's default font, which the boxes, buttons, tabs and credit line
// use: 8 point. The layout's 19-pixel boxes were drawn for it; the larger
// fonts of today's desktops do not fit them.
inline constexpr FontDescription kWindowFont{kSansSerifFaces, 800, Charset::Default};

// A font's em height in pixels at `dpi`, rounded to the nearest.
constexpr int fontPixels(const FontDescription& font, int dpi = kDefaultDpi) {
    return (font.hundredthsOfPoint * dpi + 3600) / 7200;
}

enum class Kind { TabControl, Label, TextBox, Button };

// One control of the window. `SSTab1` and `Label1` stand on `Form1`'s client
// area; every other control is a child of `SSTab1`, measured from its corner.
struct ControlDescription {
    std::string_view name;
    Kind kind;
    int page;  // 1 to 6; 0 for a control that is on no page
    int row;   // 1-based row of its page; 0 when on no page
    Twips geometry;
    std::string_view caption;
    int tabIndex;
};

struct WindowDescription {
    std::string_view caption;
    int clientWidth;  // twips
    int clientHeight;
    int tabStripHeight;
    int startPage;
};

inline constexpr WindowDescription form1{"Qimbar birliklari", 7335, 6360, 520, 3};

inline constexpr std::array<std::string_view, 6> tabCaptions{
    "Uzunlik", "Og'irlik", "Hajm", "Tezlik", "Maydon", "Harorat",
};

// clang-format off
inline constexpr auto controls = std::to_array<ControlDescription>({
    {"SSTab1", Kind::TabControl, 0, 0, {240, 240, 6810, 5895}, "", 0},
    {"Label1", Kind::Label, 0, 0, {1080, 6120, 2775, 255}, "Tuzuvchi: Qimbar jamoasi", 93},
    // Page 1
    {"Label2", Kind::Label, 1, 1, {1200, 720, 615, 255}, "Metr", 94},
    {"Text1", Kind::TextBox, 1, 1, {2880, 720, 1935, 285}, "", 65},
    {"Command1", Kind::Button, 1, 1, {4920, 720, 1335, 255}, "Hisoblash", 55},
    {"Label3", Kind::Label, 1, 2, {1200, 1200, 975, 255}, "Fut", 95},
    {"Text2", Kind::TextBox, 1, 2, {2880, 1200, 1935, 285}, "", 64},
    {"Command2", Kind::Button, 1, 2, {4920, 1200, 1335, 255}, "Hisoblash", 54},
    {"Label4", Kind::Label, 1, 3, {1200, 1680, 1095, 255}, "Yard", 96},
    {"Text3", Kind::TextBox, 1, 3, {2880, 1680, 1935, 285}, "", 63},
    {"Command3", Kind::Button, 1, 3, {4920, 1680, 1335, 255}, "Hisoblash", 53},
    {"Label5", Kind::Label, 1, 4, {1200, 2160, 1215, 255}, "Dyuym", 97},
    {"Text4", Kind::TextBox, 1, 4, {2880, 2160, 1935, 285}, "", 62},
    {"Command4", Kind::Button, 1, 4, {4920, 2160, 1335, 255}, "Hisoblash", 52},
    {"Label6", Kind::Label, 1, 5, {1200, 2640, 1215, 255}, "Arshin", 98},
    {"Text5", Kind::TextBox, 1, 5, {2880, 2640, 1935, 285}, "", 61},
    {"Command5", Kind::Button, 1, 5, {4920, 2640, 1335, 255}, "Hisoblash", 51},
    {"Label7", Kind::Label, 1, 6, {1200, 3120, 1215, 255}, "Sajen", 99},
    {"Text6", Kind::TextBox, 1, 6, {2880, 3120, 1935, 285}, "", 60},
    {"Command6", Kind::Button, 1, 6, {4920, 3120, 1335, 255}, "Hisoblash", 50},
    {"Label8", Kind::Label, 1, 7, {1200, 3600, 1095, 255}, "Dengiz mili", 100},
    {"Text7", Kind::TextBox, 1, 7, {2880, 3600, 1935, 315}, "", 59},
    {"Command7", Kind::Button, 1, 7, {4920, 3600, 1335, 255}, "Hisoblash", 49},
    {"Label9", Kind::Label, 1, 8, {1200, 4080, 1335, 255}, "Quruqyo'l mili", 101},
    {"Text8", Kind::TextBox, 1, 8, {2880, 4080, 1935, 315}, "", 58},
    {"Command8", Kind::Button, 1, 8, {4920, 4080, 1335, 255}, "Hisoblash", 48},
    {"Label10", Kind::Label, 1, 9, {1200, 4560, 1575, 255}, "Qadimgi rus mili", 102},
    {"Text9", Kind::TextBox, 1, 9, {2880, 4560, 1935, 315}, "", 57},
    {"Command9", Kind::Button, 1, 9, {4920, 4560, 1335, 255}, "Hisoblash", 47},
    {"Label11", Kind::Label, 1, 10, {1200, 5040, 1095, 255}, "Versta", 103},
    {"Text10", Kind::TextBox, 1, 10, {2880, 5040, 1935, 315}, "", 56},
    {"Command10", Kind::Button, 1, 10, {4920, 5040, 1335, 255}, "Hisoblash", 46},
    // Page 2
    {"Label12", Kind::Label, 2, 1, {1320, 720, 1335, 255}, "Kilogramm", 104},
    {"Text21", Kind::TextBox, 2, 1, {2880, 720, 1935, 285}, "", 42},
    {"Command21", Kind::Button, 2, 1, {4920, 720, 1335, 255}, "Hisoblash", 45},
    {"Label13", Kind::Label, 2, 2, {1320, 1200, 1095, 255}, "Gramm", 105},
    {"Text22", Kind::TextBox, 2, 2, {2880, 1200, 1935, 285}, "", 41},
    {"Command22", Kind::Button, 2, 2, {4920, 1200, 1335, 255}, "Hisoblash", 44},
    {"Label14", Kind::Label, 2, 3, {1320, 1680, 1095, 255}, "Karat", 106},
    {"Text23", Kind::TextBox, 2, 3, {2880, 1680, 1935, 285}, "", 40},
    {"Command23", Kind::Button, 2, 3, {4920, 1680, 1335, 255}, "Hisoblash", 43},
    {"Label15", Kind::Label, 2, 4, {1320, 2160, 1095, 255}, "Unsiya", 107},
    {"Text24", Kind::TextBox, 2, 4, {2880, 2160, 1935, 285}, "", 39},
    {"Command24", Kind::Button, 2, 4, {4920, 2160, 1335, 255}, "Hisoblash", 34},
    {"Label16", Kind::Label, 2, 5, {1320, 2640, 1215, 255}, "Draxma", 108},
    {"Text25", Kind::TextBox, 2, 5, {2880, 2640, 1935, 285}, "", 38},
    {"Command25", Kind::Button, 2, 5, {4920, 2640, 1335, 255}, "Hisoblash", 33},
    {"Label17", Kind::Label, 2, 6, {1320, 3120, 1095, 255}, "Funt", 109},
    {"Text26", Kind::TextBox, 2, 6, {2880, 3120, 1935, 285}, "", 37},
    {"Command26", Kind::Button, 2, 6, {4920, 3120, 1335, 255}, "Hisoblash", 32},
    {"Label18", Kind::Label, 2, 7, {1320, 3600, 855, 255}, "Pud", 110},
    {"Text27", Kind::TextBox, 2, 7, {2880, 3600, 1935, 285}, "", 36},
    {"Command27", Kind::Button, 2, 7, {4920, 3600, 1335, 255}, "Hisoblash", 31},
    {"Label19", Kind::Label, 2, 8, {1320, 4080, 975, 255}, "Livr", 111},
    {"Text28", Kind::TextBox, 2, 8, {2880, 4080, 1935, 285}, "", 35},
    {"Command28", Kind::Button, 2, 8, {4920, 4080, 1335, 255}, "Hisoblash", 30},
    // Page 3
    {"Label20", Kind::Label, 3, 1, {1440, 720, 1095, 255}, "Kub metr", 112},
    {"Text29", Kind::TextBox, 3, 1, {2880, 720, 1935, 285}, "", 29},
    {"Command29", Kind::Button, 3, 1, {4920, 720, 1335, 255}, "Hisoblash", 28},
    {"Label21", Kind::Label, 3, 2, {1440, 1200, 1215, 255}, "Litr", 113},
    {"Text30", Kind::TextBox, 3, 2, {2880, 1200, 1935, 285}, "", 27},
    {"Command30", Kind::Button, 3, 2, {4920, 1200, 1335, 255}, "Hisoblash", 21},
    {"Label22", Kind::Label, 3, 3, {1440, 1680, 1215, 255}, "Gallon", 114},
    {"Text31", Kind::TextBox, 3, 3, {2880, 1680, 1935, 285}, "", 26},
    {"Command31", Kind::Button, 3, 3, {4920, 1680, 1335, 255}, "Hisoblash", 20},
    {"Label23", Kind::Label, 3, 4, {1440, 2160, 1335, 255}, "Kvarta", 115},
    {"Text32", Kind::TextBox, 3, 4, {2880, 2160, 1935, 285}, "", 25},
    {"Command32", Kind::Button, 3, 4, {4920, 2160, 1335, 255}, "Hisoblash", 19},
    {"Label24", Kind::Label, 3, 5, {1440, 2640, 1215, 255}, "Pinta", 116},
    {"Text33", Kind::TextBox, 3, 5, {2880, 2640, 1935, 285}, "", 24},
    {"Command33", Kind::Button, 3, 5, {4920, 2640, 1335, 255}, "Hisoblash", 18},
    {"Label25", Kind::Label, 3, 6, {1440, 3120, 1215, 255}, "Bushel", 117},
    {"Text34", Kind::TextBox, 3, 6, {2880, 3120, 1935, 285}, "", 23},
    {"Command34", Kind::Button, 3, 6, {4920, 3120, 1335, 255}, "Hisoblash", 17},
    {"Label26", Kind::Label, 3, 7, {1440, 3600, 1335, 255}, "Barrel", 118},
    {"Text35", Kind::TextBox, 3, 7, {2880, 3600, 1935, 285}, "", 22},
    {"Command35", Kind::Button, 3, 7, {4920, 3600, 1335, 255}, "Hisoblash", 16},
    // Page 4
    {"Label27", Kind::Label, 4, 1, {1440, 720, 1215, 255}, "Km/soat", 119},
    {"Text36", Kind::TextBox, 4, 1, {2880, 720, 1935, 285}, "", 14},
    {"Command36", Kind::Button, 4, 1, {4920, 720, 1335, 255}, "Hisoblash", 15},
    {"Label28", Kind::Label, 4, 2, {1440, 1200, 1335, 255}, "metr/sek", 120},
    {"Text37", Kind::TextBox, 4, 2, {2880, 1200, 1935, 285}, "", 13},
    {"Command37", Kind::Button, 4, 2, {4920, 1200, 1335, 255}, "Hisoblash", 11},
    {"Label29", Kind::Label, 4, 3, {1440, 1680, 1215, 255}, "Uzel", 121},
    {"Text38", Kind::TextBox, 4, 3, {2880, 1680, 1935, 285}, "", 12},
    {"Command38", Kind::Button, 4, 3, {4920, 1680, 1335, 255}, "Hisoblash", 10},
    // Page 5
    {"Label30", Kind::Label, 5, 1, {1440, 720, 1215, 255}, "Kvadrat metr", 122},
    {"Text39", Kind::TextBox, 5, 1, {2880, 720, 1935, 285}, "", 9},
    {"Command39", Kind::Button, 5, 1, {4920, 720, 1335, 255}, "Hisoblash", 5},
    {"Label31", Kind::Label, 5, 2, {1440, 1200, 1215, 255}, "Gektar", 123},
    {"Text40", Kind::TextBox, 5, 2, {2880, 1200, 1935, 285}, "", 8},
    {"Command40", Kind::Button, 5, 2, {4920, 1200, 1335, 255}, "Hisoblash", 4},
    {"Label32", Kind::Label, 5, 3, {1440, 1680, 1215, 255}, "Ar (sotix)", 124},
    {"Text41", Kind::TextBox, 5, 3, {2880, 1680, 1935, 285}, "", 7},
    {"Command41", Kind::Button, 5, 3, {4920, 1680, 1335, 255}, "Hisoblash", 3},
    {"Label33", Kind::Label, 5, 4, {1440, 2160, 1215, 255}, "Akr", 125},
    {"Text42", Kind::TextBox, 5, 4, {2880, 2160, 1935, 285}, "", 6},
    {"Command42", Kind::Button, 5, 4, {4920, 2160, 1335, 255}, "Hisoblash", 2},
    // Page 6
    {"Label34", Kind::Label, 6, 1, {1440, 720, 1215, 255}, "Selsiy", 126},
    {"Text43", Kind::TextBox, 6, 1, {2880, 720, 1935, 285}, "", 89},
    {"Command43", Kind::Button, 6, 1, {4920, 720, 1335, 255}, "Hisoblash", 1},
    {"Label35", Kind::Label, 6, 2, {1440, 1200, 1335, 255}, "Kelvin", 127},
    {"Text44", Kind::TextBox, 6, 2, {2880, 1200, 1935, 285}, "", 90},
    {"Command44", Kind::Button, 6, 2, {4920, 1200, 1335, 255}, "Hisoblash", 86},
    {"Label36", Kind::Label, 6, 3, {1440, 1680, 1215, 255}, "Farengeyt", 128},
    {"Text45", Kind::TextBox, 6, 3, {2880, 1680, 1935, 285}, "", 91},
    {"Command45", Kind::Button, 6, 3, {4920, 1680, 1335, 255}, "Hisoblash", 87},
    {"Label37", Kind::Label, 6, 4, {1440, 2160, 1215, 255}, "Reomyur", 129},
    {"Text46", Kind::TextBox, 6, 4, {2880, 2160, 1935, 285}, "", 92},
    {"Command46", Kind::Button, 6, 4, {4920, 2160, 1335, 255}, "Hisoblash", 88},
    // Spare controls: on no page, never shown
    {"Text11", Kind::TextBox, 0, 0, {-72720, 5040, 1935, 405}, "", 76},
    {"Text12", Kind::TextBox, 0, 0, {-72720, 4560, 1935, 405}, "", 77},
    {"Text13", Kind::TextBox, 0, 0, {-72720, 4080, 1935, 405}, "", 78},
    {"Text14", Kind::TextBox, 0, 0, {-72720, 3600, 1935, 405}, "", 79},
    {"Text15", Kind::TextBox, 0, 0, {-72720, 3120, 1935, 405}, "", 80},
    {"Text16", Kind::TextBox, 0, 0, {-72720, 2640, 1935, 405}, "", 81},
    {"Text17", Kind::TextBox, 0, 0, {-72720, 2160, 1935, 405}, "", 82},
    {"Text18", Kind::TextBox, 0, 0, {-72720, 1680, 1935, 405}, "", 83},
    {"Text19", Kind::TextBox, 0, 0, {-72720, 1200, 1935, 405}, "", 84},
    {"Text20", Kind::TextBox, 0, 0, {-72720, 720, 1935, 405}, "", 85},
    {"Command11", Kind::Button, 0, 0, {-70680, 5040, 1335, 375}, "", 66},
    {"Command12", Kind::Button, 0, 0, {-70680, 4560, 1335, 375}, "", 67},
    {"Command13", Kind::Button, 0, 0, {-70680, 4080, 1335, 375}, "", 68},
    {"Command14", Kind::Button, 0, 0, {-70680, 3600, 1335, 375}, "", 69},
    {"Command15", Kind::Button, 0, 0, {-70680, 3120, 1335, 375}, "", 70},
    {"Command16", Kind::Button, 0, 0, {-70680, 2640, 1335, 375}, "", 71},
    {"Command17", Kind::Button, 0, 0, {-70680, 2160, 1335, 375}, "", 72},
    {"Command18", Kind::Button, 0, 0, {-70680, 1680, 1335, 375}, "", 73},
    {"Command19", Kind::Button, 0, 0, {-70680, 1200, 1335, 375}, "", 74},
    {"Command20", Kind::Button, 0, 0, {-70680, 720, 1335, 375}, "", 75},
});
// clang-format on

// The control of that name, or none.
constexpr const ControlDescription* findControl(std::string_view name) {
    for (const auto& control : controls) {
        if (control.name == name) {
            return &control;
        }
    }
    return nullptr;
}

// The place in `controls` of the named control, which must be there.
constexpr std::size_t indexOfControl(std::string_view name) {
    return static_cast<std::size_t>(findControl(name) - controls.data());
}

// The place in `controls` of a control of the table.
constexpr std::size_t indexOf(const ControlDescription& control) {
    return static_cast<std::size_t>(&control - controls.data());
}

// The label, box or button of row `row` of page `page`.
constexpr const ControlDescription& rowControl(int page, int row, Kind kind) {
    for (const auto& control : controls) {
        if (control.page == page && control.row == row && control.kind == kind) {
            return control;
        }
    }
    throw std::out_of_range("no such row control");
}

inline constexpr std::size_t kTabControlIndex = indexOfControl("SSTab1");
inline constexpr std::size_t kCreditIndex = indexOfControl("Label1");

// Whether the control is shown while `page` is: a page's own controls, the
// tab control and the credit line; never another page's or a spare one.
constexpr bool shownWithPage(const ControlDescription& control, int page) {
    if (control.page != 0) {
        return control.page == page;
    }
    return control.kind == Kind::TabControl || control.name == "Label1";
}

// --- What the table must keep true ------------------------------------------

namespace detail {

// Each control has its own place in the keyboard order, 0 up to the last.
constexpr bool tabIndicesRunFromZero() {
    std::array<bool, controls.size()> seen{};
    for (const auto& control : controls) {
        const auto index = static_cast<std::size_t>(control.tabIndex);
        if (control.tabIndex < 0 || index >= seen.size() || seen[index]) {
            return false;
        }
        seen[index] = true;
    }
    return true;
}

constexpr bool namesAreUnique() {
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            if (controls[i].name == controls[j].name) {
                return false;
            }
        }
    }
    return true;
}

constexpr int rowTop(int row) {
    return 720 + 480 * (row - 1);
}

// The N of "TextN", "CommandN" or "LabelN".
constexpr int numberIn(std::string_view name) {
    int number = 0;
    for (const char c : name.substr(name.find_first_of("0123456789"))) {
        number = number * 10 + (c - '0');
    }
    return number;
}

// Every row's label, box and button sit on the row's top, with the caption
// and numbers the page's table gives.
constexpr bool rowsMatchThePages() {
    int rowControls = 0;
    for (const auto& control : controls) {
        if (control.page == 0) {
            continue;
        }
        ++rowControls;
        const auto& page = convert::pages[static_cast<std::size_t>(control.page - 1)];
        if (control.row < 1 || control.row > page.rowCount() ||
            control.geometry.top != rowTop(control.row)) {
            return false;
        }
        const auto& unit = page.row(control.row);
        const bool isLabel = control.kind == Kind::Label;
        if (numberIn(control.name) != (isLabel ? unit.label : unit.box) ||
            (isLabel && control.caption != unit.caption)) {
            return false;
        }
    }
    return rowControls == 3 * convert::kRowCount;
}

constexpr bool tabCaptionsMatchThePages() {
    for (std::size_t i = 0; i < tabCaptions.size(); ++i) {
        if (tabCaptions[i] != convert::pages[i].caption) {
            return false;
        }
    }
    return true;
}

}  // namespace detail

static_assert(detail::tabIndicesRunFromZero());
static_assert(detail::namesAreUnique());
static_assert(detail::rowsMatchThePages());
static_assert(detail::tabCaptionsMatchThePages());
static_assert(rowControl(3, 1, Kind::Label).name == "Label20" &&
              rowControl(1, 10, Kind::TextBox).name == "Text10" &&
              rowControl(6, 4, Kind::Button).name == "Command46");
static_assert(fontPixels(kLabelFont) == 13 && fontPixels(kWindowFont) == 11 &&
              fontPixels(kLabelFont, 144) == 20 && fontPixels(kWindowFont, 144) == 16);
static_assert(twipsToPixels(520) == 35 && twipsToPixels(7335) == 489 &&
              twipsToPixels(-72720) == -4848);
static_assert(twipsToPixels(7335, 144) == 733 && twipsToPixels(6360, 144) == 636 &&
              twipsToPixels(520, 144) == 52 && twipsToPixels(-72720, 144) == -7272);

}  // namespace qimbar::app
