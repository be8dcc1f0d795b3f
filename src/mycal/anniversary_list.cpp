#include "mycal/anniversary_list.h"

#include "settings/save_file.h"
#include "settings/text_file.h"

namespace mekuri {

Expected<QStringList> loadAnniversaryList(const QString& path) {
    Expected<DecodedText> text = readTextFile(path);
    if (!text.ok()) return Error{text.error()};
    QStringList lines;
    for (const QString& line : splitLines(text->text)) {
        if (!trimControl(line).isEmpty()) lines.append(line);
    }
    return lines;
}

QByteArray anniversaryListBytes(const QStringList& lines) {
    if (lines.isEmpty()) return {};
    return encodeText(joinCrLf(lines, true), TextEncoding::Cp932).bytes;
}

Status saveAnniversaryList(const QString& path, const QStringList& lines) {
    const EncodedText encoded = encodeText(joinCrLf(lines, !lines.isEmpty()), TextEncoding::Cp932);
    if (encoded.lossy) {
        return Error{QStringLiteral("記念日のリストに保存できない文字があります: ") + path};
    }
    return writeFileAtomic(path, encoded.bytes);
}

}  // namespace mekuri
