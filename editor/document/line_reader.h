// TLineReader: text cut into lines as the line store reads a text (at CR LF,
// lone CR and lone LF, no line after a final break), each line keeping the
// break it ended with. Fed in pieces and kept apart from any store, so that
// the lines of a huge text can be made while the text is still being read,
// on any thread, and handed to a store in one step (REdoDodiStrings::LoadLines).
#pragma once

#include "editor/document/line_store.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class TLineReader {
public:
    // Room is made for `expectedLines` at once, and an eighth more, so a text
    // whose line count is known roughly is never moved as it grows.
    explicit TLineReader(size_t expectedLines = 0);

    void Append(std::string_view text);
    // The lines, in order, with the text's style; the reader is empty afterwards.
    REdoDodiStrings::TReadLines Finish();

private:
    void EndLine(TLineEnd end);
    void AddToLine(std::string_view piece);

    std::vector<REdoDodiStrings::TStoredLine> lines_;
    std::vector<TLineEnd> lineEnds_;
    // The line being read: the text since the last break.
    std::string line_;
    bool open_ = false;
    // The last piece ended with a CR, whose LF may start the next one.
    bool afterCr_ = false;
    std::array<size_t, 3> ends_{};
};

} // namespace tarnwick
