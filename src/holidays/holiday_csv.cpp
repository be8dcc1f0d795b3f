#include "holidays/holiday_csv.h"

#include "settings/text_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

namespace mekuri {

namespace {

QString unquote(const QString& field) {
    QString f = trimControl(field);
    if (f.size() >= 2 && f.startsWith(u'"') && f.endsWith(u'"')) {
        f = f.mid(1, f.size() - 2).replace(QStringLiteral("\"\""), QStringLiteral("\""));
        f = trimControl(f);
    }
    return f;
}

Error lineError(int lineNo, const QString& line, const QString& reason) {
    return Error{QStringLiteral("祝日のCSVファイルの %1行目が正しくありません。\n\n%2\n\n「%3」")
                     .arg(lineNo)
                     .arg(reason, line)};
}

// The first line (1-based) holding bytes that are not valid in the file's
// encoding, or 0 when that cannot be told line by line (UTF-16).
int firstUndecodableLine(const QByteArray& bytes, TextEncoding encoding) {
    QByteArray body = bytes;
    std::optional<QStringDecoder> decoder;
    if (encoding == TextEncoding::Cp932) {
        decoder.emplace("windows-31j");
    } else if (encoding == TextEncoding::Utf8Bom) {
        decoder.emplace(QStringDecoder::Utf8);
        body = body.mid(3);
    } else {
        return 0;
    }
    const QList<QByteArray> lines = body.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        decoder->resetState();
        const QString text = decoder->decode(lines[i]);
        if (decoder->hasError() || text.contains(QChar::ReplacementCharacter)) return int(i) + 1;
    }
    return 0;
}

}  // namespace

QList<int> HolidayCsv::years() const {
    QList<int> out;
    for (const auto& entry : byYear) out.append(entry.first);
    return out;
}

QString holidayCsvHeader() { return QStringLiteral("国民の祝日・休日月日,国民の祝日・休日名称"); }

bool looksLikeHolidayCsv(const QByteArray& bytes) {
    const QStringList lines = splitLines(decodeText(bytes).text);
    return !lines.isEmpty() && trimControl(lines.first()) == holidayCsvHeader();
}

Expected<HolidayCsv> parseHolidayCsv(const QByteArray& bytes) {
    const DecodedText decoded = decodeText(bytes);
    const QStringList lines = splitLines(decoded.text);
    if (lines.isEmpty() || trimControl(lines.first()) != holidayCsvHeader()) {
        return Error{QStringLiteral(
                         "内閣府の祝日のCSVファイルではありません。\n\n"
                         "1行目が「%1」ではありません。")
                         .arg(holidayCsvHeader())};
    }

    if (decoded.hadInvalidBytes) {
        // Names are only comments, but a damaged file is no source of holidays.
        const int lineNo = firstUndecodableLine(bytes, decoded.encoding);
        if (lineNo > 0) {
            return lineError(lineNo, lineNo <= lines.size() ? trimControl(lines[lineNo - 1]) : QString(),
                             decoded.encoding == TextEncoding::Cp932
                                 ? QStringLiteral("Shift-JIS として読めない文字があります。")
                                 : QStringLiteral("UTF-8 として読めない文字があります。"));
        }
        return Error{QStringLiteral("祝日のCSVファイルに読めない文字があります。")};
    }

    static const QRegularExpression datePattern(QStringLiteral("^(\\d{4})/(\\d{1,2})/(\\d{1,2})$"));
    HolidayCsv csv;
    std::map<QDate, int> lineOfDate;
    for (int i = 1; i < lines.size(); ++i) {
        const int lineNo = i + 1;
        const QString line = trimControl(lines[i]);
        if (line.isEmpty()) continue;
        QStringList fields = line.split(u',');
        while (fields.size() > 2 && unquote(fields.last()).isEmpty()) fields.removeLast();
        if (fields.size() != 2) {
            return lineError(lineNo, line,
                             QStringLiteral("「日付,名称」の2つの項目になっていません。"));
        }
        const QString dateText = unquote(fields[0]);
        const QString name = unquote(fields[1]);
        const QRegularExpressionMatch m = datePattern.match(dateText);
        if (!m.hasMatch()) {
            return lineError(lineNo, line,
                             QStringLiteral("日付「%1」が 年/月/日 の形ではありません。").arg(dateText));
        }
        const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
        if (!date.isValid()) {
            return lineError(lineNo, line, QStringLiteral("日付「%1」はありえない日付です。").arg(dateText));
        }
        if (name.isEmpty()) {
            return lineError(lineNo, line, QStringLiteral("休日の名称がありません。"));
        }
        const auto [it, inserted] = lineOfDate.emplace(date, lineNo);
        if (!inserted) {
            return lineError(lineNo, line,
                             QStringLiteral("同じ日付が %1行目にもあります。").arg(it->second));
        }
        csv.byYear[date.year()].push_back({date, name});
    }
    if (csv.byYear.empty()) {
        return Error{QStringLiteral("祝日のCSVファイルに休日が1つもありません。")};
    }
    for (auto& [year, holidays] : csv.byYear) {
        std::sort(holidays.begin(), holidays.end(),
                  [](const Holiday& a, const Holiday& b) { return a.date < b.date; });
    }
    return csv;
}

Expected<HolidayCsv> readHolidayCsv(const QString& path) {
    const Expected<QByteArray> bytes = readWholeFile(path);
    if (!bytes.ok()) return Error{bytes.error()};
    return parseHolidayCsv(*bytes);
}

Expected<std::vector<Holiday>> holidaysOfYear(const HolidayCsv& csv, int year) {
    const auto it = csv.byYear.find(year);
    if (it == csv.byYear.end()) {
        return Error{QStringLiteral("祝日のCSVファイルには %1年の休日がありません。\n\n"
                                    "このファイルにあるのは %2 の休日です。")
                         .arg(year)
                         .arg(yearsText(csv.years()))};
    }
    return it->second;
}

QString yearsText(const QList<int>& years) {
    QStringList runs;
    for (qsizetype i = 0; i < years.size();) {
        qsizetype j = i;
        while (j + 1 < years.size() && years[j + 1] == years[j] + 1) ++j;
        runs << (j == i ? QStringLiteral("%1年").arg(years[i])
                        : QStringLiteral("%1年から%2年").arg(years[i]).arg(years[j]));
        i = j + 1;
    }
    return runs.join(QStringLiteral("、"));
}

}  // namespace mekuri
