// The program's name, maker and version as the About page shows them; the
// resource script's version information carries the same texts.
#pragma once

#define VANTREL_PRODUCT "Vantrel"
#define VANTREL_COMPANY "Corvane Software"
#define VANTREL_VERSION "2.0 - A"
#define VANTREL_VERSION_NUMBERS 2, 0, 0, 0
// The maker's pages: the Vantrel menu opens them, the About page names the first.
#define VANTREL_HOME_PAGE "http://www.corvane.com/"
#define VANTREL_UPDATE_PAGE "http://www.corvane.com/vantrel/update.html"
