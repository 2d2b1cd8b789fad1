// Must not compile: nothing below the user interface may use QtWidgets.
#include <QWidget>
