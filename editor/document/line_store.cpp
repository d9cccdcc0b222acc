#include "editor/document/line_store.h"

#include "editor/base/text_cells.h"
#include "editor/base/utf8.h"
#include "editor/document/line_reader.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <system_error>
#include <utility>

namespace tarnwick {

EListError::EListError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")"), index_(index)
{
}

namespace {

// Restores a value when the scope ends, also when a read throws.
template <typename T>
class Restore {
public:
    Restore(T &target, T value) : target_(target), saved_(std::move(target)) { target_ = std::move(value); }
    ~Restore() { target_ = std::move(saved_); }
    Restore(const Restore &) = delete;
    Restore &operator=(const Restore &) = delete;

private:
    T &target_;
    T saved_;
};

} // namespace

REdoDodiStrings::~REdoDodiStrings() = default;

void REdoDodiStrings::SetOwnerMemo(TLinesOwner *owner)
{
    if (ownerMemo_)
        RemoveListener(ownerMemo_);
    ownerMemo_ = owner;
    if (owner)
        listeners_.insert(listeners_.begin(), owner);
}

void REdoDodiStrings::AddListener(TLinesListener *listener)
{
    if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void REdoDodiStrings::RemoveListener(TLinesListener *listener) { std::erase(listeners_, listener); }

// By index: a listener may add or remove listeners while it is told.
void REdoDodiStrings::Announce(const TLinesChange &change)
{
    if (quiet_ == 0)
        for (size_t i = 0; i < listeners_.size(); ++i)
            listeners_[i]->LinesChanging(*this, change);
}

void REdoDodiStrings::Report(const TLinesChange &change)
{
    if (quiet_ == 0)
        for (size_t i = 0; i < listeners_.size(); ++i)
            listeners_[i]->LinesChanged(*this, change);
}

template <typename F>
void REdoDodiStrings::Wholesale(TLinesChange::TKind kind, F &&replace)
{
    const TLinesChange change{.Kind = kind};
    Announce(change);
    {
        Restore<int> quiet(quiet_, quiet_ + 1);
        replace();
    }
    Report(change);
}

void REdoDodiStrings::CheckIndex(int index, int limit) const
{
    if (index < 0 || index >= limit)
        throw EListError(index);
}

void REdoDodiStrings::Changing()
{
    if (lockCount_ == 0 && OnChanging)
        OnChanging(*this);
}

void REdoDodiStrings::Changed()
{
    if (lockCount_ == 0 && OnChange)
        OnChange(*this);
}

const std::string &REdoDodiStrings::Get(int index) const
{
    CheckIndex(index, Count());
    return lines_[index].Text;
}

int REdoDodiStrings::LineLength(int index) const
{
    if (index < 0 || index >= Count())
        return 0;
    if (lineLengths_.Count() == Count())
        return lineLengths_.Get(index);
    return utf8::Length(lines_[index].Text);
}

size_t REdoDodiStrings::ByteOfColumn(int index, int column) const
{
    if (index < 0 || index >= Count())
        return 0;
    const std::string &text = lines_[index].Text;
    // A line of single-byte characters has its columns at its bytes.
    if (column <= 0 || (lineLengths_.Count() == Count() && static_cast<size_t>(lineLengths_.Get(index)) == text.size()))
        return std::min(static_cast<size_t>(std::max(column, 0)), text.size());
    if (TLongLines::TEntry *entry = longLines_.Ensure(index, text))
        return entry->Columns.ByteOf(text, column);
    return utf8::ByteOffset(text, column);
}

int REdoDodiStrings::ColumnOfByte(int index, size_t byte) const
{
    if (index < 0 || index >= Count())
        return 0;
    const std::string &text = lines_[index].Text;
    byte = std::min(byte, text.size());
    if (lineLengths_.Count() == Count() && static_cast<size_t>(lineLengths_.Get(index)) == text.size())
        return static_cast<int>(byte);
    if (TLongLines::TEntry *entry = longLines_.Ensure(index, text))
        return entry->Columns.ColumnOf(text, byte);
    return utf8::Length(std::string_view(text).substr(0, byte));
}

TLineScanPoints *REdoDodiStrings::ScanPointsOf(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    TLongLines::TEntry *entry = longLines_.Ensure(index, lines_[index].Text);
    return entry ? &entry->Points : nullptr;
}

const TColumnIndex *REdoDodiStrings::ColumnIndexOf(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    TLongLines::TEntry *entry = longLines_.Ensure(index, lines_[index].Text);
    return entry ? &entry->Columns : nullptr;
}

void REdoDodiStrings::TextEdited(int index, size_t start, std::string_view removed, size_t newLength, int columnDelta)
{
    stateTracker_.LineReplaced(index);
    longLines_.Edited(index, lines_[index].Text, start, removed, newLength, columnDelta);
}

// Listeners hear of the bytes that differ, not of the whole line: the undo
// list then keeps only what changed.
void REdoDodiStrings::Put(int index, std::string text)
{
    CheckIndex(index, Count());
    const std::string &old = lines_[index].Text;
    const size_t common = std::min(old.size(), text.size());
    size_t prefix = 0;
    while (prefix < common && old[prefix] == text[prefix])
        ++prefix;
    size_t suffix = 0;
    while (suffix < common - prefix && old[old.size() - 1 - suffix] == text[text.size() - 1 - suffix])
        ++suffix;
    // The bytes that differ, widened to whole characters.
    const auto continues = [](const std::string &s, size_t at) {
        return at < s.size() && (static_cast<unsigned char>(s[at]) & 0xC0) == 0x80;
    };
    while (prefix > 0 && (continues(old, prefix) || continues(text, prefix)))
        --prefix;
    while (suffix > 0 && (continues(old, old.size() - suffix) || continues(text, text.size() - suffix)))
        --suffix;
    const TLinesChange change{.Kind = TLinesChange::lcEdit,
                              .Line = index,
                              .Count = 1,
                              .Start = prefix,
                              .OldLength = old.size() - prefix - suffix,
                              .NewLength = text.size() - prefix - suffix};
    Announce(change);
    // A free-standing store keeps its lengths too: LineLength reads them.
    const int len = utf8::Length(text);
    const int oldLen = index < lineLengths_.Count() ? lineLengths_.Get(index) : utf8::Length(old);
    if (index < lineLengths_.Count())
        lineLengths_.Set(index, len);
    else
        lineLengths_.Add(len);
    Changing();
    std::string previous = std::exchange(lines_[index].Text, std::move(text));
    TextEdited(index, change.Start, std::string_view(previous).substr(change.Start, change.OldLength), change.NewLength,
               len - oldLen);
    Changed();
    Report(change);
}

void REdoDodiStrings::ReplaceText(int index, size_t start, size_t length, std::string_view text)
{
    if (index < 0 || index >= Count())
        return;
    std::string &line = lines_[index].Text;
    start = std::min(start, line.size());
    length = std::min(length, line.size() - start);
    const TLinesChange change{.Kind = TLinesChange::lcEdit,
                              .Line = index,
                              .Count = 1,
                              .Start = start,
                              .OldLength = length,
                              .NewLength = text.size()};
    Announce(change);
    Changing();
    // The length moves by what changed; the rest of the line is not read.
    const std::string removed = line.substr(start, length);
    const int delta = utf8::Length(text) - utf8::Length(removed);
    line.replace(start, length, text);
    if (index < lineLengths_.Count())
        lineLengths_.Set(index, lineLengths_.Get(index) + delta);
    TextEdited(index, start, removed, text.size(), delta);
    Changed();
    Report(change);
}

void REdoDodiStrings::InsertLine(int index, std::string text)
{
    const TLinesChange change{.Kind = TLinesChange::lcInsert, .Line = index, .Count = 1};
    Announce(change);
    lineLengths_.Insert(index, utf8::Length(text));
    Changing();
    lines_.insert(index, Line{std::move(text), nullptr, nullptr});
    ends_.insert(index, style_);
    CountEnd(style_, 1);
    stateTracker_.LineInserted(index);
    longLines_.Inserted(index, 1);
    Changed();
    Report(change);
}

void REdoDodiStrings::Insert(int index, std::string text)
{
    CheckIndex(index, Count() + 1);
    InsertLine(index, std::move(text));
}

void REdoDodiStrings::AppendLine(std::string text, void *object)
{
    const TLinesChange change{.Kind = TLinesChange::lcInsert, .Line = Count(), .Count = 1};
    Announce(change);
    lineLengths_.Add(utf8::Length(text));
    Changing();
    lines_.push_back(Line{std::move(text), nullptr, object});
    ends_.push_back(style_);
    CountEnd(style_, 1);
    Changed();
    Report(change);
}

int REdoDodiStrings::AddObject(std::string text, void *object)
{
    AppendLine(std::move(text), object);
    return Count() - 1;
}

int REdoDodiStrings::Add(std::string text)
{
    if (!ownerMemo_)
        return AddObject(std::move(text), nullptr);
    if (text.find_first_of("\r\n") == std::string::npos)
        return AddObject(std::move(text), nullptr);
    std::string noLf;
    noLf.reserve(text.size());
    for (char c : text)
        if (c != '\n')
            noLf += c;
    int last = -1;
    size_t start = 0;
    for (;;) {
        size_t cr = noLf.find('\r', start);
        last = AddObject(noLf.substr(start, cr == std::string::npos ? std::string::npos : cr - start), nullptr);
        if (cr == std::string::npos)
            break;
        start = cr + 1;
    }
    return last;
}

// One insertion for listeners however many lines come in.
void REdoDodiStrings::AddStrings(const std::vector<std::string> &lines)
{
    const TLinesChange change{.Kind = TLinesChange::lcInsert, .Line = Count(), .Count = static_cast<int>(lines.size())};
    Announce(change);
    {
        Restore<int> quiet(quiet_, quiet_ + 1);
        BeginUpdate();
        lines_.reserve(lines_.size() + lines.size());
        for (const std::string &s : lines)
            AddObject(s, nullptr);
        EndUpdate();
    }
    Report(change);
}

void REdoDodiStrings::AddStrings(const REdoDodiStrings &other)
{
    if (&other == this)
        return;
    const TLinesChange change{.Kind = TLinesChange::lcInsert, .Line = Count(), .Count = other.Count()};
    Announce(change);
    {
        Restore<int> quiet(quiet_, quiet_ + 1);
        BeginUpdate();
        lines_.reserve(lines_.size() + other.lines_.size());
        for (int i = 0; i < other.Count(); ++i) {
            AddObject(other.lines_[i].Text, other.lines_[i].Object);
            SetEnd(Count() - 1, other.ends_[i]);
        }
        EndUpdate();
    }
    Report(change);
}

void REdoDodiStrings::DeleteEntry(int index)
{
    const TLinesChange change{.Kind = TLinesChange::lcRemove, .Line = index, .Count = 1};
    Announce(change);
    lineLengths_.Delete(index);
    Changing();
    CountEnd(ends_[index], -1);
    lines_.erase(index);
    ends_.erase(index);
    stateTracker_.LineDeleted(index);
    longLines_.Removed(index, 1);
    Changed();
    Report(change);
}

void REdoDodiStrings::RemoveLine(int index)
{
    if (index >= 0 && index < Count())
        DeleteEntry(index);
}

void REdoDodiStrings::InsertLines(int index, std::vector<std::string> texts, std::string_view ends)
{
    CheckIndex(index, Count() + 1);
    if (texts.empty())
        return;
    const int n = static_cast<int>(texts.size());
    std::vector<int32_t> lengths;
    lengths.reserve(n);
    std::vector<Line> block;
    block.reserve(n);
    std::vector<TLineEnd> blockEnds;
    blockEnds.reserve(n);
    for (std::string &t : texts) {
        lengths.push_back(utf8::Length(t));
        const size_t k = block.size();
        blockEnds.push_back(k < ends.size() ? static_cast<TLineEnd>(ends[k]) : style_);
        CountEnd(blockEnds.back(), 1);
        block.push_back(Line{std::move(t), nullptr, nullptr});
    }
    const TLinesChange change{.Kind = TLinesChange::lcInsert, .Line = index, .Count = n};
    Announce(change);
    lineLengths_.InsertRange(index, lengths);
    Changing();
    lines_.insert(index, std::make_move_iterator(block.begin()), std::make_move_iterator(block.end()));
    ends_.insert(index, blockEnds.begin(), blockEnds.end());
    for (int k = 0; k < n; ++k)
        stateTracker_.LineInserted(index + k);
    longLines_.Inserted(index, n);
    Changed();
    Report(change);
}

void REdoDodiStrings::RemoveLines(int index, int count)
{
    if (index < 0 || index >= Count() || count <= 0)
        return;
    count = std::min(count, Count() - index);
    const TLinesChange change{.Kind = TLinesChange::lcRemove, .Line = index, .Count = count};
    Announce(change);
    lineLengths_.DeleteRange(index, count);
    Changing();
    for (int k = 0; k < count; ++k)
        CountEnd(ends_[index + k], -1);
    lines_.erase(index, count);
    ends_.erase(index, count);
    for (int k = 0; k < count; ++k)
        stateTracker_.LineDeleted(index);
    longLines_.Removed(index, count);
    Changed();
    Report(change);
}

// In an owned store the deletion is the owner's line deletion, undoable and
// moving what hangs off the lines; that deletion calls Delete again, which
// then finds Deleting set and removes the entry itself.
void REdoDodiStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    if (!ownerMemo_ || deleting_) {
        DeleteEntry(index);
        return;
    }
    Restore<bool> guard(deleting_, true);
    ownerMemo_->DeleteStoreLine(index);
}

