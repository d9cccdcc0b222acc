// Fuzz target for the text model and its undo list: the input is a script of
// primitive changes of a line store (the kinds editing is built from), edit
// steps, groups, undo and redo, on text taken from the input. At every step
// the store's invariants hold; at the end, undoing everything gives back the
// starting text and redoing everything the final one.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "editor/document/line_store.h"
#include "editor/undo/undo_client.h"
#include "editor/undo/undo_list.h"
#include "editor/undo/undo_records.h"

namespace {

using namespace tarnwick;

// Stands in for the editor: it only keeps the caret the list puts back.
class ModelClient : public TUndoClient {
public:
    explicit ModelClient(REdoDodiStrings &lines) : lines_(lines) {}
    REdoDodiStrings &UndoLines() override { return lines_; }
    void BeginReplay() override {}
    void EndReplay() override {}
    TCaretPos UndoCaret() const override { return caret_; }
    void ReplayCaret(int col, int line) override { caret_ = {col, line}; }
    void ReplaySelection(TCaretPos, TCaretPos end) override { caret_ = end; }
    void UndoChanged(bool, bool) override {}

private:
    REdoDodiStrings &lines_;
    TCaretPos caret_;
};

// Reads the script: numbers and pieces of text from the input's bytes.
class Script {
public:
    Script(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    bool Done() const { return at_ >= size_; }
    int Number(int below)
    {
        if (below <= 0)
            return 0;
        const int value = at_ < size_ ? data_[at_] : 0;
        ++at_;
        return value % below;
    }
    // Up to 7 bytes taken as they are: any bytes, valid UTF-8 or not.
    std::string Text()
    {
        std::string text;
        for (int n = Number(8); n > 0 && at_ < size_; --n)
            text += static_cast<char>(data_[at_++]);
        return text;
    }

private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// One primitive change of the store.
void Change(REdoDodiStrings &lines, Script &script)
{
    const int count = lines.Count();
    switch (count == 0 ? 2 : script.Number(5)) {
    case 0: {
        const int line = script.Number(count);
        const int length = static_cast<int>(lines.Get(line).size());
        const size_t start = static_cast<size_t>(script.Number(length + 1));
        lines.ReplaceText(line, start, static_cast<size_t>(script.Number(4)), script.Text());
        break;
    }
    case 1:
        lines.Put(script.Number(count), script.Text());
        break;
    case 2:
        lines.InsertLines(script.Number(count + 1), {script.Text(), script.Text()});
        break;
    case 3:
        lines.RemoveLines(script.Number(count), 1 + script.Number(3));
        break;
    default:
        lines.Add(script.Text());
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Script script(data, size);
    REdoDodiStrings lines;
    ModelClient client(lines);
    TDodiUndoList list(&client);
    for (int n = 1 + script.Number(4); n > 0; --n)
        lines.Add(script.Text());
    list.Attach(&lines);
    const std::string start = lines.Text();
    // Fewer steps than the history holds, so undo can go back to the start.
    for (int step = 0; step < 60 && !script.Done(); ++step) {
        switch (script.Number(8)) {
        case 0:
            list.Undo();
            break;
        case 1:
            list.Redo();
            break;
        case 2:
            // A change no operation records joins the newest step.
            Change(lines, script);
            break;
        case 3: {
            TUndoGroup group(list);
            for (int n = 1 + script.Number(2); n > 0; --n) {
                list.BeginEdit();
                Change(lines, script);
                list.Add(std::make_unique<TPasteUndo>(0, 0, 0, 0, ""));
                list.EndEdit();
            }
            break;
        }
        default:
            list.BeginEdit();
            for (int n = 1 + script.Number(3); n > 0; --n)
                Change(lines, script);
            list.Add(std::make_unique<TPasteUndo>(0, 0, 0, 0, ""));
            list.EndEdit();
            break;
        }
        Check(lines.CheckInvariants());
    }
    while (list.CanRedo())
        list.Redo();
    const std::string end = lines.Text();
    while (list.CanUndo())
        list.Undo();
    Check(lines.Text() == start);
    while (list.CanRedo())
        list.Redo();
    Check(lines.Text() == end);
    return 0;
}
