// TLineTokenizer::TMarkupScan: XML's own syntax for a markup styler, over a
// whole line, coloured with the styler's comment, symbol, bracket, number and
// keyword styles.
#include "editor/highlight/tokenizer_scan.h"

#include <algorithm>

namespace tarnwick {

namespace {

constexpr std::string_view kCDataOpen = "<![CDATA[";
constexpr std::string_view kCDataClose = "]]>";
constexpr std::string_view kInstructionClose = "?>";

void OpenRun(RunState &st, char32_t start, char32_t end, int index)
{
    st.InBracket = 1;
    st.BracketStart = start;
    st.BracketEnd = end;
    st.StyleIndex = index;
}

// Outside runs the carried state holds no bracket at all, so the state at a
// line start is the same whichever way it was reached.
void CloseRun(RunState &st)
{
    OpenRun(st, 0, 0, -1);
    st.InBracket = 0;
}

} // namespace

void TLineTokenizer::TMarkupScan::Resume(const TScanPoint &at)
{
    head_ = at.Byte;
    tokenStart_ = (at.Flags & kScanTokenStart) != 0;
    consumed_ = (at.Flags & kScanConsumed) != 0;
}

void TLineTokenizer::TMarkupScan::Walk(TLineScanPoints &points, size_t target)
{
    points_ = &points;
    target_ = target;
    checkAt_ = head_;
}

void TLineTokenizer::TMarkupScan::StopAt(size_t to)
{
    stopAt_ = to;
    checkAt_ = std::min(checkAt_, to);
}

void TLineTokenizer::TMarkupScan::Probe(size_t target, TScanPoint &last)
{
    probe_ = &last;
    stopAt_ = target;
    checkAt_ = head_;
}

bool TLineTokenizer::TMarkupScan::Check(const RunState &st)
{
    if (head_ >= stopAt_) {
        stopped_ = true;
        return false;
    }
    if (probe_) {
        if (canonical_) {
            RunState here = st;
            here.ClearRunFlags();
            *probe_ = {head_, here, Flags()};
        }
        return true;
    }
    if (points_) {
        if (head_ >= target_) {
            points_->Reached(head_);
            stopped_ = true;
            return false;
        }
        RunState here = st;
        here.ClearRunFlags();
        if (!points_->Step({head_, here, Flags()}, canonical_)) {
            stopped_ = true;
            return false;
        }
    }
    checkAt_ = std::min(stopAt_, points_ ? std::min(target_, points_->NextStep()) : npos);
    return true;
}

void TLineTokenizer::TMarkupScan::Run(RunState &st)
{
    while (!AtEnd()) {
        if (head_ >= checkAt_ && !Check(st))
            return;
        if (st.InComment)
            CommentBody(st);
        else if (st.Markup == mcCData)
            CDataBody(st);
        else if (st.Markup == mcText && st.InSubset)
            Subset(st);
        else if (st.Markup == mcText)
            Text(st);
        else if (st.InBracket)
            Quoted(st);
        else
            Markup(st);
    }
}

const TLineTokenizer::TStopBytes &TLineTokenizer::TMarkupScan::StopsOf(const RunState &st) const
{
    switch (st.Markup) {
    case mcTag:
        return t_.tagStops_;
    case mcDeclaration:
        return t_.declarationStops_;
    case mcInstruction:
        return t_.instructionStops_;
    default:
        return st.InSubset ? t_.subsetStops_ : t_.textStops_;
    }
}

size_t TLineTokenizer::TMarkupScan::NextStop(const TStopBytes &stops, size_t limit) const
{
    size_t i = head_;
    const size_t end = std::min(limit, src_.size());
    while (i < end && !stops.At[static_cast<unsigned char>(src_[i])])
        ++i;
    return i;
}

bool TLineTokenizer::TMarkupScan::OpensComment() const
{
    return !t_.commentLeft_.empty() && !t_.commentRight_.empty() && Rest().starts_with(t_.commentLeft_);
}

// Text content, and the prolog and epilog around the root element: nothing
// but the start of markup is looked at, so quotes, numbers and words in text
// are drawn as text.
void TLineTokenizer::TMarkupScan::Text(RunState &st)
{
    const size_t stop = NextStop(t_.textStops_, ChunkLimit());
    if (stop > head_) {
        EmitTaken(stop - head_, st);
        return;
    }
    if (OpensComment()) {
        // A comment keeps the text run it interrupts, so the text after it is
        // drawn as it would be without the comment.
        st.InComment = 1;
        EmitTaken(t_.commentLeft_.size(), st);
        return;
    }
    size_t len = 0;
    if (Peek(len) == U'<')
        OpenMarkup(st);
    else
        EmitTaken(len, st);
}

// Between the declarations of a DOCTYPE's internal subset.
void TLineTokenizer::TMarkupScan::Subset(RunState &st)
{
    if (scanOnly_) {
        const size_t stop = NextStop(t_.subsetStops_);
        if (stop > head_) {
            head_ = stop;
            canonical_ = false;
            return;
        }
    }
    if (OpensComment()) {
        st.InComment = 1;
        EmitTaken(t_.commentLeft_.size(), st);
        return;
    }
    size_t len = 0;
    const char32_t c = Peek(len);
    if (c == U'<') {
        OpenMarkup(st);
        return;
    }
    if (c == U']') {
        st.InSubset = 0;
        st.Markup = mcDeclaration;
    }
    Steps(c, len, st);
}

void TLineTokenizer::TMarkupScan::OpenMarkup(RunState &st)
{
    const std::string_view rest = Rest();
    if (!st.InSubset && rest.starts_with(kCDataOpen)) {
        // The section is text: the text run it interrupts goes on inside it.
        st.Markup = mcCData;
        SectionDelimiter(kCDataOpen.size(), U'<', st);
        return;
    }
    const TMarkupContext context = rest.starts_with("<?")                  ? mcInstruction
                                   : st.InSubset || rest.starts_with("<!") ? mcDeclaration
                                                                           : mcTag;
    if (st.InBracket) {
        // The text run ends at the "<", which it still colours.
        EmitTaken(1, st);
        CloseRun(st);
        st.Markup = context;
        tokenStart_ = false;
        consumed_ = true;
        canonical_ = true;
        return;
    }
    st.Markup = context;
    Delimiter(U'<', 1, st);
}

// Inside a tag, a processing instruction or a declaration, outside quotes.
void TLineTokenizer::TMarkupScan::Markup(RunState &st)
{
    if (scanOnly_) {
        const size_t stop = NextStop(StopsOf(st));
        if (stop > head_) {
            head_ = stop;
            canonical_ = false;
            return;
        }
    }
    size_t len = 0;
    const char32_t c = Peek(len);
    if (st.Markup == mcInstruction) {
        if (Rest().starts_with(kInstructionClose)) {
            Delimiter(U'?', 1, st);
            CloseMarkup(st);
            return;
        }
    } else if (c == U'<') {
        // A tag or declaration left open ends where the next markup begins.
        st.Markup = mcText;
        return;
    } else if (c == U'>') {
        CloseMarkup(st);
        return;
    } else if (c == U'[' && st.Markup == mcDeclaration && !st.InSubset) {
        st.InSubset = 1;
        st.Markup = mcText;
        Steps(c, len, st);
        return;
    }
    if (const TBracketStyle *quote = t_.QuoteOpenedBy(c)) {
        OpenRun(st, quote->Start, quote->End, quote->Index);
        EmitTaken(len, st);
        consumed_ = false;
        canonical_ = true;
        return;
    }
    Steps(c, len, st);
}

void TLineTokenizer::TMarkupScan::CloseMarkup(RunState &st)
{
    st.Markup = mcText;
    if (!st.InSubset && t_.textRun_) {
        const TBracketStyle &run = *t_.textRun_;
        OpenRun(st, run.Start, run.End, run.Index);
        EmitTaken(1, st);
        consumed_ = false;
        canonical_ = true;
        return;
    }
    Delimiter(U'>', 1, st);
}

// A quoted value inside markup. The end of a processing instruction also
// ends a quote left open in it.
void TLineTokenizer::TMarkupScan::Quoted(RunState &st)
{
    const bool instruction = st.Markup == mcInstruction;
    if (instruction && Rest().starts_with(kInstructionClose)) {
        CloseRun(st);
        return;
    }
    size_t len = 0;
    const char32_t c = Peek(len);
    const char32_t escape = t_.escape_;
    if (escape != 0 && c == escape) {
        EmitTaken(len, st);
        if (!AtEnd()) {
            Peek(len);
            EmitTaken(len, st);
        }
        consumed_ = true;
        return;
    }
    if (c == st.BracketEnd) {
        EmitTaken(len, st);
        CloseRun(st);
        tokenStart_ = false;
        consumed_ = true;
        canonical_ = true;
        return;
    }
    const unsigned char endLead = Utf8LeadByte(st.BracketEnd);
    const unsigned char escapeLead = Utf8LeadByte(escape);
    size_t stop = head_ + len;
    const size_t limit = std::max(stop, ChunkLimit());
    while (stop < limit) {
        const unsigned char b = static_cast<unsigned char>(src_[stop]);
        if (b == endLead || (escape != 0 && b == escapeLead) || (instruction && b == '?'))
            break;
        ++stop;
    }
    EmitTaken(stop - head_, st);
    consumed_ = true;
}

// The end of a construct whose closer is `closer`: its offset from the
// position, or npos when it does not start within the next chunk; `take`
// is then how far the bytes up to the chunk's end reach.
size_t TLineTokenizer::TMarkupScan::FindCloser(std::string_view closer, size_t &take) const
{
    const std::string_view rest = Rest();
    const size_t window = std::min(rest.size(), ChunkLimit() - head_ + closer.size());
    const size_t close = rest.substr(0, window).find(closer);
    take = window == rest.size() ? rest.size() : ChunkLimit() - head_;
    return close;
}

void TLineTokenizer::TMarkupScan::CommentBody(RunState &st)
{
    size_t take = 0;
    const size_t close = FindCloser(t_.commentRight_, take);
    if (close == npos) {
        EmitTaken(take, st);
        return;
    }
    EmitTaken(close + t_.commentRight_.size(), st);
    st.InComment = 0;
    consumed_ = false;
    canonical_ = true;
}

void TLineTokenizer::TMarkupScan::CDataBody(RunState &st)
{
    size_t take = 0;
    const size_t close = FindCloser(kCDataClose, take);
    if (close == npos) {
        EmitTaken(take, st);
        return;
    }
    EmitTaken(close, st);
    st.Markup = mcText;
    SectionDelimiter(kCDataClose.size(), U'>', st);
}

void TLineTokenizer::TMarkupScan::SectionDelimiter(size_t len, char32_t symbol, const RunState &st)
{
    RunState run = st;
    run.InBracket = 0;
    const int style = t_.SymbolStyleOf(symbol);
    run.Symbol = style >= 0;
    run.StyleIndex = style;
    EmitTaken(len, run);
}

void TLineTokenizer::TMarkupScan::Delimiter(char32_t c, size_t len, const RunState &st)
{
    RunState run = st;
    consumed_ = TakeSymbol(c, len, run);
    canonical_ = true;
    if (consumed_)
        tokenStart_ = true;
    else
        EmitTaken(len, run);
}

// The steps every styler shares, on a copy of the state: inside markup they
// colour one run and never change what the next line starts with.
void TLineTokenizer::TMarkupScan::Steps(char32_t c, size_t len, const RunState &st)
{
    atStart_ = head_ == 0;
    if (!consumed_)
        tokenStart_ = TokenStartAt(c);
    RunState run = st;
    if (TakeSymbol(c, len, run)) {
        tokenStart_ = true;
        consumed_ = true;
        return;
    }
    wordStops_ = &StopsOf(st);
    if (tokenStart_ && t_.numberStart_.Contains(UpperCodePoint(c)) && TakeNumber(HexPrefixBytes(), run)) {
        tokenStart_ = false;
        consumed_ = true;
        return;
    }
    if (tokenStart_ && TakeKeyword(len, run)) {
        consumed_ = true;
        return;
    }
    EmitTaken(len, run);
    consumed_ = false;
}

size_t TLineTokenizer::TMarkupScan::HexPrefixBytes() const
{
    if (t_.hexPrefixUpper_.empty())
        return 0;
    std::string headUpper;
    const size_t bytes = UpperHead(headUpper);
    return headUpper.starts_with(t_.hexPrefixUpper_) ? bytes : 0;
}

} // namespace tarnwick