void REdoDodiStrings::ClearEntries()
{
    if (lines_.empty() && lineLengths_.Empty())
        return;
    Changing();
    lines_.clear();
    ends_.clear();
    lineLengths_.Clear();
    std::fill(std::begin(endCounts_), std::end(endCounts_), 0);
    stateTracker_.Reset();
    longLines_.Clear();
    Changed();
}

void REdoDodiStrings::Clear()
{
    Wholesale(TLinesChange::lcClear, [&] { ClearEntries(); });
}

void *REdoDodiStrings::GetObject(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return lines_[index].Object;
}

void REdoDodiStrings::PutObject(int index, void *object)
{
    if (index < 0 || index >= Count())
        return;
    lines_[index].Object = object;
}

void REdoDodiStrings::Assign(const std::vector<std::string> &lines)
{
    Wholesale(TLinesChange::lcReset, [&] {
        BeginUpdate();
        ClearEntries();
        AddStrings(lines);
        EndUpdate();
        RebuildLineLengths();
    });
}

void REdoDodiStrings::Assign(const REdoDodiStrings &source)
{
    if (&source == this)
        return;
    Wholesale(TLinesChange::lcReset, [&] {
        BeginUpdate();
        ClearEntries();
        AddStrings(source);
        EndUpdate();
        RebuildLineLengths();
    });
}

