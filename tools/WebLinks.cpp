// The Vantrel menu's two links to the maker's pages, opened in the default browser.
#include "tools/Tools.h"

namespace vantrel {

const char* const kHomePageAddress = "http://www.corvane.com/";
const char* const kUpdatePageAddress = "http://www.corvane.com/vantrel/update.html";

void OpenHomePage(Services& services) { services.browser.Open(kHomePageAddress); }

void OpenUpdatePage(Services& services) { services.browser.Open(kUpdatePageAddress); }

}  // namespace vantrel
