// Registration of the libxml2 vendor.
#include "xml/libxml2_vendor.h"

#include <malloc.h>

#include <mutex>

#include "xml/libxml2_dom.h"
#include "xml/vendor_registry.h"

namespace tarnwick::xml {

namespace {

class Libxml2DOMVendor : public TDOMVendor {
public:
    std::string VendorDescription() const override { return kLibxml2VendorName; }
    IDOMImplementationPtr NewImplementation() override
    {
        libxml2::InstallEntityLoader();
        return std::make_shared<libxml2::Libxml2Implementation>();
    }
};

bool gRegistered = false;

// The layer builds and frees trees of millions of small nodes. By default the
// allocator keeps small freed blocks aside unmerged and merges them all at the
// next large request, so after a big document is freed the next command (the
// editor taking in the formatted text) pays again as much as the freeing did.
// Merged as they are freed, they cost that once.
void MergeFreedBlocksAtOnce()
{
#ifdef __GLIBC__
    static const bool done = mallopt(M_MXFAST, 0) != 0;
    static_cast<void>(done);
#endif
}

} // namespace

TDOMVendor &Libxml2Vendor()
{
    static Libxml2DOMVendor vendor;
    return vendor;
}

void RegisterLibxml2Vendor()
{
    libxml2::InstallEntityLoader();
    MergeFreedBlocksAtOnce();
    if (gRegistered)
        return;
    RegisterVendor(&Libxml2Vendor());
    gRegistered = true;
}

void UnregisterLibxml2Vendor()
{
    if (!gRegistered)
        return;
    UnregisterVendor(&Libxml2Vendor());
    gRegistered = false;
}

} // namespace tarnwick::xml
