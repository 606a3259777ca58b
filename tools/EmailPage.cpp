// The hidden e-mail security page: the zone list and the pair of check boxes
// of which at most one is ticked. Setting a box through the model raises no
// click, so neither handler sets off the other.
#include "tools/Tools.h"

namespace vantrel {

void FillZoneList(Form& form1) {
    ListBox& zones = form1.list("Combo1");
    zones.AddItem("Internet (General sites can run scripts inside active e-mails.)");
    zones.AddItem("Restricted Sites (Sites which are restricted cannot run scripts inside active E-Mails.)");
}

void EmailCheckClicked(Form& form1, const std::string& name) {
    static const char* const kPair[] = {"Check20", "Check24"};
    if (name != kPair[0] && name != kPair[1]) return;
    for (const char* box : kPair) {
        try {
            form1.check(box).setValue(name == box ? 1 : 0);
        } catch (const RunTimeError&) {
            // Errors while setting the boxes are ignored.
        }
    }
}

}  // namespace vantrel
