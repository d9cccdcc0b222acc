// Exceptions of the editor's lists and streams, the only errors the line
// store lets reach its callers.
#pragma once

#include <stdexcept>
#include <string>

namespace tarnwick {

// "List index out of bounds (%d)" with the offending index.
class EListError : public std::out_of_range {
public:
    explicit EListError(int index);
    int Index() const { return index_; }

private:
    int index_;
};

// A file that cannot be opened, read or written.
class EFileStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace tarnwick
