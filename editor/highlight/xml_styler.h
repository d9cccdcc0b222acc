// TDodiXMLStyler: the styler for XML files, with its construction defaults
// (comment delimiters, comment and number styles, four element styles).
#pragma once

#include "editor/highlight/styler.h"

namespace tarnwick {

class TDodiXMLStyler : public TCustomDodiStyler {
public:
    TDodiXMLStyler();

    const std::string &Version() const { return version_; }

private:
    std::string version_ = "1.0";
};

} // namespace tarnwick