void REdoDodiStrings::AssignTo(std::vector<std::string> &lines) const { lines = ToVector(); }

std::vector<std::string> REdoDodiStrings::ToVector() const
{
    std::vector<std::string> out;
    out.reserve(lines_.size());
    for (const Line &l : lines_)
        out.push_back(l.Text);
    return out;
}

std::string REdoDodiStrings::Text() const
{
    size_t size = 0;
    for (const Line &l : lines_)
        size += l.Text.size() + 2;
    std::string out;
    out.reserve(size);
    for (const Line &l : lines_) {
        out += l.Text;
        out += "\r\n";
    }
    return out;
}

std::string REdoDodiStrings::FileText() const
{
    size_t size = 0;
    for (const Line &l : lines_)
        size += l.Text.size() + 2;
    std::string out;
    out.reserve(size);
    const int last = Count() - 1;
    for (int i = 0; i <= last; ++i) {
        out += lines_[i].Text;
        if (i < last || finalLineEnd_)
            out += LineEndText(ends_[i]);
    }
    return out;
}

TLineEnd REdoDodiStrings::LineEndOf(int index) const
{
    return index >= 0 && index < Count() ? ends_[index] : style_;
}

bool REdoDodiStrings::MixedLineEnds() const
{
    size_t counts[3];
    std::copy(std::begin(endCounts_), std::end(endCounts_), counts);
    // An unended last line writes no break.
    if (!finalLineEnd_ && !lines_.empty())
        --counts[ends_[ends_.size() - 1]];
    return std::count_if(std::begin(counts), std::end(counts), [](size_t n) { return n > 0; }) > 1;
}

