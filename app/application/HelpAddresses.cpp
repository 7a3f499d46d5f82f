#include "app/application/Quillet.h"

#include "app/application/HelpAddressesConfig.h"

namespace NSQuillet {

SHelpAddresses GetDefaultHelpAddresses() {
    SHelpAddresses addresses;
    addresses.fDocumentation = kBuiltDocumentationAddress;
    addresses.fHomePage = kBuiltHomePageAddress;
    addresses.fLoopsPage = kBuiltLoopsPageAddress;
    addresses.fSupport = kBuiltSupportAddress;
    return addresses;
}

}  // namespace NSQuillet
