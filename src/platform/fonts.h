#pragma once

// The Windows font names the program asks for resolve to installed Japanese
// fonts: "ＭＳ Ｐゴシック"/"MS UI Gothic" to IPAPGothic, "ＭＳ ゴシック" to
// IPAGothic, "ＭＳ Ｐ明朝" to IPAPMincho, "ＭＳ 明朝" to IPAMincho. On Windows
// the real fonts exist and the substitutes are never used.

#include <QFont>
#include <QString>

namespace mekuri {

void installFontSubstitutions();

// A font of the family with its pixel size chosen so that the cell height
// (ascent + descent) is as close to cellHeight pixels as the family allows.
QFont fontWithCellHeight(const QString& family, int cellHeight);

}  // namespace mekuri
