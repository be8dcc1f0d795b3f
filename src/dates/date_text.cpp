#include "dates/date_text.h"

namespace mekuri {

namespace {

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

bool isAsciiDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

QString weekdayName(int weekday) {
    static const char16_t* const kNames[7] = {u"日", u"月", u"火", u"水", u"木", u"金", u"土"};
    return QString::fromUtf16(kNames[weekday]);
}

// Full-width digits, letters and "／" become ASCII, the ideographic space a
// space: people type dates with the input method switched on.
QString foldWidth(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0xFF10 && u <= 0xFF19) || (u >= 0xFF21 && u <= 0xFF3A) || (u >= 0xFF41 && u <= 0xFF5A) ||
            u == 0xFF0F) {
            out += QChar(char16_t(u - 0xFEE0));
        } else if (u == 0x3000) {
            out += QLatin1Char(' ');
        } else {
            out += c;
        }
    }
    return out;
}

// A left-to-right reader over the folded text.
class Scanner {
public:
    explicit Scanner(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    void skipBlanks() {
        while (!atEnd() && isBlank(m_text[m_pos])) ++m_pos;
    }
    bool take(QChar c) {
        if (peek() != c) return false;
        ++m_pos;
        return true;
    }
    bool takeText(QStringView s) {
        if (!m_text.sliced(m_pos).startsWith(s)) return false;
        m_pos += s.size();
        return true;
    }
    // A run of minDigits..maxDigits ASCII digits, not followed by another digit.
    std::optional<int> number(int minDigits, int maxDigits) {
        qsizetype end = m_pos;
        while (end < m_text.size() && isAsciiDigit(m_text[end])) ++end;
        const qsizetype count = end - m_pos;
        if (count < minDigits || count > maxDigits) return std::nullopt;
        int value = 0;
        for (; m_pos < end; ++m_pos) value = value * 10 + (m_text[m_pos].unicode() - u'0');
        return value;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

const Era* takeEra(Scanner& in) {
    if (isAsciiLetter(in.peek())) {
        const Era* era = eraByLetter(in.peek());
        if (era) in.take(in.peek());
        return era;
    }
    for (const Era& era : EraTable()) {
        if (in.takeText(era.EraName)) return &era;
    }
    return nullptr;
}

std::optional<DateSerial> validDate(int year, int month, int day) {
    const CivilDate civil{year, month, day};
    if (year < 1 || !civil.ok()) return std::nullopt;
    return DateSerial::fromCivil(civil);
}

}  // namespace

QString FormatDateText(QStringView format, DateSerial date) {
    const CivilDate c = date.civil();
    QString out;
    qsizetype i = 0;
    while (i < format.size()) {
        const QChar ch = format[i];
        if (ch == u'"') {
            const qsizetype close = format.indexOf(u'"', i + 1);
            const qsizetype end = close < 0 ? format.size() : close;
            out += format.sliced(i + 1, end - i - 1);
            i = close < 0 ? format.size() : close + 1;
            continue;
        }
        if (ch == u'/') {
            out += QLatin1Char('/');
            ++i;
            continue;
        }
        if (!isAsciiLetter(ch)) {
            out += ch;
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (end < format.size() && format[end] == ch) ++end;
        const QStringView token = format.sliced(i, end - i);
        if (token == u"yyyy") out += QString::number(c.year).rightJustified(4, u'0');
        else if (token == u"mm") out += QString::number(c.month).rightJustified(2, u'0');
        else if (token == u"m") out += QString::number(c.month);
        else if (token == u"dd") out += QString::number(c.day).rightJustified(2, u'0');
        else if (token == u"d") out += QString::number(c.day);
        else if (token == u"ddd") out += weekdayName(date.weekday());
        else if (token == u"gg") out += eraOf(date).EraName;
        else if (token == u"e") out += QString::number(eraYearOf(date));
        else out += token;
        i = end;
    }
    return out;
}

std::optional<DateSerial> ParseDateText(QStringView text) {
    const QString folded = foldWidth(text);
    Scanner in(folded);
    in.skipBlanks();
    const Era* era = takeEra(in);
    if (!era && isAsciiLetter(in.peek())) return std::nullopt;  // a letter that names no era
    in.skipBlanks();

    std::optional<int> year;
    if (era && in.take(u'元')) year = 1;
    else year = era ? in.number(1, 4) : in.number(4, 4);
    if (!year) return std::nullopt;
    in.skipBlanks();

    // The first separator decides the style; the others must follow it.
    QChar afterMonth;
    QChar afterDay;
    if (in.take(u'/')) {
        afterMonth = u'/';
    } else if (in.take(u'年')) {
        afterMonth = u'月';
        afterDay = u'日';
    } else {
        return std::nullopt;
    }
    in.skipBlanks();
    const std::optional<int> month = in.number(1, 2);
    if (!month) return std::nullopt;
    in.skipBlanks();
    if (!in.take(afterMonth)) return std::nullopt;
    in.skipBlanks();
    const std::optional<int> day = in.number(1, 2);
    if (!day) return std::nullopt;
    in.skipBlanks();
    if (!afterDay.isNull()) {
        if (!in.take(afterDay)) return std::nullopt;
        in.skipBlanks();
    }
    if (!in.atEnd()) return std::nullopt;

    if (!era) return validDate(*year, *month, *day);
    if (*year < 1) return std::nullopt;
    const std::optional<DateSerial> date = validDate(westernYearOfEra(*era, *year), *month, *day);
    if (!date || *date < era->EraFirstDay) return std::nullopt;
    return date;
}

Expected<DateSerial> ParseShortDate(QStringView text) {
    Scanner in(text);
    const std::optional<int> year = in.number(4, 4);
    std::optional<int> month;
    std::optional<int> day;
    if (year && in.take(u'/')) month = in.number(1, 2);
    if (month && in.take(u'/')) day = in.number(1, 2);
    if (day && in.atEnd()) {
        if (const std::optional<DateSerial> date = validDate(*year, *month, *day)) return *date;
    }
    return Error{QStringLiteral("'%1' は正しい日付ではありません").arg(text)};
}

}  // namespace mekuri
