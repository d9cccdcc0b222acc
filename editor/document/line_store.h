// REdoDodiStrings: the editor's text as a list of lines (UTF-8, without line
// breaks), each with an object slot and an optional TLineProp, plus the
// parallel list of line lengths.
#pragma once

#include "editor/base/gap_vector.h"
#include "editor/base/int_list.h"
#include "editor/base/list_errors.h"
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
    // owned store expands tabs and splits added text at line breaks, and its
    // Delete is the owner's line deletion; a free-standing one behaves as a
    // plain string list. The owner is the first listener.
    TLinesOwner *OwnerMemo() const { return ownerMemo_; }
    void SetOwnerMemo(TLinesOwner *owner);
    // Listeners hear of every change, before and after it (lines_listener.h).
    void AddListener(TLinesListener *listener);
    void RemoveListener(TLinesListener *listener);
    // Spaces a tab becomes in an owned store; 0 keeps tabs.
    int TabSize() const { return tabSize_; }
    void SetTabSize(int spaces) { tabSize_ = spaces; }

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
    // them once per line. InsertLines expands tabs and shifts bookmarks like
    // Insert; RemoveLines clamps the range to the list and, like RemoveLine,
    // does not go through the editor.
    void InsertLines(int index, std::vector<std::string> texts, bool expandTabs = true);
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

    // Every line followed by CR LF; empty for an empty store. Soft-wrapped
    // pieces are joined back to the lines they came from.
    std::string Text() const;
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

    // Replaces every tab by TabSize spaces; no-op for a free-standing store.
    std::string ExpandTabs(std::string text) const;

    // One line with all the store keeps for it. Invariant: Text holds no CR
    // or LF once it went through Add or a load; Object is the caller's object
    // whether or not Prop exists.
    struct TStoredLine {
        std::string Text;
        std::unique_ptr<TLineProp> Prop;
        void *Object = nullptr;
    };
    // Replaces all content as a load does (listeners hear one load; with an
    // editor, caret, undo and scroll state are reset), with lines read off
    // the store by a TLineReader: a huge text can be read while it is still
    // being made, and elsewhere than where the store is used.
    void LoadLines(std::vector<TStoredLine> lines);

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
    void ReadLines(std::string_view text, bool throughAdd);
    // Appends lines made by a TLineReader, with their lengths.
    void AppendRead(std::vector<TStoredLine> read);
    void LoadBytes(std::string_view bytes);

    TLinesOwner *ownerMemo_ = nullptr;
    std::vector<TLinesListener *> listeners_;
    int tabSize_ = 0;
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
