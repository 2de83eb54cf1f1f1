#pragma once

// The plotting library's header uses Qt's keyword macros, which this project switches off
// (QT_NO_KEYWORDS); they are lent to it for the include only.
#define signals Q_SIGNALS
#define foreach Q_FOREACH
#include <qcustomplot.h>
#undef foreach
#undef signals