std::string REdoDodiStrings::LineEnds(int index, int count) const
{
    std::string ends;
    for (int i = std::max(0, index); i < std::min(Count(), index + count); ++i)
        ends += static_cast<char>(ends_[i]);
    return ends;
}

void REdoDodiStrings::SetEnd(int index, TLineEnd end)
{
    CountEnd(ends_[index], -1);
    ends_[index] = end;
    CountEnd(end, 1);
}

void REdoDodiStrings::SetLineEnds(int index, std::string_view ends, TLineEnd style)
{
    if (index < 0)
        return;
    const int count = std::min(static_cast<int>(ends.size()), Count() - index);
    const TLinesChange change{.Kind = TLinesChange::lcEnds, .Line = index, .Count = std::max(0, count)};
    Announce(change);
    Changing();
    for (int k = 0; k < count; ++k)
        SetEnd(index + k, static_cast<TLineEnd>(ends[k]));
    style_ = style;
    Changed();
    Report(change);
}

void REdoDodiStrings::ConvertLineEnds(TLineEnd style)
{
    SetLineEnds(0, std::string(lines_.size(), static_cast<char>(style)), style);
}

void REdoDodiStrings::ReadLines(std::string_view text)
{
    // An eighth more room for the lines that editing adds (the reader's):
    // without it the first Enter after loading a huge file would move every
    // line to a new block at once.
    TLineReader reader(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    reader.Append(text);
    AppendRead(reader.Finish());
}

void REdoDodiStrings::AppendRead(TReadLines read)
{
    std::vector<Line> &lines = read.Lines;
    lineLengths_.Reserve(static_cast<int>(lines_.size() + lines.capacity()));
    for (const Line &l : lines)
        lineLengths_.Add(utf8::Length(l.Text));
    for (TLineEnd end : read.Ends)
        CountEnd(end, 1);
    style_ = read.Style;
    finalLineEnd_ = read.FinalLineEnd;
    if (lines_.empty()) {
        lines_ = GapVector<Line>(std::move(lines));
        ends_ = GapVector<TLineEnd>(std::move(read.Ends));
        return;
    }
    lines_.reserve(lines_.size() + lines.size());
    lines_.insert(lines_.size(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    ends_.insert(ends_.size(), read.Ends.begin(), read.Ends.end());
}

void REdoDodiStrings::LoadLines(TReadLines lines)
{
    Wholesale(TLinesChange::lcLoad, [&] {
        Restore<TNotifyEvent> detached(OnChange, nullptr);
        BeginUpdate();
        ClearEntries();
        AppendRead(std::move(lines));
        EndUpdate();
    });
}

void REdoDodiStrings::SetText(std::string_view text)
{
    Wholesale(TLinesChange::lcReset, [&] {
        BeginUpdate();
        ClearEntries();
        ReadLines(text);
        EndUpdate();
    });
    // Replacing the text of an editor is one change, raised as after an edit.
    if (ownerMemo_)
        Changed();
}

void REdoDodiStrings::LoadFromString(std::string_view bytes) { LoadBytes(bytes); }

void REdoDodiStrings::LoadFromStream(std::istream &in)
{
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw EFileStreamError("Stream read error");
    LoadBytes(bytes);
}

// Valid UTF-8 is split straight from the caller's bytes; only other text is
// converted first, so a large file is copied once, into its lines.
void REdoDodiStrings::LoadBytes(std::string_view bytes)
{
    std::string converted;
    std::string_view text = bytes;
    if (utf8::IsValid(bytes)) {
        if (text.starts_with("\xEF\xBB\xBF"))
            text.remove_prefix(3);
    } else {
        converted = utf8::FromWindows1252(bytes);
        text = converted;
    }
    // Change events stay off while the lines are read; the owner raises the
    // one change of the load when it hears of it.
    Wholesale(TLinesChange::lcLoad, [&] {
        Restore<TNotifyEvent> detached(OnChange, nullptr);
        BeginUpdate();
        ClearEntries();
        ReadLines(text);
        EndUpdate();
    });
}

void REdoDodiStrings::LoadFromFile(const std::string &fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        std::error_code ec(errno, std::generic_category());
        throw EFileStreamError("Cannot open file \"" + fileName + "\". " + ec.message());
    }
    LoadFromStream(in);
}

void REdoDodiStrings::SaveToStream(std::ostream &out) const
{
    for (const Line &l : lines_) {
        out.write(l.Text.data(), static_cast<std::streamsize>(l.Text.size()));
        out.write("\r\n", 2);
    }
}

// The text goes to a temporary file beside the target which then replaces
// it, so a failed write never leaves a truncated file behind.
void REdoDodiStrings::SaveToFile(const std::string &fileName)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(fileName);
    if (fs::is_symlink(target, ec))
        target = fs::canonical(target, ec);
    const fs::path temp = target.string() + ".tarnwick-save";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            throw EFileStreamError("Cannot create file \"" + fileName + "\". " +
                                   std::error_code(errno, std::generic_category()).message());
        SaveToStream(out);
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            throw EFileStreamError("Cannot write file \"" + fileName + "\"");
        }
    }
    if (fs::exists(target, ec))
        fs::permissions(temp, fs::status(target, ec).permissions(), ec);
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw EFileStreamError("Cannot write file \"" + fileName + "\". " + ec.message());
    }
}

