// A stand-in for the editor a styler is attached to: records notifications.
#pragma once

#include "editor/highlight/styler_client.h"

namespace tarnwick {

class StylerClientDouble : public TStylerClient {
public:
    TColor Background = 0x00ABCDEF;
    int Changes = 0;
    const TCustomDodiStyler *Destroyed = nullptr;

    TColor StylerBackground() const override { return Background; }
    void StylerChanged(const TCustomDodiStyler &) override { ++Changes; }
    void StylerDestroyed(const TCustomDodiStyler &styler) override { Destroyed = &styler; }
};

} // namespace tarnwick
