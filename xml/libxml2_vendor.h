// The DOM vendor served by libxml2, registered as "libxml2".
#pragma once

#include <string>

#include "xml/dom_interfaces.h"

namespace tarnwick::xml {

inline constexpr const char *kLibxml2VendorName = "libxml2";

// Call once at start-up (further calls do nothing): initialises libxml2,
// installs the process-wide external-entity loader and registers the vendor.
void RegisterLibxml2Vendor();
// Removes the vendor from the registry (at shutdown).
void UnregisterLibxml2Vendor();
// The vendor object (registered or not).
TDOMVendor &Libxml2Vendor();

} // namespace tarnwick::xml