void REdoDodiStrings::BeginUpdate()
{
    if (updateDepth_++ == 0)
        SetUpdateState(true);
}

void REdoDodiStrings::EndUpdate()
{
    if (updateDepth_ == 0)
        return;
    if (--updateDepth_ == 0)
        SetUpdateState(false);
}

void REdoDodiStrings::SetUpdateState(bool updating)
{
    if (updating)
        ++lockCount_;
    else if (lockCount_ > 0)
        --lockCount_;
}

void REdoDodiStrings::RebuildLineLengths()
{
    lineLengths_.Clear();
    lineLengths_.Reserve(Count());
    for (const Line &l : lines_)
        lineLengths_.Add(utf8::Length(l.Text));
}

bool REdoDodiStrings::CheckInvariants() const
{
    if (lineLengths_.Count() != Count() || ends_.size() != lines_.size())
        return false;
    size_t ends[3] = {};
    for (int i = 0; i < Count(); ++i) {
        if (lineLengths_.Get(i) != utf8::Length(lines_[i].Text))
            return false;
        ++ends[ends_[i]];
    }
    return std::equal(std::begin(ends), std::end(ends), std::begin(endCounts_));
}

TLineProp *REdoDodiStrings::LinePropOf(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return lines_[index].Prop.get();
}

