#include "platform/fonts.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>

namespace mekuri {

void installFontSubstitutions() {
    const QStringList gothicP{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                              QStringLiteral("Noto Sans CJK JP")};
    const QStringList gothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic"),
                             QStringLiteral("Noto Sans Mono CJK JP")};
    const QStringList minchoP{QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"),
                              QStringLiteral("Noto Serif CJK JP")};
    const QStringList mincho{QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho"),
                             QStringLiteral("Noto Serif CJK JP")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), gothicP);
    QFont::insertSubstitutions(QStringLiteral("MS PGothic"), gothicP);
    QFont::insertSubstitutions(QStringLiteral("MS UI Gothic"), gothicP);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), minchoP);
    QFont::insertSubstitutions(QStringLiteral("MS PMincho"), minchoP);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral("MS Mincho"), mincho);
}

QFont fontWithCellHeight(const QString& family, int cellHeight) {
    QFont font(family);
    if (cellHeight <= 0) {
        font.setPixelSize(1);
        return font;
    }
    // Measure the family once at 100 px and scale; then correct by one step
    // either way, since rounding of metrics is not linear at small sizes.
    font.setPixelSize(100);
    const int h100 = std::max(1, QFontMetrics(font).ascent() + QFontMetrics(font).descent());
    int px = std::max(1, int(qint64(cellHeight) * 100 / h100));
    font.setPixelSize(px);
    for (int step = 0; step < 3; ++step) {
        const QFontMetrics m(font);
        const int h = m.ascent() + m.descent();
        if (h < cellHeight) {
            QFont bigger = font;
            bigger.setPixelSize(px + 1);
            const QFontMetrics mb(bigger);
            if (mb.ascent() + mb.descent() > cellHeight) break;
            font = bigger;
            ++px;
        } else if (h > cellHeight && px > 1) {
            font.setPixelSize(--px);
        } else {
            break;
        }
    }
    return font;
}

}  // namespace mekuri
