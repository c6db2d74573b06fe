// The native side of the differential test against the web build.
//   press_corpus make <corpus> <count>   writes <count> texts, hostile ones
//                                        among them, each a 32-bit length and
//                                        its bytes
//   press_corpus run <corpus> <hashes>   presses every row of every page with
//                                        each text, the page's other boxes
//                                        holding "old"; writes each text's
//                                        64-bit hash of what the presses left
//                                        and prints the hash of them all
//   press_corpus show <corpus> <index>   prints those presses for one text
// tests/web/press_corpus.js does the same through the web page's module.
#include "app/press.h"
#include "convert/pages.h"
#include "tests/support/memory_boxes.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using Text = std::string;

// FNV-1a, 64 bits: what both sides can compute alike.
struct Hash {
    std::uint64_t value = 14695981039346656037ULL;
    void add(const std::string& bytes) {
        for (const char c : bytes) {
            value = (value ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
        }
    }
};

std::string lengthOf(std::size_t size) {
    std::string out(4, '\0');
    for (int i = 0; i < 4; ++i) {
        out[static_cast<std::size_t>(i)] = static_cast<char>((size >> (8 * i)) & 0xFFU);
    }
    return out;
}

// One press of `row` with `text` in its box and "old" in the page's others:
// the message shown (empty when it converted), and every box of the page.
struct Pressed {
    std::string message;
    std::vector<std::string> boxes;
};

Pressed press(const Text& text, const qimbar::convert::Page& page, int row) {
    qimbar::testing::MemoryBoxes boxes(page.row(1).box, page.row(page.rowCount()).box, "old");
    boxes.recordAccesses = false;
    boxes.setText(page.row(row).box, text);
    const auto failure = qimbar::app::pressRow(page.number, row, boxes);
    Pressed pressed{failure ? failure->message : std::string(), {}};
    for (const auto& unit : page.rows) {
        pressed.boxes.push_back(boxes.text(unit.box));
    }
    return pressed;
}

// What one press leaves, as both sides write it: the page and row, the
// message, and every box of the page.
std::string pressRecord(const Text& text, const qimbar::convert::Page& page, int row) {
    const Pressed pressed = press(text, page, row);
    std::string record;
    record += static_cast<char>(page.number);
    record += static_cast<char>(row);
    record += lengthOf(pressed.message.size()) + pressed.message;
    for (const std::string& box : pressed.boxes) {
        record += lengthOf(box.size()) + box;
    }
    return record;
}

std::vector<Text> readCorpus(const char* file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::vector<Text> texts;
    for (std::size_t at = 0; at + 4 <= bytes.size();) {
        std::size_t length = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            length |= std::size_t{static_cast<unsigned char>(bytes[at + i])} << (8 * i);
        }
        texts.push_back(bytes.substr(at + 4, length));
        at += 4 + length;
    }
    return texts;
}

