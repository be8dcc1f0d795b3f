#pragma once

// The one place that maps the program's colour values to what is drawn:
// 00BBGGRR direct colours as they are, FF0000nn system colours to the
// desktop palette (QPalette of the running application), clNone and
// clDefault to a transparent / the default window colour.

#include <QColor>

namespace mekuri {

QColor colorFromValue(quint32 value);
// The direct 00BBGGRR value of a drawn colour (alpha ignored).
quint32 valueFromColor(const QColor& color);

}  // namespace mekuri
