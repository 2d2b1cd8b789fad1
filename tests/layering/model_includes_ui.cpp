// Must not compile: the model layer cannot see the user interface.
#include "ui/MainWindow.h"
