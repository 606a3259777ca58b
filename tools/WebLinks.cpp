// The Vantrel menu's two links to the maker's pages, opened in the default browser.
#include "resources/product.h"
#include "tools/Tools.h"

namespace vantrel {

const char* const kHomePageAddress = VANTREL_HOME_PAGE;
const char* const kUpdatePageAddress = VANTREL_UPDATE_PAGE;

void OpenHomePage(Services& services) { services.browser.Open(kHomePageAddress); }

void OpenUpdatePage(Services& services) { services.browser.Open(kUpdatePageAddress); }

}  // namespace vantrel
