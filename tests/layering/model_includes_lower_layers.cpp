// Must compile: the model layer sees itself, the layers below it and QtCore. This is the control
// that shows the other probes fail for the right reason.
#include "model/Amount.h"
#include "platform/Clock.h"
#include "text/Regex.h"

#include <QString>
