// The text Format writes as it reads the document, and a record of every
// place where its layout replaced the document's whitespace, so that content
// found to be mixed after it was laid out can be turned back as written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::xml {

class FormattedText {
public:
    explicit FormattedText(size_t expectedSize);
    FormattedText(const FormattedText &) = delete;
    FormattedText &operator=(const FormattedText &) = delete;

    void Append(const char *data, size_t size)
    {
        if (size > static_cast<size_t>(end_ - next_)) {
            Flush();
            if (size > sizeof block_) {
                text_.append(data, size);
                return;
            }
        }
        std::memcpy(next_, data, size);
        next_ += size;
    }
    void Append(std::string_view text) { Append(text.data(), text.size()); }
    void Append(char c)
    {
        if (next_ == end_)
            Flush();
        *next_++ = c;
    }

    // A line break and `level` indentation units (two spaces, up to 60
    // columns) in place of `replaced`, the whitespace the document had there.
    void Gap(std::string_view replaced, int level);

    // A place in the text and in the record of gaps.
    struct Mark {
        size_t size = 0;
        size_t gaps = 0;
    };
    Mark Here() const { return {Size(), gaps_.size()}; }
    // Gives every gap written since `mark` its whitespace back.
    void KeepAsWritten(Mark mark);

    // The whole text; the object is done with afterwards.
    std::string Take();

private:
    struct GapRecord {
        size_t at;              // where the line break starts
        std::uint32_t written;  // line break and indentation
        std::uint32_t replaced; // length of the whitespace, kept in replaced_
    };

    size_t Size() const { return text_.size() + static_cast<size_t>(next_ - block_); }
    void Flush();

    std::string text_;
    std::vector<GapRecord> gaps_;
    std::string replaced_; // the replaced whitespace of every gap, in order
    // Small appends gather here: a string's own append costs a call each.
    char block_[1 << 14];
    char *next_ = block_;
    char *const end_ = block_ + sizeof block_;
};

} // namespace tarnwick::xml
