// Wrong: the core reaches into the views.
#include "pages/qt/QtBrowserPane.h"
