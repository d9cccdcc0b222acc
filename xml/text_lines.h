// TextLines: read access to a text held as lines without line breaks (the
// editor's line store, or a string split at its breaks), so the XML helpers
// can read the editor's text in place instead of a joined copy of it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::xml {

class TextLines {
public:
    virtual ~TextLines() = default;
    virtual int Count() const = 0;
    // UTF-8, without its line break; valid until the text changes.
    virtual std::string_view Line(int index) const = 0;
};

// Lines of one string, split at CR LF, LF or CR.
class SplitLines : public TextLines {
public:
    explicit SplitLines(std::string_view text);
    int Count() const override { return static_cast<int>(lines_.size()); }
    std::string_view Line(int index) const override { return lines_[index]; }

private:
    std::string text_;
    std::vector<std::string_view> lines_;
};

} // namespace tarnwick::xml
