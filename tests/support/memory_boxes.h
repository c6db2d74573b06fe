#pragma once

#include "platform/text_box.h"

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qimbar::testing {

// In-memory value boxes that record every access and fail on demand.
class MemoryBoxes final : public platform::TextBoxes {
public:
    enum class Op { Read, Write };
    struct Access {
        Op op;
        int box;
        bool operator==(const Access&) const = default;
    };

    // Boxes `first` to `last`, each holding `text`.
    MemoryBoxes(int first, int last, std::string_view text = {}) {
        for (int n = first; n <= last; ++n) {
            boxes_.emplace(n, std::make_unique<Box>(*this, n, std::string(text)));
        }
    }

    platform::TextBox& textBox(int number) override {
        const auto it = boxes_.find(number);
        if (it == boxes_.end()) {
            throw std::out_of_range("no box Text" + std::to_string(number));
        }
        return *it->second;
    }

    void setText(int number, std::string text) { box(number).text = std::move(text); }
    [[nodiscard]] const std::string& text(int number) const { return box(number).text; }

    // The k-th read or write from now on (1-based) fails with `status`.
    void failRead(int k, platform::Status status) { readFailure_ = {reads_ + k, status}; }
    void failWrite(int k, platform::Status status) { writeFailure_ = {writes_ + k, status}; }

    // Off in benchmarks, where the log would only grow.
    bool recordAccesses = true;

    // Called after each successful read of `number`, e.g. to change its text.
    std::function<void(int number, std::string& text)> afterRead;
    // Called inside each write, before it returns.
    std::function<void(int number)> duringWrite;

    [[nodiscard]] const std::vector<Access>& log() const { return log_; }
    void clearLog() { log_.clear(); }
    [[nodiscard]] int reads() const { return reads_; }
    [[nodiscard]] int writes() const { return writes_; }

private:
    struct Failure {
        int at = 0;
        platform::Status status;
    };

    struct Box final : platform::TextBox {
        Box(MemoryBoxes& boxes, int boxNumber, std::string initial)
            : owner(boxes), number(boxNumber), text(std::move(initial)) {}

        platform::Status readText(std::string& out) override {
            owner.record({Op::Read, number});
            if (++owner.reads_ == owner.readFailure_.at) {
                return owner.readFailure_.status;
            }
            out = text;
            if (owner.afterRead) {
                owner.afterRead(number, text);
            }
            return platform::Status::ok();
        }

        platform::Status writeText(std::string_view in) override {
            owner.record({Op::Write, number});
            if (owner.duringWrite) {
                owner.duringWrite(number);
            }
            if (++owner.writes_ == owner.writeFailure_.at) {
                return owner.writeFailure_.status;
            }
            text = in;
            return platform::Status::ok();
        }

        MemoryBoxes& owner;
        int number;
        std::string text;
    };

    void record(Access access) {
        if (recordAccesses) {
            log_.push_back(access);
        }
    }

    [[nodiscard]] Box& box(int number) const {
        const auto it = boxes_.find(number);
        if (it == boxes_.end()) {
            throw std::out_of_range("no box Text" + std::to_string(number));
        }
        return *it->second;
    }

    std::map<int, std::unique_ptr<Box>> boxes_;
    std::vector<Access> log_;
    int reads_ = 0;
    int writes_ = 0;
    Failure readFailure_;
    Failure writeFailure_;
};

}  // namespace qimbar::testing
