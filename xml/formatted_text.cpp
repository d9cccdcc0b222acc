// Format's output text and its record of gaps.
#include "xml/formatted_text.h"

#include <algorithm>

namespace tarnwick::xml {

namespace {

constexpr int kIndentUnit = 2;
constexpr int kMaxIndentLevel = 30; // 60 columns, as xmllint stops there
constexpr std::string_view kIndent = "                                                            ";
static_assert(kIndent.size() == kIndentUnit * kMaxIndentLevel);

} // namespace

FormattedText::FormattedText(size_t expectedSize)
{
    // Pages reserved and never written cost nothing, so room for the
    // indentation a one-line document gains is asked for up front.
    text_.reserve(expectedSize + expectedSize / 2 + 256);
}

void FormattedText::Flush()
{
    text_.append(block_, static_cast<size_t>(next_ - block_));
    next_ = block_;
}

void FormattedText::Gap(std::string_view replaced, int level)
{
    const size_t indent = kIndentUnit * static_cast<size_t>(std::clamp(level, 0, kMaxIndentLevel));
    gaps_.push_back({Size(), static_cast<std::uint32_t>(1 + indent), static_cast<std::uint32_t>(replaced.size())});
    replaced_.append(replaced);
    Append('\n');
    Append(kIndent.data(), indent);
}

void FormattedText::KeepAsWritten(Mark mark)
{
    if (mark.gaps == gaps_.size())
        return;
    Flush();
    size_t replacedAt = replaced_.size();
    for (size_t i = mark.gaps; i < gaps_.size(); ++i)
        replacedAt -= gaps_[i].replaced;
    const size_t replacedStart = replacedAt;
    std::string kept;
    kept.reserve(text_.size() - mark.size);
    size_t from = mark.size;
    for (size_t i = mark.gaps; i < gaps_.size(); ++i) {
        const GapRecord &gap = gaps_[i];
        kept.append(text_, from, gap.at - from);
        kept.append(replaced_, replacedAt, gap.replaced);
        replacedAt += gap.replaced;
        from = gap.at + gap.written;
    }
    kept.append(text_, from, std::string::npos);
    text_.replace(mark.size, std::string::npos, kept);
    gaps_.resize(mark.gaps);
    replaced_.resize(replacedStart);
}

std::string FormattedText::Take()
{
    Flush();
    return std::move(text_);
}

} // namespace tarnwick::xml
