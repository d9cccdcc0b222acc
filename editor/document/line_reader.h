// TLineReader: text cut into lines as the line store reads a text (at CR LF,
// lone CR and lone LF, no line after a final break, tabs expanded), fed in
// pieces and kept apart from any store, so that the lines of a huge text can
// be made while the text is still being produced, on any thread, and handed
// to a store in one step (REdoDodiStrings::LoadLines).
#pragma once

#include "editor/document/line_store.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TLineReader {
public:
    // `tabSize` spaces stand for each tab (none expanded when 0); room is
    // made for `expectedLines` at once, and an eighth more, so a text whose
    // line count is known roughly is never moved as it grows.
    explicit TLineReader(int tabSize = 0, size_t expectedLines = 0);

    void Append(std::string_view text);
    // Text that goes before all that was appended (once, before Finish).
    void Prepend(std::string_view text);
    // The lines, in order; the reader is empty afterwards.
    std::vector<REdoDodiStrings::TStoredLine> Finish();

private:
    void EndLine();
    std::string Expanded(std::string_view piece) const;
    void AddToLine(std::string_view piece);

    int tabSize_;
    std::vector<REdoDodiStrings::TStoredLine> lines_;
    // The line being read: the text since the last break.
    std::string line_;
    bool open_ = false;
    // The last piece ended with a CR, whose LF may start the next one.
    bool afterCr_ = false;
    // What the first byte appended was: a LF there ends no line of its own
    // after a text prepended later that ends with a CR.
    bool startsWithLf_ = false;
    bool any_ = false;
};

} // namespace tarnwick
