// REdoDodiStrings: the editor's text as a list of lines (UTF-8, without line
// breaks), each with an object slot and an optional TLineProp, plus the
// parallel list of line lengths.
#pragma once

#include "editor/base/gap_vector.h"
#include "editor/base/int_list.h"
#include "editor/base/list_errors.h"
#include "editor/document/line_end.h"
#include "editor/document/line_lengths.h"
#include "editor/document/line_prop.h"
#include "editor/document/lines_listener.h"
#include "editor/document/long_lines.h"
#include "editor/document/tokenizer_state_tracker.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {

class REdoDodiStrings {
public:
    using TNotifyEvent = std::function<void(REdoDodiStrings &sender)>;

    REdoDodiStrings() = default;
    explicit REdoDodiStrings(TLinesOwner *ownerMemo) { SetOwnerMemo(ownerMemo); }
    REdoDodiStrings(const REdoDodiStrings &) = delete;
    REdoDodiStrings &operator=(const REdoDodiStrings &) = delete;
    ~REdoDodiStrings();

    // The editor this store belongs to, null for a free-standing store. An
    // owned store splits added text at line breaks, and its
    // Delete is the owner's line deletion; a free-standing one behaves as a
    // plain string list. The owner is the first listener.
    TLinesOwner *OwnerMemo() const { return ownerMemo_; }
    void SetOwnerMemo(TLinesOwner *owner);
    // Listeners hear of every change, before and after it (lines_listener.h).
    void AddListener(TLinesListener *listener);
    void RemoveListener(TLinesListener *listener);
    // The cells between tab stops: a tab reaches to the next multiple of it.
    int TabSize() const { return tabSize_; }
    void SetTabSize(int spaces)
    {
        tabSize_ = spaces;
        longLines_.SetTabSize(spaces);
    }

    int Count() const { return static_cast<int>(lines_.size()); }
    bool Empty() const { return lines_.empty(); }

    // Get/Put/Insert throw EListError for an index outside the list.
    const std::string &Get(int index) const;
    const std::string &Strings(int index) const { return Get(index); }
    const std::string &operator[](int index) const { return Get(index); }
    void Put(int index, std::string text);
    void Insert(int index, std::string text);
    int Add(std::string text);
    int AddObject(std::string text, void *object);
    void AddStrings(const std::vector<std::string> &lines);
    void AddStrings(const REdoDodiStrings &other);
    // Out-of-range indexes are ignored.
    void Delete(int index);
    void Clear();
    // Removes a line and its length entry without going through the editor:
    // the step the editor's own line deletion ends in.
    void RemoveLine(int index);
    // Block forms for the editor's multi-line edits, one change event each:
    // inserting or removing lines one at a time would move every line after
    // them once per line. InsertLines shifts bookmarks like
    // Insert; RemoveLines clamps the range to the list and, like RemoveLine,
    // does not go through the editor.
    // The new lines end with the style, or with `ends` (one TLineEnd a byte
    // per line) where given, as undo puts removed lines back.
    void InsertLines(int index, std::vector<std::string> texts, std::string_view ends = {});
    void RemoveLines(int index, int count);

    // The primitive every text edit comes down to: bytes [start, start +
    // length) of line `index` become `text`, taken as it is (no tab expansion).
    // Out-of-range requests are clamped to the line.
    void ReplaceText(int index, size_t start, size_t length, std::string_view text);

    void *GetObject(int index) const;
    void PutObject(int index, void *object);

    // Plain copy from a string list; from another store with an editor present
    // this also resets the editor's view (caret, folding, scroll bars).
    void Assign(const std::vector<std::string> &lines);
    void Assign(const REdoDodiStrings &source);
    void AssignTo(std::vector<std::string> &lines) const;
    std::vector<std::string> ToVector() const;

    // Every line followed by CR LF; empty for an empty store.
    std::string Text() const;
    // The text as the file holds it: every line followed by its own break,
    // the last one only when the text ends with a break.
    std::string FileText() const;

    // The break new lines get: the one the text was read with (LF for a text
    // without breaks), until the breaks are converted.
    TLineEnd LineEndStyle() const { return style_; }
    // Whether the last line ends with a break. Edits keep it: only a load, a
    // Clear (none) or SetFinalLineEnd change it.
    bool FinalLineEnd() const { return finalLineEnd_; }
    void SetFinalLineEnd(bool ends) { finalLineEnd_ = ends; }
    // The break line `index` ends with; the style out of range.
    TLineEnd LineEndOf(int index) const;
    // True when the breaks the file would hold are not all of one kind.
    bool MixedLineEnds() const;
    // True when every line ends with `end` (an unended last line too).
    bool AllLinesEndWith(TLineEnd end) const { return endCounts_[end] == lines_.size(); }
    // Every line ends with `style`, which new lines get from now on: one
    // change (lcEnds) for listeners, so it is undone as one.
    void ConvertLineEnds(TLineEnd style);
    // The breaks of the lines from `index` on become `ends` (one TLineEnd a
    // byte), and the style `style`; what undo and redo of a conversion apply.
    void SetLineEnds(int index, std::string_view ends, TLineEnd style);
    // The breaks of `count` lines from `index` on, one TLineEnd a byte.
    std::string LineEnds(int index, int count) const;
    void SetText(std::string_view text);
    // Loads replace all content and, with an editor, reset caret, undo and
    // scroll state. Bytes are decoded as plain text (UTF-8 or Windows-1252).
    void LoadFromString(std::string_view bytes);
    void LoadFromStream(std::istream &in);
    void LoadFromFile(const std::string &fileName);
    void SaveToStream(std::ostream &out) const;
    void SaveToFile(const std::string &fileName);

