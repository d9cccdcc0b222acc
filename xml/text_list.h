// The document's text list (its XML property): UTF-8 lines without line
// breaks, with a hook that runs before every change a user of the list makes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick::xml {

class TXMLDocument;

// Whole text crosses in and out far more often than single lines (a document
// of half a million lines goes in and out as one string), so the list keeps
// its text as one string with CR LF after every line and splits it into
// line strings only when lines are asked for. Invariant: at least one of the
// two forms is valid, and both say the same when both are.
class TXMLStrings {
public:
    // Runs before a user's change; the document uses it to deactivate itself.
    std::function<void()> OnChanging;

    int Count() const { return linesValid_ ? static_cast<int>(lines_.size()) : lineCount_; }
    // Raises EStringListError "List index out of bounds (%d)" when out of range.
    const std::string &Strings(int index) const;
    const std::string &operator[](int index) const { return Strings(index); }
    void SetStrings(int index, const std::string &line);
    const std::vector<std::string> &Lines() const;

    // Every line followed by CR LF.
    const std::string &Text() const;
    // Splits at CR LF, LF or CR; a final line break adds no empty line.
    void SetText(std::string_view text);
    void Assign(const TXMLStrings &other);
    void Assign(const std::vector<std::string> &lines);
    void Add(const std::string &line);
    void Insert(int index, const std::string &line);
    void Delete(int index);
    // Runs the hook only when the list is not empty.
    void Clear();

    // Splits text into lines as SetText does.
    static std::vector<std::string> SplitLines(std::string_view text);

private:
    friend class TXMLDocument;
    void Changing();
    // Changes made by the document itself, with the hook detached.
    void InternalSetText(std::string_view text);
    void InternalClear();
    // Makes the line form valid (and the only one, when about to change it).
    void EnsureLines() const;
    void EditLines();

    mutable std::string text_;
    mutable bool textValid_ = true;
    mutable std::vector<std::string> lines_;
    mutable bool linesValid_ = true;
    int lineCount_ = 0; // the count while only the text form is valid
};

} // namespace tarnwick::xml
