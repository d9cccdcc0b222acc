// What a document file's bytes say of their own encoding before any text is
// read: a byte order mark its declaration contradicts, and a UTF-16 or UTF-32
// file that ends inside a character. Either makes the file not well-formed;
// the parser would follow the mark and drop the odd bytes without a word.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::xml {

struct TByteFormFault {
    std::string reason; // empty when the bytes hold no fault
    int line = 1;
    int column = 1;
};

TByteFormFault FindByteFormFault(std::string_view bytes);

} // namespace tarnwick::xml
