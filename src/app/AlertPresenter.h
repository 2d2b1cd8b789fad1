#pragma once

#include "app/Alert.h"

namespace vantrel::app {

// Shows alerts and waits for the answer. The desktop shows a modal message box; tests script the
// answers and read what was shown.
class AlertPresenter {
public:
    virtual ~AlertPresenter() = default;
    // The index of the chosen button in alert.buttons (0 for the implicit "OK").
    virtual int present(const Alert& alert) = 0;
};

} // namespace vantrel::app