// Texts a person might type or paste, and texts no one would.
Text makeText(std::mt19937_64& random, std::size_t index) {
    const auto pick = [&random](auto const& choices) {
        return choices[random() % std::size(choices)];
    };
    const auto digits = [&random](std::size_t count) {
        Text out;
        for (std::size_t i = 0; i < count; ++i) {
            out += static_cast<char>('0' + random() % 10);
        }
        return out;
    };
    static constexpr std::array<const char*, 12> spaces{
        "", "", "", " ", "\t", "\n", "\r\n", "\u00A0", "\u2009", "\u3000", "\u202F", "\u2028"};
    static constexpr std::array<const char*, 6> signs{"", "", "-", "+", "\u2212", "--"};
    static constexpr std::array<const char*, 5> marks{".", ",", ".", ",", ".."};
    static constexpr std::array<const char*, 24> hostile{
        "abc",      "inf",        "-Infinity",    "nan",          "0x10",
        "1_000",    "1'000",      "\u0661\u0662", "\uFF11\uFF12", "\u200B12",
        "12\u200F", "\uFEFF12",   "1\u03012",     "\xE2\x88",     "12\xC2",
        "\xFF\xFE", "\U0001F600", "1e",           "e5",           "1e+",
        ".",        "-",          "1 00",         "1  000"};
    switch (index % 10) {
        case 0:  // a short decimal, as typed
        case 1:
            return Text(pick(spaces)) + pick(signs) + digits(1 + random() % 6) + pick(marks) +
                   digits(random() % 6) + pick(spaces);
        case 2: {  // with an exponent of any size
            const int exponent = static_cast<int>(random() % 700) - 350;
            return Text(pick(signs)) + digits(1 + random() % 17) + "." + digits(random() % 17) +
                   ((random() % 2) != 0U ? "e" : "E") + std::to_string(exponent);
        }
        case 3: {  // grouped in threes, or wrongly
            Text out = digits(1 + random() % 3);
            for (std::size_t g = random() % 5; g > 0; --g) {
                out += pick(std::array{" ", "\u00A0", "\u202F", " "}) + digits(3 - random() % 2);
            }
            return out + pick(marks) + digits(random() % 4);
        }
        case 4:  // near the ends of the doubles
            return pick(std::array{"1.7976931348623157e308", "1.79769313486231E+308", "1e308",
                                   "1e-308", "4.9e-324", "2.4703282292062328e-324", "1e-400", "-0",
                                   "0", "1e309", "9.99e307", "7.47E+307", "2.225e-308"});
        case 5: {  // long runs of digits
            const std::size_t count = (random() % 50) == 0 ? 5000 : 20 + random() % 400;
            return Text(pick(signs)) + digits(count) + pick(marks) + digits(random() % 30);
        }
        case 6: {  // a number and junk
            return Text(pick(hostile)) + digits(1 + random() % 4) +
                   ((random() % 2) != 0U ? pick(hostile) : "");
        }
        case 7: {  // any bytes at all
            Text out;
            for (std::size_t i = random() % 12; i > 0; --i) {
                out += static_cast<char>(random() % 256);
            }
            return out;
        }
        case 8:  // a result written by a press, fed back in
            return pick(std::array{"3.281", "0.0005405", "1.0000488", "-0.0199999999999996",
                                   "1.23456789012346E+15", "99.88", "7.47E+307", "1E-05",
                                   "0.0001339", "271.4"}) +
                   Text(pick(spaces));
        default:  // a decimal with a line break or a tab inside
            return digits(1 + random() % 3) + pick(std::array{"\n", "\r", "\t"}) +
                   digits(1 + random() % 3);
    }
}

int make(const char* file, std::size_t count) {
    std::mt19937_64 random(20261209);
    std::ofstream out(file, std::ios::binary);
    for (std::size_t i = 0; i < count; ++i) {
        Text text = makeText(random, i);
        if (i % 10 == 9 && (random() % 3) == 0) {
            text = "1" + Text(1, '\0') + "2";  // a NUL the way a paste brings one
        }
        out << lengthOf(text.size()) << text;
    }
    return out ? 0 : 1;
}

int run(const char* corpus, const char* hashesFile) {
    const auto texts = readCorpus(corpus);
    std::ofstream hashes(hashesFile, std::ios::binary);
    Hash all;
    for (const Text& text : texts) {
        Hash one;
        for (const auto& page : qimbar::convert::pages) {
            for (int row = 1; row <= page.rowCount(); ++row) {
                one.add(pressRecord(text, page, row));
            }
        }
        std::string bytes(8, '\0');
        for (int i = 0; i < 8; ++i) {
            bytes[static_cast<std::size_t>(i)] = static_cast<char>((one.value >> (8 * i)) & 0xFFU);
        }
        hashes << bytes;
        all.add(bytes);
    }
    std::printf("%zu texts, %zu presses, hash %016llx\n", texts.size(),
                texts.size() * std::size_t(qimbar::convert::kRowCount),
                static_cast<unsigned long long>(all.value));
    return 0;
}

// One text's presses, readable: what a difference shows.
int show(const char* corpus, std::size_t index) {
    const auto texts = readCorpus(corpus);
    const Text& text = texts.at(index);
    for (const auto& page : qimbar::convert::pages) {
        for (int row = 1; row <= page.rowCount(); ++row) {
            const Pressed pressed = press(text, page, row);
            std::printf("page %d row %d: %s |", page.number, row, pressed.message.c_str());
            for (int r = 1; r <= page.rowCount(); ++r) {
                std::printf(" %s", r == row
                                       ? "(source)"
                                       : pressed.boxes.at(static_cast<std::size_t>(r - 1)).c_str());
            }
            std::printf("\n");
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "make" && argc == 4) {
        return make(argv[2], std::stoul(argv[3]));
    }
    if (command == "run" && argc == 4) {
        return run(argv[2], argv[3]);
    }
    if (command == "show" && argc == 4) {
        return show(argv[2], std::stoul(argv[3]));
    }
    std::cerr
        << "usage: press_corpus make <corpus> <count> | run <corpus> <hashes> | show <corpus> "
           "<index>\n";
    return 2;
}
