// The review list on screen (see ReviewList in Platform.h).
#pragma once

#include "platform/win32/WindowsApi.h"

#include "platform/Platform.h"

namespace vantrel {

// Shows the list in a resizable modal dialog owned by `owner`; true when the
// user pressed the button that acts. Enter and Escape close it; Alt and the
// first letter of the acting button press that one.
bool ShowReviewWindow(HWND owner, const ReviewList& list);

}  // namespace vantrel
