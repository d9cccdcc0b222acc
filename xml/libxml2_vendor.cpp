// Registration of the libxml2 vendor.
#include "xml/libxml2_vendor.h"

#include <mutex>

#include "xml/libxml2_dom.h"
#include "xml/vendor_registry.h"

namespace tarnwick::xml {

namespace {

class Libxml2DOMVendor : public TDOMVendor {
 public:
  std::string VendorDescription() const override { return kLibxml2VendorName; }
  IDOMImplementationPtr NewImplementation() override {
    libxml2::InstallEntityLoader();
    return std::make_shared<libxml2::Libxml2Implementation>();
  }
};

bool gRegistered = false;

}  // namespace

TDOMVendor& Libxml2Vendor() {
  static Libxml2DOMVendor vendor;
  return vendor;
}

void RegisterLibxml2Vendor() {
  libxml2::InstallEntityLoader();
  if (gRegistered) return;
  RegisterVendor(&Libxml2Vendor());
  gRegistered = true;
}

void UnregisterLibxml2Vendor() {
  if (!gRegistered) return;
  UnregisterVendor(&Libxml2Vendor());
  gRegistered = false;
}

}  // namespace tarnwick::xml