    // Update brackets nest; only the outermost pair moves LockCount (0 -> 1 -> 0).
    void BeginUpdate();
    void EndUpdate();
    void SetUpdateState(bool updating);
    int LockCount() const { return lockCount_; }
    bool Updating() const { return updateDepth_ > 0; }
    bool Deleting() const { return deleting_; }

    const TIntList &LineLengths() const { return lineLengths_.List(); }
    // The length of the longest line, 0 for none; walks the lines only after
    // the longest line got shorter or went away.
    int LongestLineLength() const { return lineLengths_.Longest(); }
    // True when LineLengths holds one entry per line equal to its length; a
    // debugging and test aid, linear in the text.
    bool CheckInvariants() const;
    void RebuildLineLengths();
    // Length in code points of line `index`; 0 out of range.
    int LineLength(int index) const;
    // The byte at which character `column` of line `index` starts (the
    // line's size at or past its end, 0 out of range), and the characters
    // before `byte` of the line. A long line answers from an index, not by
    // counting from its start.
    size_t ByteOfColumn(int index, int column) const;
    int ColumnOfByte(int index, size_t byte) const;
    // The column index of line `index` (made on first use); null for a line
    // too short to need one, or out of range.
    const TColumnIndex *ColumnIndexOf(int index) const;
    // The tokenizer's checkpoints inside line `index`; null for a line too
    // short to need them, or out of range.
    TLineScanPoints *ScanPointsOf(int index);

    // Null when the index is out of range or the line has no record yet.
    TLineProp *LinePropOf(int index) const;
    // Creates the record on first use; null only for an index out of range.
    TLineProp *EnsureLineProp(int index);
    void SetLineProp(int index, std::unique_ptr<TLineProp> prop);
    void InvalidateStateCaches();
    // Calls f(index, record) for every line that has a record.
    void ForEachLineProp(const std::function<void(int, TLineProp &)> &f);
    // Which cached tokenizer states in the records are still right after the
    // edits since they were stored; every edit of a line reports to it.
    TStateCacheTracker &StateTracker() { return stateTracker_; }

    // One line with all the store keeps for it. Invariant: Text holds no CR
    // or LF once it went through Add or a load; Object is the caller's object
    // whether or not Prop exists.
    struct TStoredLine {
        std::string Text;
        std::unique_ptr<TLineProp> Prop;
        void *Object = nullptr;
    };
    // Lines as a TLineReader makes them, with the breaks of their text.
    struct TReadLines {
        std::vector<TStoredLine> Lines;
        std::vector<TLineEnd> Ends; // one a line
        TLineEnd Style = leLF;
        bool FinalLineEnd = false;
    };
    // Replaces all content as a load does (listeners hear one load; with an
    // editor, caret, undo and scroll state are reset), with lines read off
    // the store by a TLineReader: a huge text can be read while it is still
    // being made, and elsewhere than where the store is used.
    void LoadLines(TReadLines read);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

private:
    using Line = TStoredLine;

    void CheckIndex(int index, int limit) const;
    void Changing();
    void Changed();
    // Tell the listeners, unless a wholesale change is under way (quiet_).
    void Announce(const TLinesChange &change);
    void Report(const TLinesChange &change);
    // A whole-text change: one announcement around `replace`, none inside.
    template <typename F>
    void Wholesale(TLinesChange::TKind kind, F &&replace);
    void AppendLine(std::string text, void *object);
    void InsertLine(int index, std::string text);
    void DeleteEntry(int index);
    void ClearEntries();
    // Bytes [start, start + oldLength) of line `index` became newLength
    // bytes; `removed` were the old ones.
    void TextEdited(int index, size_t start, std::string_view removed, size_t newLength, int columnDelta);
    void ReadLines(std::string_view text);
    // Appends lines made by a TLineReader, with their lengths.
    void AppendRead(TReadLines read);
    // Counted with wrap-around: taking one off adds SIZE_MAX.
    void CountEnd(TLineEnd end, int by) { endCounts_[end] += static_cast<size_t>(by); }
    void SetEnd(int index, TLineEnd end);
    void LoadBytes(std::string_view bytes);

    TLinesOwner *ownerMemo_ = nullptr;
    std::vector<TLinesListener *> listeners_;
    int tabSize_ = 8;
    // The break of each line, beside the lines: a byte a line, where the
    // line record would grow by eight.
    GapVector<TLineEnd> ends_;
    TLineEnd style_ = leLF;
    bool finalLineEnd_ = false;
    // How many lines end with each kind of break.
    size_t endCounts_[3] = {};
    int quiet_ = 0;
    // LineLengths has one entry per line, equal to Length(Text) of that line,
    // except inside AddStrings and Assign which rebuild it. Both are gap
    // vectors: Enter in the middle of millions of lines moves only the lines
    // between it and the previous edit.
    GapVector<Line> lines_;
    TLineLengths lineLengths_;
    int lockCount_ = 0;
    int updateDepth_ = 0;
    bool deleting_ = false;
    TStateCacheTracker stateTracker_;
    // Column indexes and checkpoints of long lines, made when first asked for.
    mutable TLongLines longLines_;
};

} // namespace tarnwick
