// Windows' live settings through SystemParametersInfoA (user32, which an
// unattended run loads only when it hands Windows a setting).
#pragma once

#include "platform/Platform.h"

namespace vantrel {

class Win32LiveSettings : public LiveSettings {
public:
    bool SetMouseAcceleration(int acceleration) override;
};

}  // namespace vantrel
