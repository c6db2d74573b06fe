#pragma once

// The window's layout rules and keyboard order written out independently of
// the program's window description, so the tests check it rather than restate it.

#include "convert/pages.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace qimbar::testing {

inline int px(int twips) {
    return qRound(twips / 15.0);
}

inline QRect pxRect(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

struct ExpectedControl {
    QString name;
    QString parent;
    QRect geometry;
    QString caption;
    int page;  // 0: never shown
};

inline QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::vector<ExpectedControl> expectedControls() {
    const std::array labelLeft{1200, 1320, 1440, 1440, 1440, 1440};
    const std::array<std::vector<int>, 6> labelWidth{{
        {615, 975, 1095, 1215, 1215, 1215, 1095, 1335, 1575, 1095},
        {1335, 1095, 1095, 1095, 1215, 1095, 855, 975},
        {1095, 1215, 1215, 1335, 1215, 1215, 1335},
        {1215, 1335, 1215},
        {1215, 1215, 1215, 1215},
        {1215, 1335, 1215, 1215},
    }};
    const std::array firstBox{1, 21, 29, 36, 39, 43};
    const std::array firstLabel{2, 12, 20, 27, 30, 34};
    const QString tabs = QStringLiteral("SSTab1");

    std::vector<ExpectedControl> out;
    out.push_back({tabs, QStringLiteral("Form1"), pxRect(240, 240, 6810, 5895), {}, 0});
    out.push_back({QStringLiteral("Label1"), QStringLiteral("Form1"), pxRect(1080, 6120, 2775, 255),
                   QStringLiteral("Tuzuvchi: Qimbar jamoasi"), 0});
    for (std::size_t p = 0; p < 6; ++p) {
        const auto& page = convert::pages.at(p);
        const int pageNumber = static_cast<int>(p) + 1;
        for (int r = 0; r < static_cast<int>(labelWidth.at(p).size()); ++r) {
            const int top = 720 + 480 * r;
            const int n = firstBox.at(p) + r;
            const int boxHeight = (pageNumber == 1 && r >= 6) ? 315 : 285;
            out.push_back({QStringLiteral("Label%1").arg(firstLabel.at(p) + r), tabs,
                           pxRect(labelLeft.at(p), top, labelWidth.at(p).at(std::size_t(r)), 255),
                           fromView(page.row(r + 1).caption), pageNumber});
            out.push_back({QStringLiteral("Text%1").arg(n),
                           tabs,
                           pxRect(2880, top, 1935, boxHeight),
                           {},
                           pageNumber});
            out.push_back({QStringLiteral("Command%1").arg(n), tabs, pxRect(4920, top, 1335, 255),
                           QStringLiteral("Hisoblash"), pageNumber});
        }
    }
    for (int k = 11; k <= 20; ++k) {
        const int top = 720 + 480 * (20 - k);
        out.push_back(
            {QStringLiteral("Text%1").arg(k), tabs, pxRect(2280 - 75000, top, 1935, 405), {}, 0});
        out.push_back({QStringLiteral("Command%1").arg(k),
                       tabs,
                       pxRect(4320 - 75000, top, 1335, 375),
                       {},
                       0});
    }
    return out;
}

// Every control by its number 0 to 129 in the keyboard order.
inline QStringList keyboardOrder() {
    QStringList order{QStringLiteral("SSTab1")};
    const auto add = [&order](const char* prefix, int from, int to) {
        const int step = from <= to ? 1 : -1;
        for (int n = from; n != to + step; n += step) {
            order << QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(n);
        }
    };
    add("Command", 43, 43);
    add("Command", 42, 39);
    add("Text", 42, 39);
    add("Command", 38, 37);
    add("Text", 38, 36);
    add("Command", 36, 36);
    add("Command", 35, 30);
    add("Text", 35, 30);
    add("Command", 29, 29);
    add("Text", 29, 29);
    add("Command", 28, 24);
    add("Text", 28, 21);
    add("Command", 23, 21);
    add("Command", 10, 1);
    add("Text", 10, 1);
    add("Command", 11, 20);
    add("Text", 11, 20);
    add("Command", 44, 46);
    add("Text", 43, 46);
    add("Label", 1, 37);
    return order;
}

}  // namespace qimbar::testing
