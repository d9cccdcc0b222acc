// Auto-correct while typing: the table, OnWordComplete, and the undo step a
// correction makes.
#include "support/editing_fixture.h"

namespace tarnwick::test {
namespace {

using Lines = std::vector<std::string>;

class AutoCorrect : public EditingFixture {
protected:
    AutoCorrect()
    {
        ed.AutoCorrect()->SetOldValue({"teh", "teh", "adn", "u"});
        ed.AutoCorrect()->SetNewValue({"the", "THE", "and", "you"});
    }
};

TEST_F(AutoCorrect, AWordEndingCharacterCorrectsTheWordBeforeIt)
{
    struct Case {
        std::u32string typed;
        Lines text;
        int caret;
    };
    const Case cases[] = {
        {U"teh ", {"the "}, 4}, {U"Teh ", {"Teh "}, 4},     {U"teh.", {"the."}, 4},   {U"adn(", {"and("}, 4},
        {U"u ", {"you "}, 4},   {U"teh\r", {"the", ""}, 0}, {U"xteh ", {"xteh "}, 5}, {U"teh=u,", {"the=u,"}, 6},
    };
    for (const Case &c : cases) {
        SetText({""});
        for (char32_t ch : c.typed) {
            if (ch == U'\r')
                Enter();
            else
                Char(ch);
        }
        EXPECT_EQ(Text(), c.text);
        EXPECT_EQ(ed.CaretCol(), c.caret);
    }
    SetText({""});
    Type(U"teh");
    Char(U'\t', VK_TAB);
    EXPECT_EQ(Line(0), "teh    ") << "Tab's blanks come at key-down: no word touches the caret";
}

TEST_F(AutoCorrect, ACorrectionIsAnUndoStepOfItsOwn)
{
    SetText({""});
    Type(U"a teh ");
    EXPECT_EQ(Line(0), "a the ");
    ed.Undo();
    EXPECT_EQ(Line(0), "a the");
    ed.Undo();
    EXPECT_EQ(Line(0), "a teh") << "the word as it was typed";
    ed.Redo();
    EXPECT_EQ(Line(0), "a the");
}

TEST_F(AutoCorrect, OnWordCompleteHasTheLastSay)
{
    ed.AutoCorrect()->Active = false;
    SetText({""});
    Type(U"teh ");
    EXPECT_EQ(Line(0), "teh ") << "inactive and no handler";
    std::vector<std::string> seen;
    ed.OnWordComplete = [&](TCustomDodi &, const std::string &word, std::string &newWord) {
        seen.push_back(word + ">" + newWord);
        if (word == "adn")
            newWord = "AND";
    };
    SetText({""});
    Type(U"teh adn x ");
    EXPECT_EQ(Line(0), "the AND x ");
    EXPECT_EQ(seen, (std::vector<std::string>{"teh>the", "adn>and", "x>x"})) << "the table answers first";
}

TEST_F(AutoCorrect, TheWholeWordAroundTheCaretIsReplaced)
{
    SetText({"teh"});
    Place(1, 0);
    Char(U' ');
    EXPECT_EQ(Line(0), "t he") << "the line is never cut at a column before the word";
}

} // namespace
} // namespace tarnwick::test
