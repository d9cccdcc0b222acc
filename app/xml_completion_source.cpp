#include "app/xml_completion_source.h"

#include "editor/base/utf8.h"
#include "editor/control/custom_dodi.h"

#include <QTimer>

#include <algorithm>
#include <cctype>
#include <vector>

using namespace tarnwick;

namespace {

// Typing one of these and pausing opens the list: "." and "(" as in any
// language, "<" and "</" for a tag's name, a quote for an attribute's value.
constexpr const char *kStartChars = ".(</\"'";
// Where XML's names and values end, beside blanks.
constexpr const char *kWordDelimiters = "<>/=\"'";
// Bytes of the longest name the list offers.
constexpr size_t kLongestEntry = 1024;

// The editor's lines read in place.
class StoreLines : public xml::TextLines {
public:
    explicit StoreLines(const REdoDodiStrings &store) : store_(store) {}
    int Count() const override { return store_.Count(); }
    std::string_view Line(int index) const override { return store_.Get(index); }

private:
    const REdoDodiStrings &store_;
};

bool IsNameByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == ':' || c == '.' || c == '-' || u >= 0x80;
}

} // namespace

XmlCompletionSource::XmlCompletionSource(TCustomDodi &editor, std::function<std::string()> documentFolder)
    : editor_(editor), documentFolder_(std::move(documentFolder))
{
    editor_.AutoCompletion()->SetStartChars(kStartChars);
    editor_.AutoCompletion()->SetWordDelimiters(kWordDelimiters);
    editor_.OnBeforeAutoCompletion = [this](TCustomDodi &, const std::string &, bool &) { session_.reset(); };
    editor_.OnGetAutoCompletionList = [this](TCustomDodi &, const std::string &, TCompletionItems &list) {
        FillList(list);
    };
    editor_.OnInsertAutoCompletionEntry = [this](TCustomDodi &, std::string &entry) { ChooseEntry(entry); };
    editor_.Lines()->AddListener(this);
}

XmlCompletionSource::~XmlCompletionSource() { editor_.Lines()->RemoveListener(this); }

void XmlCompletionSource::LinesChanged(REdoDodiStrings &, const TLinesChange &change)
{
    if (change.Wholesale())
        checkpoints_.Clear();
    else
        checkpoints_.Forget(change.Line);
}

void XmlCompletionSource::FillList(TCompletionItems &list)
{
    if (!session_) {
        const REdoDodiStrings &store = *editor_.Lines();
        const int line = editor_.CaretLine();
        if (line < 0 || line >= store.Count())
            return;
        const size_t byte = utf8::ByteOffset(store.Get(line), editor_.CaretCol());
        session_ = xml::OfferCompletion(StoreLines(store), line, byte, documentFolder_(), &checkpoints_);
        // The list measures and draws each entry whole, on the interface
        // thread: a name of megabytes (a broken document's) would hold the
        // window for seconds, and nobody picks such a name from a list.
        for (std::vector<std::string> *names : {&session_->entries, &session_->candidates})
            std::erase_if(*names, [](const std::string &name) { return name.size() > kLongestEntry; });
        list.clear();
        for (const std::string &entry : session_->entries)
            list.push_back({entry, 0});
        return;
    }
    // The list is open and being narrowed: the editor filters these itself.
    list.clear();
    for (const std::string &entry : session_->candidates)
        list.push_back({entry, 0});
}

void XmlCompletionSource::ChooseEntry(std::string &entry)
{
    if (!session_)
        return;
    const REdoDodiStrings &store = *editor_.Lines();
    const int line = editor_.CaretLine();
    std::string_view after;
    if (line >= 0 && line < store.Count()) {
        after = utf8::From(store.Get(line), editor_.CaretCol());
        while (!after.empty() && IsNameByte(after.front()))
            after.remove_prefix(1);
    }
    entry = xml::CompletionInsertion(session_->context, entry, after);
    const int back = xml::CaretBackAfter(session_->context, entry);
    if (back == 0)
        return;
    // The editor puts the caret after the insertion once this returns: step
    // back into the quotes then, and offer the values that may go there.
    QTimer::singleShot(0, &queue_, [this, back] {
        editor_.CollapseSelection();
        editor_.SetCaretCol(std::max(0, editor_.CaretCol() - back));
        editor_.CollapseSelection();
        editor_.CompletionTimer().Start();
    });
}
