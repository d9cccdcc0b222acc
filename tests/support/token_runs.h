// Records the runs a line tokenizer hands on, for tests of its output.
#pragma once

#include "editor/highlight/tokenizer.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

struct TokenRun {
    int Column;
    std::string Text;
    RunState State;
};

class TokenRunRecorder {
public:
    explicit TokenRunRecorder(TLineTokenizer &tokenizer) : tokenizer_(tokenizer)
    {
        tokenizer_.OnRun = [this](int column, std::string_view text, const RunState &state) {
            runs_.push_back({column, std::string(text), state});
        };
    }

    // Tokenizes the lines in turn, carrying State; returns the runs of the last.
    std::vector<TokenRun> Tokenize(std::initializer_list<std::string_view> lines)
    {
        for (std::string_view line : lines) {
            runs_.clear();
            tokenizer_.TokenizeText(line, State);
        }
        return runs_;
    }

    static std::vector<std::string> Texts(const std::vector<TokenRun> &runs)
    {
        std::vector<std::string> texts;
        for (const TokenRun &r : runs)
            texts.push_back(r.Text);
        return texts;
    }

    RunState State;

private:
    TLineTokenizer &tokenizer_;
    std::vector<TokenRun> runs_;
};

} // namespace tarnwick
