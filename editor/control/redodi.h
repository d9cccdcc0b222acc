// REdoDodi: the editor control as the application embeds it, with its own
// defaults (font, size, erase on typing) and default handlers.
#pragma once

#include "editor/control/custom_dodi.h"

namespace tarnwick {

class REdoDodi : public TCustomDodi {
public:
    explicit REdoDodi(Host *host = nullptr);

    // Also a delimiter: any symbol of a symbol style and any bracket
    // character of a bracket style of the attached styler.
    bool IsDelimiter(char32_t c) const override;
    void Loaded() override;
};

} // namespace tarnwick
