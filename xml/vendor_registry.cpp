// The registered DOM vendors.
#include "xml/vendor_registry.h"

#include <algorithm>

#include "xml/xml_errors.h"

namespace tarnwick::xml {

namespace {

std::vector<TDOMVendor *> &Vendors()
{
    static std::vector<TDOMVendor *> vendors;
    return vendors;
}

std::string &DefaultName()
{
    static std::string name;
    return name;
}

} // namespace

void RegisterVendor(TDOMVendor *vendor)
{
    if (vendor == nullptr)
        throw EXMLLayerError(SNodeCannotBeNull);
    std::string description = vendor->VendorDescription();
    for (TDOMVendor *v : Vendors())
        if (v->VendorDescription() == description)
            throw EXMLLayerError(FormatMessage(SDOMVendorAlreadyRegistered, description));
    Vendors().push_back(vendor);
}

void UnregisterVendor(TDOMVendor *vendor)
{
    auto &vendors = Vendors();
    vendors.erase(std::remove(vendors.begin(), vendors.end(), vendor), vendors.end());
}

TDOMVendor *FindVendor(const std::string &description)
{
    std::string name = description.empty() ? DefaultName() : description;
    const auto &vendors = Vendors();
    if (name.empty() && !vendors.empty())
        return vendors.front();
    for (TDOMVendor *v : vendors)
        if (v->VendorDescription() == name)
            return v;
    throw EXMLLayerError(FormatMessage(SNoMatchingDOMVendor, name));
}

IDOMImplementationPtr VendorImplementation(const std::string &description)
{
    return FindVendor(description)->NewImplementation();
}

std::vector<TDOMVendor *> RegisteredVendors() { return Vendors(); }

const std::string &DefaultVendorName() { return DefaultName(); }

void SetDefaultVendorName(const std::string &name) { DefaultName() = name; }

} // namespace tarnwick::xml
