#pragma once

// qcustomplot.h is written with Qt's keywords, which this project switches off
// (QT_NO_KEYWORDS); they are lent to it for the include only.
#ifndef signals
#define QV_QCP_SIGNALS
#define signals Q_SIGNALS
#endif
#ifndef slots
#define QV_QCP_SLOTS
#define slots Q_SLOTS
#endif
#ifndef emit
#define QV_QCP_EMIT
#define emit Q_EMIT
#endif
#ifndef foreach
#define QV_QCP_FOREACH
#define foreach Q_FOREACH
#endif

#include <qcustomplot.h>

#ifdef QV_QCP_SIGNALS
#undef signals
#undef QV_QCP_SIGNALS
#endif
#ifdef QV_QCP_SLOTS
#undef slots
#undef QV_QCP_SLOTS
#endif
#ifdef QV_QCP_EMIT
#undef emit
#undef QV_QCP_EMIT
#endif
#ifdef QV_QCP_FOREACH
#undef foreach
#undef QV_QCP_FOREACH
#endif
