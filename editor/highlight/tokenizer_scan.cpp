// TLineTokenizer::TScan: emission, URL pieces handed on whole, and the
// symbol, number and keyword steps every styler shares.
#include "editor/highlight/tokenizer_scan.h"

#include <algorithm>

namespace tarnwick {

size_t TLineTokenizer::TScan::ChunkLimit() const
{
    if (src_.size() - head_ <= kScanChunk)
        return src_.size();
    size_t limit = head_ + kScanChunk;
    while (limit > head_ + 1 && (static_cast<unsigned char>(src_[limit]) & 0xC0) == 0x80)
        --limit;
    return limit;
}

void TLineTokenizer::TScan::Emit(size_t from, size_t to, RunState &state)
{
    if (!scanOnly_ && from < to) {
        if (urls_)
            EmitAroundUrls(from, to, state);
        else
            t_.AppendRun(src_.substr(from, to - from), state);
    }
    state.ClearRunFlags();
}

void TLineTokenizer::TScan::EmitAroundUrls(size_t from, size_t to, const RunState &state)
{
    const std::vector<TUrlRange> &urls = *urls_;
    while (from < to) {
        if (from < urlEnd_) {
            from = std::min(to, urlEnd_);
            continue;
        }
        while (nextUrl_ < urls.size() && urls[nextUrl_].End <= from)
            ++nextUrl_;
        if (nextUrl_ < urls.size() && urls[nextUrl_].Begin == from) {
            const TUrlRange &url = urls[nextUrl_++];
            RunState urlState = state;
            urlState.ClearRunFlags();
            urlState.Url = 1;
            t_.AppendRun(src_.substr(url.Begin, url.End - url.Begin), urlState);
            urlEnd_ = url.End;
            continue;
        }
        const size_t stop =
            nextUrl_ < urls.size() && urls[nextUrl_].Begin > from ? std::min(to, urls[nextUrl_].Begin) : to;
        RunState part = state;
        t_.AppendRun(src_.substr(from, stop - from), part);
        from = stop;
    }
}

bool TLineTokenizer::TScan::TakeSymbol(char32_t c, size_t len, RunState &state)
{
    const int symbol = t_.SymbolStyleOf(c);
    if (symbol < 0)
        return false;
    state.Symbol = 1;
    state.StyleIndex = symbol;
    EmitTaken(len, state);
    return true;
}

// A number from the position: digits and the other number characters, "E",
// and "A" to "F" after a hexadecimal prefix. At the second dot the number ends
// before the first one.
bool TLineTokenizer::TScan::TakeNumber(size_t hexBytes, RunState &state)
{
    const bool hex = hexBytes > 0;
    const size_t scan = head_ + hexBytes;
    size_t k = scan;
    size_t firstDot = npos;
    while (k < src_.size()) {
        const size_t at = k;
        if (wordStops_ && wordStops_->At[static_cast<unsigned char>(src_[k])])
            break;
        const char32_t c = NextCodePoint(src_, k);
        const char32_t u = UpperCodePoint(c);
        if (!t_.numberBody_.Contains(u) && !(hex && u >= U'A' && u <= U'F')) {
            k = at;
            break;
        }
        if (c == U'.') {
            if (firstDot != npos) {
                k = firstDot;
                break;
            }
            firstDot = at;
        }
    }
    if (k <= scan)
        return false;
    state.Number = 1;
    state.Symbol = 0;
    EmitTaken(k - head_, state);
    return true;
}

size_t TLineTokenizer::TScan::WordEnd(size_t firstLen)
{
    if (wordFrom_ != npos && wordFrom_ <= head_ && head_ < wordEnd_)
        return wordEnd_;
    size_t i = head_ + firstLen;
    while (i < src_.size()) {
        if (wordStops_ && wordStops_->At[static_cast<unsigned char>(src_[i])])
            break;
        size_t next = i;
        const char32_t c = NextCodePoint(src_, next);
        if (c == U' ' || c == U';' || c == U':' || t_.delimiters_.Contains(c))
            break;
        i = next;
    }
    wordFrom_ = head_;
    wordEnd_ = i;
    return i;
}

bool TLineTokenizer::TScan::TakeKeyword(size_t firstLen, RunState &state)
{
    if (t_.keywords_.empty())
        return false;
    const size_t end = WordEnd(firstLen);
    const int keyword = t_.KeywordStyleOf(src_.substr(head_, end - head_));
    if (keyword < 0)
        return false;
    state.Keyword = 1;
    state.StyleIndex = keyword;
    EmitTaken(end - head_, state);
    return true;
}

size_t TLineTokenizer::TScan::UpperHead(std::string &upper) const
{
    const size_t want = t_.hexPrefixUpper_.size();
    upper.clear();
    size_t i = head_;
    while (upper.size() < want && i < src_.size())
        utf8::Append(upper, UpperCodePoint(NextCodePoint(src_, i)));
    return i - head_;
}

} // namespace tarnwick
