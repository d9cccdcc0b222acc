// The process-wide list of registered DOM vendors and the default vendor name.
#pragma once

#include <string>
#include <vector>

#include "xml/dom_interfaces.h"

namespace tarnwick::xml {

// Appends the vendor; raises EXMLLayerError "\"%s\" DOMImplementation already
// registered" when one with the same description is registered.
void RegisterVendor(TDOMVendor *vendor);
// Removes that vendor object, keeping the order of the rest.
void UnregisterVendor(TDOMVendor *vendor);
// Empty description: DefaultVendorName(); still empty: the first registered
// vendor. Raises EXMLLayerError "No matching DOM Vendor: \"%s\"" when none.
TDOMVendor *FindVendor(const std::string &description);
IDOMImplementationPtr VendorImplementation(const std::string &description);
// The registered vendors in registration order (for the configuration dialog).
std::vector<TDOMVendor *> RegisteredVendors();

const std::string &DefaultVendorName();
void SetDefaultVendorName(const std::string &name);

} // namespace tarnwick::xml
