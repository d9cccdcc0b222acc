#include "editor/document/line_store.h"

#include "editor/control/custom_dodi.h"
#include "editor/base/utf8.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <istream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <system_error>

namespace tarnwick {

EListError::EListError(int index)
    : std::out_of_range("List index out of bounds (" + std::to_string(index) + ")"), index_(index)
{
}

namespace {

// Calls f(piece) for every line of `text`, split at CR LF, lone CR and lone
// LF; a final line break yields no extra empty line.
template <typename F>
void ForEachLine(std::string_view text, F &&f)
{
    size_t start = 0;
    const size_t n = text.size();
    while (start < n) {
        size_t i = start;
        while (i < n && text[i] != '\r' && text[i] != '\n')
            ++i;
        f(text.substr(start, i - start));
        if (i < n && text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
}

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

int REdoDodiStrings::TabSize() const { return ownerMemo_ ? ownerMemo_->TabSize() : 0; }

std::string REdoDodiStrings::ExpandTabs(std::string text) const
{
    if (!ownerMemo_ || text.find('\t') == std::string::npos)
        return text;
    const std::string spaces(std::max(0, TabSize()), ' ');
    std::string out;
    out.reserve(text.size() + spaces.size() * 4);
    for (char c : text) {
        if (c == '\t')
            out += spaces;
        else
            out += c;
    }
    return out;
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

void REdoDodiStrings::Put(int index, std::string text)
{
    CheckIndex(index, Count());
    if (ownerMemo_) {
        text = ExpandTabs(std::move(text));
        if (index < ownerMemo_->TopLine())
            ownerMemo_->DropTopLineState();
    }
    // A free-standing store keeps its lengths too: LineLength reads them.
    const int len = utf8::Length(text);
    if (index < lineLengths_.Count())
        lineLengths_.Set(index, len);
    else
        lineLengths_.Add(len);
    Changing();
    lines_[index].Text = std::move(text);
    stateTracker_.LineReplaced(index);
    Changed();
}

void REdoDodiStrings::InsertLine(int index, std::string text)
{
    text = ExpandTabs(std::move(text));
    if (ownerMemo_) {
        if (index < ownerMemo_->TopLine())
            ownerMemo_->DropTopLineState();
        ownerMemo_->ShiftBookmarksForInsert(index);
    }
    lineLengths_.Insert(index, utf8::Length(text));
    Changing();
    lines_.insert(index, Line{std::move(text), nullptr, nullptr});
    stateTracker_.LineInserted(index);
    Changed();
}

void REdoDodiStrings::Insert(int index, std::string text)
{
    CheckIndex(index, Count() + 1);
    if (!ownerMemo_) {
        InsertLine(index, std::move(text));
        return;
    }
    // The caret keeps its column and line numbers across the insertion.
    ownerMemo_->CollapseSelection();
    InsertLine(index, std::move(text));
    ownerMemo_->Invalidate();
}

void REdoDodiStrings::AppendLine(std::string text, void *object)
{
    lineLengths_.Add(utf8::Length(text));
    Changing();
    lines_.push_back(Line{std::move(text), nullptr, object});
    Changed();
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
    text = ExpandTabs(std::move(text));
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

void REdoDodiStrings::AddStrings(const std::vector<std::string> &lines)
{
    BeginUpdate();
    lines_.reserve(lines_.size() + lines.size());
    for (const std::string &s : lines)
        AddObject(s, nullptr);
    EndUpdate();
    if (ownerMemo_) {
        RebuildLineLengths();
        if (lockCount_ == 0)
            ownerMemo_->Refresh();
    }
}

void REdoDodiStrings::AddStrings(const REdoDodiStrings &other)
{
    if (&other == this)
        return;
    BeginUpdate();
    lines_.reserve(lines_.size() + other.lines_.size());
    for (const Line &l : other.lines_)
        AddObject(l.Text, l.Object);
    EndUpdate();
    if (ownerMemo_) {
        RebuildLineLengths();
        if (lockCount_ == 0)
            ownerMemo_->Refresh();
    }
}

void REdoDodiStrings::DeleteEntry(int index)
{
    lineLengths_.Delete(index);
    Changing();
    lines_.erase(index);
    stateTracker_.LineDeleted(index);
    Changed();
}

void REdoDodiStrings::RemoveLine(int index)
{
    if (index >= 0 && index < Count())
        DeleteEntry(index);
}

void REdoDodiStrings::InsertLines(int index, std::vector<std::string> texts)
{
    CheckIndex(index, Count() + 1);
    if (texts.empty())
        return;
    const int n = static_cast<int>(texts.size());
    std::vector<int32_t> lengths;
    lengths.reserve(n);
    std::vector<Line> block;
    block.reserve(n);
    for (std::string &t : texts) {
        t = ExpandTabs(std::move(t));
        lengths.push_back(utf8::Length(t));
        block.push_back(Line{std::move(t), nullptr, nullptr});
    }
    if (ownerMemo_) {
        if (index < ownerMemo_->TopLine())
            ownerMemo_->DropTopLineState();
        for (int k = 0; k < n; ++k)
            ownerMemo_->ShiftBookmarksForInsert(index);
    }
    lineLengths_.InsertRange(index, lengths);
    Changing();
    lines_.insert(index, std::make_move_iterator(block.begin()), std::make_move_iterator(block.end()));
    for (int k = 0; k < n; ++k)
        stateTracker_.LineInserted(index + k);
    Changed();
}

void REdoDodiStrings::RemoveLines(int index, int count)
{
    if (index < 0 || index >= Count() || count <= 0)
        return;
    count = std::min(count, Count() - index);
    if (ownerMemo_ && index < ownerMemo_->TopLine())
        ownerMemo_->DropTopLineState();
    lineLengths_.DeleteRange(index, count);
    Changing();
    lines_.erase(index, count);
    for (int k = 0; k < count; ++k)
        stateTracker_.LineDeleted(index);
    Changed();
}

void REdoDodiStrings::Delete(int index)
{
    if (index < 0 || index >= Count())
        return;
    if (!ownerMemo_ || deleting_) {
        DeleteEntry(index);
        return;
    }
    DeleteWithEditor(index);
}

// The deletion goes through the editor's delete-line operation, so it is
// undoable and moves markers and bookmarks; that operation calls Delete again,
// which then finds Deleting set and removes the entry itself.
void REdoDodiStrings::DeleteWithEditor(int index)
{
    TCustomDodi &ed = *ownerMemo_;
    if (index < ed.TopLine())
        ed.DropTopLineState();
    Restore<bool> guard(deleting_, true);
    if (ed.CodeFolding()->Enabled()) {
        if (TLineProp *p = LinePropOf(index)) {
            if (p->StartsRegion)
                ed.RemoveFoldRegionStartingAt(index);
            else if (p->InRegion && p->RegionEndCount > 0)
                ed.RemoveFoldRegionEndingAt(index);
        }
    }
    const int x = ed.CaretCol();
    const int y = ed.CaretLine();
    const int n = Count();
    ed.SetCaretLine(index);
    ed.DeleteLine();
    // When the caret's own line was the last one, it stays on the new last line.
    ed.SetCaretDirect(n == 1 ? 0 : x, std::min(index < y ? y - 1 : y, Count() - 1));
}

void REdoDodiStrings::ClearEntries()
{
    if (lines_.empty() && lineLengths_.Empty())
        return;
    Changing();
    lines_.clear();
    lineLengths_.Clear();
    stateTracker_.Reset();
    Changed();
}

void REdoDodiStrings::Clear()
{
    if (ownerMemo_) {
        TCustomDodi &ed = *ownerMemo_;
        ed.State().SelStart = {};
        ed.State().SelEnd = {};
        ed.SetCaretLine(0);
        ed.SetCaretCol(0);
        ed.Invalidate();
        ed.State().FoldRegionCount = 0;
    }
    ClearEntries();
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
    BeginUpdate();
    Clear();
    AddStrings(lines);
    EndUpdate();
    RebuildLineLengths();
    if (ownerMemo_) {
        ownerMemo_->RecomputeMaxLineLength();
        ownerMemo_->Refresh();
    }
}

void REdoDodiStrings::Assign(const REdoDodiStrings &source)
{
    if (&source == this)
        return;
    if (!ownerMemo_) {
        BeginUpdate();
        Clear();
        AddStrings(source);
        EndUpdate();
        RebuildLineLengths();
        return;
    }
    TCustomDodi &ed = *ownerMemo_;
    const bool folding = ed.CodeFolding()->Enabled();
    ed.CodeFolding()->SetEnabled(false);
    ed.Clear();
    ed.SetLines(source);
    RebuildLineLengths();
    ed.RecomputeMaxLineLength();
    ed.UpdateScrollBars();
    ed.CodeFolding()->SetEnabled(folding);
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

void REdoDodiStrings::ReadLines(std::string_view text, bool throughAdd)
{
    // An eighth more room for the lines that editing adds: without it the
    // first Enter after loading a huge file would move every line to a new
    // block at once.
    const size_t lines = lines_.size() + std::count(text.begin(), text.end(), '\n') + 1;
    lines_.reserve(lines + lines / 8);
    lineLengths_.Reserve(static_cast<int>(lines_.capacity()));
    ForEachLine(text, [&](std::string_view piece) {
        if (throughAdd)
            Add(std::string(piece));
        else
            AddObject(std::string(piece), nullptr);
    });
}

void REdoDodiStrings::SetText(std::string_view text)
{
    BeginUpdate();
    Clear();
    ReadLines(text, true);
    EndUpdate();
    // Replacing the text is one change: the editor refreshes as after an edit.
    if (ownerMemo_)
        ownerMemo_->LinesChanged();
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
    if (!ownerMemo_) {
        BeginUpdate();
        ClearEntries();
        ReadLines(text, false);
        EndUpdate();
        return;
    }
    LoadWithEditor(text);
}

void REdoDodiStrings::LoadWithEditor(std::string_view text)
{
    TCustomDodi &ed = *ownerMemo_;
    ed.CollapseSelection();
    ed.ClearUndo();
    ed.SetCaretCol(0);
    ed.SetCaretLine(0);
    {
        // Change handling stays off and OnChange detached only while the lines
        // are read; both come back even if reading fails.
        Restore<bool> handling(ed.State().ChangeHandling, false);
        Restore<TNotifyEvent> detached(OnChange, nullptr);
        BeginUpdate();
        Clear();
        ReadLines(text, true);
        EndUpdate();
        ed.DropTopLineState();
        ed.SetCaretCol(0);
        ed.SetCaretLine(0);
        ed.State().MaxLineLength = LongestLineLength();
    }
    ed.LinesChanged();
    if (ed.WordWrap() != wwNone)
        ed.Rewrap();
    ed.ScanRegions();
    ed.Refresh();
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
    const bool wrapped = ownerMemo_ && ownerMemo_->WordWrap() != wwNone;
    if (wrapped)
        ownerMemo_->UnwrapAll();
    struct Rewrap {
        TCustomDodi *ed;
        ~Rewrap()
        {
            if (ed)
                ed->WrapAll();
        }
    } rewrap{wrapped ? ownerMemo_ : nullptr};

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
    if (lineLengths_.Count() != Count())
        return false;
    for (int i = 0; i < Count(); ++i)
        if (lineLengths_.Get(i) != utf8::Length(lines_[i].Text))
            return false;
    return true;
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
    if (ownerMemo_ && ownerMemo_->CodeFolding()->Enabled() && index > 0) {
        // A line created inside a fold region belongs to it.
        if (const TLineProp *above = LinePropOf(index - 1))
            prop->InRegion = (above->InRegion && above->RegionEndCount == 0) ||
                             (above->StartsRegion && above->Expanded);
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

std::vector<REdoDodiStrings::TStoredLine> REdoDodiStrings::TakeLines()
{
    lineLengths_.Clear();
    return lines_.Release();
}

void REdoDodiStrings::PutLines(std::vector<TStoredLine> lines)
{
    lines_ = GapVector<Line>(std::move(lines));
    RebuildLineLengths();
    stateTracker_.InvalidateAll();
}

void REdoDodiStrings::InvalidateStateCaches()
{
    for (Line &l : lines_)
        if (l.Prop)
            l.Prop->InvalidateStateCache();
    stateTracker_.Reset();
}

void REdoDodiStrings::ForEachLineProp(const std::function<void(int, TLineProp &)> &f)
{
    for (int i = 0; i < Count(); ++i)
        if (lines_[i].Prop)
            f(i, *lines_[i].Prop);
}

} // namespace tarnwick
