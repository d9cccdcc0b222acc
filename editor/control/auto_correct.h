// TAutoCorrect: the correction table (old word -> new word) used while typing.
#pragma once

#include <string>
#include <vector>

namespace tarnwick {

struct TAutoCorrect {
    // Entry i of OldValue pairs with entry i of NewValue.
    std::vector<std::string> OldValue;
    std::vector<std::string> NewValue;
    bool Active = true;

    void SetOldValue(const std::vector<std::string> &v) { OldValue = v; }
    void SetNewValue(const std::vector<std::string> &v) { NewValue = v; }
    void Assign(const TAutoCorrect &other) { *this = other; }
};

} // namespace tarnwick
