// TStylerClient: what a styler asks of an editor that uses it. The editor
// implements it; the styler holds clients by pointer and tells them when it
// goes away, so no editor is left holding a dangling styler.
#pragma once

#include "editor/base/graphics_types.h"

namespace tarnwick {

class TCustomDodiStyler;

class TStylerClient {
public:
    virtual ~TStylerClient() = default;

    // The background a new element style starts with.
    virtual TColor StylerBackground() const = 0;
    // A style or a delimiter of the styler changed: whatever the editor derived
    // from it (cached line states) is stale. Nothing is repainted here; the
    // change shows at the next repaint.
    virtual void StylerChanged(const TCustomDodiStyler &styler) = 0;
    // The styler is being destroyed; drop every reference to it.
    virtual void StylerDestroyed(const TCustomDodiStyler &styler) = 0;
};

} // namespace tarnwick
