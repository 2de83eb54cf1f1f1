#pragma once

#include <QColor>
#include <QPixmap>

namespace qv {

// Small pictures of the capture windows, painted rather than shipped: the clock and
// the computer of the progress window and the state lamps of the unit window.
QPixmap DibujoReloj(int lado);
QPixmap DibujoCompu(int lado);
QPixmap DibujoLuz(const QColor& color, int lado);

} // namespace qv
