// Tree building that stays linear in the number of attributes of an element.
#pragma once

#include <libxml/parser.h>

namespace tarnwick::xml::libxml2 {

// libxml2 2.9's tree builder appends each attribute of a new element by
// walking the element's attribute list from its head, so an element with n
// attributes costs n * n / 2 steps (minutes for 200,000 attributes). While
// this scope lives, elements built by a context given to
// KeepAttributeAppendsLinear have their list head moved to the newest
// attribute during the build, so each walk is one step, and put back when
// the element is complete.
class LinearAttributeScope {
public:
    LinearAttributeScope();
    ~LinearAttributeScope();
    LinearAttributeScope(const LinearAttributeScope &) = delete;
    LinearAttributeScope &operator=(const LinearAttributeScope &) = delete;

private:
    xmlRegisterNodeFunc previous_;
};

// Has the context's tree builder start elements through the linear path.
void KeepAttributeAppendsLinear(xmlParserCtxtPtr ctxt);

} // namespace tarnwick::xml::libxml2
