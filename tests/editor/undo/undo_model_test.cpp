// The undo list on the text model alone: random primitive changes of a line
// store, grouped into steps and interleaved with undo and redo, always come
// back exactly, with no editor in between.
#include "editor/document/line_store.h"
#include "editor/undo/undo_client.h"
#include "editor/undo/undo_list.h"

#include <gtest/gtest.h>

#include <random>

namespace tarnwick {
namespace {

// Stands in for the editor: it only keeps the caret the list puts back.
class ModelClient : public TUndoClient {
public:
    explicit ModelClient(REdoDodiStrings &lines) : lines_(lines) {}
    REdoDodiStrings &UndoLines() override { return lines_; }
    void BeginReplay() override {}
    void EndReplay() override {}
    TCaretPos UndoCaret() const override { return Caret; }
    void ReplayCaret(int col, int line) override { Caret = {col, line}; }
    void ReplaySelection(TCaretPos, TCaretPos end) override { Caret = end; }
    void UndoChanged(bool, bool) override {}

    TCaretPos Caret;

private:
    REdoDodiStrings &lines_;
};

class UndoModel : public ::testing::Test {
protected:
    int Random(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string Word()
    {
        static const char *const kPieces[] = {"a", "b", " ", "\xC3\xA9", "\xE4\xB8\xAD", "<x>", "\t"};
        std::string s;
        for (int n = Random(5); n > 0; --n)
            s += kPieces[Random(7)];
        return s;
    }

    // One primitive change of the store, the kinds editing is built from.
    void Change()
    {
        const int count = lines_.Count();
        switch (count == 0 ? 2 : Random(5)) {
        case 0: {
            const int line = Random(count);
            const std::string &text = lines_.Get(line);
            const size_t start = static_cast<size_t>(Random(static_cast<int>(text.size()) + 1));
            lines_.ReplaceText(line, start, static_cast<size_t>(Random(3)), Word());
            break;
        }
        case 1:
            lines_.Put(Random(count), Word());
            break;
        case 2:
            lines_.InsertLines(Random(count + 1), {Word(), Word()});
            break;
        case 3:
            lines_.RemoveLines(Random(count), 1 + Random(2));
            break;
        default:
            lines_.Add(Word());
            break;
        }
    }

    std::mt19937 rng_{7};
    REdoDodiStrings lines_;
    ModelClient client_{lines_};
    TDodiUndoList list_{&client_};
};

TEST_F(UndoModel, RandomStepsUndoAndRedoExactly)
{
    list_.Attach(&lines_);
    for (int run = 0; run < 300; ++run) {
        lines_.Clear();
        lines_.Add("start");
        lines_.Add("\xC3\xA9t\xC3\xA9");
        list_.Clear();
        const std::string start = lines_.Text();
        for (int step = 0; step < 30; ++step) {
            const int what = Random(10);
            if (what == 0) {
                list_.Undo();
            } else if (what == 1) {
                list_.Redo();
            } else if (what == 2) {
                // A change no operation records joins the newest step.
                Change();
            } else {
                list_.BeginEdit();
                for (int n = 1 + Random(3); n > 0; --n)
                    Change();
                list_.Add(std::make_unique<TPasteUndo>(0, 0, 0, 0, ""));
                list_.EndEdit();
            }
            ASSERT_TRUE(lines_.CheckInvariants()) << "run " << run << " step " << step;
        }
        while (list_.CanRedo())
            list_.Redo();
        const std::string end = lines_.Text();
        while (list_.CanUndo())
            list_.Undo();
        ASSERT_EQ(lines_.Text(), start) << "run " << run;
        while (list_.CanRedo())
            list_.Redo();
        ASSERT_EQ(lines_.Text(), end) << "run " << run;
    }
}

} // namespace
} // namespace tarnwick
