#include "xml/byte_form.h"

#include <algorithm>
#include <cctype>

#include "xml/declaration.h"
#include "xml/transcode.h"

namespace tarnwick::xml {

namespace {

using namespace std::string_view_literals;

// The Unicode form a byte order mark gives, and the mark's length; none for
// bytes without one.
struct Mark {
    const char *family = nullptr; // "UTF-8", "UTF-16" or "UTF-32"
    size_t length = 0;
};

Mark MarkOf(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF"sv))
        return {"UTF-8", 3};
    if (bytes.starts_with("\xFF\xFE\0\0"sv) || bytes.starts_with("\0\0\xFE\xFF"sv))
        return {"UTF-32", 4};
    if (bytes.starts_with("\xFF\xFE"sv) || bytes.starts_with("\xFE\xFF"sv))
        return {"UTF-16", 2};
    return {};
}

std::string Upper(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

// Whether a declared encoding names the form the mark gives.
bool Names(const std::string &family, const std::string &declared)
{
    const std::string name = Upper(declared);
    if (family == "UTF-8")
        return name == "UTF-8";
    if (family == "UTF-16")
        return name == "UTF-16" || name == "UTF-16LE" || name == "UTF-16BE" || name == "UCS-2" ||
               name == "ISO-10646-UCS-2";
    return name == "UTF-32" || name == "UTF-32LE" || name == "UTF-32BE" || name == "UCS-4" || name == "ISO-10646-UCS-4";
}

int CountLines(std::string_view text) { return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

} // namespace

TByteFormFault FindByteFormFault(std::string_view bytes)
{
    const std::string form = DetectDocumentEncoding(bytes);
    const size_t unit = form.starts_with("UTF-32") ? 4 : form.starts_with("UTF-16") ? 2 : 1;
    const Mark mark = MarkOf(bytes);
    if (mark.family != nullptr) {
        // The declaration is read in the form the mark gives.
        std::string_view head = bytes.substr(mark.length, 1024);
        head = head.substr(0, head.size() - head.size() % unit);
        const std::string declared = DeclaredEncoding(DecodeToUtf8(head, unit == 1 ? "UTF-8" : form));
        if (!declared.empty() && !Names(mark.family, declared))
            return {"The byte order mark says " + std::string(mark.family) + ", but the declaration says \"" +
                        declared + "\"",
                    1, 1};
    }
    if (unit > 1 && bytes.size() % unit != 0) {
        const std::string text = DecodeToUtf8(bytes.substr(0, bytes.size() - bytes.size() % unit), form);
        const size_t lastBreak = text.rfind('\n');
        return {"The file ends inside a " + form.substr(0, 6) + " character: " +
                    (unit == 2 ? "its number of bytes is odd" : "its number of bytes is not a multiple of four"),
                CountLines(text),
                static_cast<int>(text.size() - (lastBreak == std::string::npos ? 0 : lastBreak + 1)) + 1};
    }
    return {};
}

} // namespace tarnwick::xml
