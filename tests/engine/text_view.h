#pragma once
// The log view the engine's tests fill: the text it holds, how it was filled,
// and typing, as a view that takes it would.
#include <string>
#include <string_view>
#include <utility>

#include "engine/log_view.h"

namespace ligamor::test {

class TextView : public LogView {
public:
    explicit TextView(std::string initial = {}) : text(std::move(initial)) {}
    void Clear() override
    {
        text.clear();
        ++clears;
    }
    void SetWhole(std::string_view bytes) override
    {
        text = bytes;
        ++wholeFills;
        edited = false;
    }
    void AppendTail(std::string_view bytes) override
    {
        text += bytes;
        ++tailFills;
        edited = false;
    }
    bool EditedSinceFill() const override { return edited; }
    void Type(const std::string& typed)
    {
        text += typed;
        edited = true;
    }

    std::string text;
    bool edited = false;
    int clears = 0;
    int wholeFills = 0;
    int tailFills = 0;
};

}  // namespace ligamor::test