TLineProp *REdoDodiStrings::EnsureLineProp(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    Line &line = lines_[index];
    if (line.Prop)
        return line.Prop.get();
    auto prop = std::make_unique<TLineProp>();
    if (index > 0) {
        // A line created inside a fold region belongs to it.
        if (const TLineProp *above = LinePropOf(index - 1))
            prop->InRegion =
                (above->InRegion && above->RegionEndCount == 0) || (above->StartsRegion && above->Expanded);
        if (!prop->InRegion)
            if (const TLineProp *below = LinePropOf(index + 1))
                prop->InRegion = below->InRegion;
    }
    line.Prop = std::move(prop);
    return line.Prop.get();
}

void REdoDodiStrings::SetLineProp(int index, std::unique_ptr<TLineProp> prop)
{
    if (index < 0 || index >= Count())
        return;
    lines_[index].Prop = std::move(prop);
}

void REdoDodiStrings::InvalidateStateCaches()
{
    for (Line &l : lines_)
        if (l.Prop)
            l.Prop->InvalidateStateCache();
    stateTracker_.Reset();
    longLines_.InvalidatePoints();
}

void REdoDodiStrings::ForEachLineProp(const std::function<void(int, TLineProp &)> &f)
{
    for (int i = 0; i < Count(); ++i)
        if (lines_[i].Prop)
            f(i, *lines_[i].Prop);
}

int LineAfterChange(int line, const TLinesChange &change, TLineRemoval removal)
{
    if (line < change.Line)
        return line;
    switch (change.Kind) {
    case TLinesChange::lcInsert:
        return line + change.Count;
    case TLinesChange::lcRemove:
        if (line >= change.Line + change.Count)
            return line - change.Count;
        return removal == lrDrop ? -1 : change.Line - 1;
    default:
        return line;
    }
}

} // namespace tarnwick
