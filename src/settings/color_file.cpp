#include "settings/color_file.h"

#include "settings/save_file.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace mekuri {

namespace {

struct NamedColor {
    const char* name;
    quint32 value;
};

// Each value has exactly one identifier; the spelling is the one written.
constexpr std::array<NamedColor, 52> kColorNames{{
    {"clBlack", 0x00000000},
    {"clMaroon", 0x00000080},
    {"clGreen", 0x00008000},
    {"clOlive", 0x00008080},
    {"clNavy", 0x00800000},
    {"clPurple", 0x00800080},
    {"clTeal", 0x00808000},
    {"clGray", 0x00808080},
    {"clSilver", 0x00C0C0C0},
    {"clRed", 0x000000FF},
    {"clLime", 0x0000FF00},
    {"clYellow", 0x0000FFFF},
    {"clBlue", 0x00FF0000},
    {"clFuchsia", 0x00FF00FF},
    {"clAqua", 0x00FFFF00},
    {"clWhite", 0x00FFFFFF},
    {"clMoneyGreen", 0x00C0DCC0},
    {"clSkyBlue", 0x00F0CAA6},
    {"clCream", 0x00F0FBFF},
    {"clMedGray", 0x00A4A0A0},
    {"clActiveBorder", 0xFF00000A},
    {"clActiveCaption", 0xFF000002},
    {"clAppWorkSpace", 0xFF00000C},
    {"clBackground", 0xFF000001},
    {"clBtnFace", 0xFF00000F},
    {"clBtnHighlight", 0xFF000014},
    {"clBtnShadow", 0xFF000010},
    {"clBtnText", 0xFF000012},
    {"clCaptionText", 0xFF000009},
    {"clDefault", 0x20000000},
    {"clGradientActiveCaption", 0xFF00001B},
    {"clGradientInactiveCaption", 0xFF00001C},
    {"clGrayText", 0xFF000011},
    {"clHighlight", 0xFF00000D},
    {"clHighlightText", 0xFF00000E},
    {"clHotLight", 0xFF00001A},
    {"clInactiveBorder", 0xFF00000B},
    {"clInactiveCaption", 0xFF000003},
    {"clInactiveCaptionText", 0xFF000013},
    {"clInfoBk", 0xFF000018},
    {"clInfoText", 0xFF000017},
    {"clMenu", 0xFF000004},
    {"clMenuBar", 0xFF00001E},
    {"clMenuHighlight", 0xFF00001D},
    {"clMenuText", 0xFF000007},
    {"clNone", 0x1FFFFFFF},
    {"clScrollBar", 0xFF000000},
    {"cl3DDkShadow", 0xFF000015},
    {"cl3DLight", 0xFF000016},
    {"clWindow", 0xFF000005},
    {"clWindowFrame", 0xFF000006},
    {"clWindowText", 0xFF000008},
}};

// The chooser's options in the order the stream lists them.
constexpr std::array<const char*, 5> kOptionNames{
    "cdFullOpen", "cdPreventFullOpen", "cdShowHelp", "cdSolidColor", "cdAnyColor"};

// Value tags of the component stream.
enum Tag : quint8 {
    kNull = 0x00,
    kList = 0x01,
    kInt8 = 0x02,
    kInt16 = 0x03,
    kInt32 = 0x04,
    kString = 0x06,
    kIdent = 0x07,
    kSet = 0x0B,
    kLString = 0x0C,
    kWString = 0x12,
    kUtf8String = 0x14,
};

// A colour file is a few hundred bytes; anything far larger is not one and is
// refused before it is read into memory.
constexpr qint64 kMaxColorFileSize = 1 << 20;

const QByteArray kResourceName = QByteArrayLiteral("TCOLORDIALOG");

// ---- writing ---------------------------------------------------------------

void putU16(QByteArray& out, quint16 v) {
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}

void putU32(QByteArray& out, quint32 v) {
    for (int i = 0; i < 4; ++i) out.append(char((v >> (8 * i)) & 0xFF));
}

// Names and identifiers are ASCII and at most 255 bytes long.
void putShortString(QByteArray& out, const QByteArray& ascii) {
    out.append(char(ascii.size()));
    out.append(ascii);
}

// The smallest of Int8, Int16, Int32 that holds the value.
void putInteger(QByteArray& out, qint32 v) {
    if (v >= -128 && v <= 127) {
        out.append(char(kInt8));
        out.append(char(qint8(v)));
    } else if (v >= -32768 && v <= 32767) {
        out.append(char(kInt16));
        putU16(out, quint16(qint16(v)));
    } else {
        out.append(char(kInt32));
        putU32(out, quint32(v));
    }
}

bool isAscii(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() > 0x7F) return false;
    }
    return true;
}

void putString(QByteArray& out, const QString& text) {
    if (isAscii(text)) {
        const QByteArray bytes = text.toLatin1();
        if (bytes.size() <= 255) {
            out.append(char(kString));
            putShortString(out, bytes);
        } else {
            out.append(char(kLString));
            putU32(out, quint32(bytes.size()));
            out.append(bytes);
        }
        return;
    }
    const QByteArray utf8 = text.toUtf8();
    // UTF-8 cannot carry an unpaired surrogate; the wide form keeps it.
    if (utf8.size() < 2 * text.size() && text.isValidUtf16()) {
        out.append(char(kUtf8String));
        putU32(out, quint32(utf8.size()));
        out.append(utf8);
        return;
    }
    out.append(char(kWString));
    putU32(out, quint32(text.size()));
    for (QChar c : text) putU16(out, c.unicode());
}

QByteArray componentStream(const ColorDialogState& state) {
    QByteArray s = QByteArrayLiteral("TPF0");
    putShortString(s, QByteArrayLiteral("TColorDialog"));
    putShortString(s, QByteArrayLiteral("ColorDialog1"));
    if (state.color != 0) {
        putShortString(s, QByteArrayLiteral("Color"));
        if (const std::optional<QString> id = colorIdentifier(state.color)) {
            s.append(char(kIdent));
            putShortString(s, id->toLatin1());
        } else {
            putInteger(s, qint32(state.color));
        }
    }
    if (!state.customColors.isEmpty()) {
        putShortString(s, QByteArrayLiteral("CustomColors.Strings"));
        s.append(char(kList));
        for (const QString& line : state.customColors) putString(s, line);
        s.append(char(kNull));
    }
    putShortString(s, QByteArrayLiteral("Options"));
    s.append(char(kSet));
    for (const char* option : kOptionNames) {
        if (state.options.contains(QLatin1String(option), Qt::CaseInsensitive)) {
            putShortString(s, QByteArray(option));
        }
    }
    s.append(char(kNull));
    putShortString(s, QByteArrayLiteral("Left"));
    putInteger(s, state.left);
    putShortString(s, QByteArrayLiteral("Top"));
    putInteger(s, state.top);
    s.append(char(kNull));  // end of the properties
    s.append(char(kNull));  // end of the contained components (none)
    return s;
}

// ---- reading ---------------------------------------------------------------

// A bounded reader: every read checks the bytes left first, so no length
// field in a file can make it read past the end or allocate beyond the file.
class Reader {
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    qsizetype left() const { return m_bytes.size() - m_pos; }
    bool failed() const { return !m_error.isEmpty(); }
    const QString& error() const { return m_error; }

    void fail(const QString& why) {
        if (m_error.isEmpty()) m_error = why;
    }

    bool need(qsizetype n) {
        if (failed()) return false;
        if (n < 0 || n > left()) {
            fail(QStringLiteral("ファイルが途中で終わっています。"));
            return false;
        }
        return true;
    }

    quint8 u8() {
        if (!need(1)) return 0;
        return quint8(m_bytes[m_pos++]);
    }
    quint16 u16() {
        if (!need(2)) return 0;
        const quint16 v = quint16(quint8(m_bytes[m_pos]) | (quint8(m_bytes[m_pos + 1]) << 8));
        m_pos += 2;
        return v;
    }
    quint32 u32() {
        if (!need(4)) return 0;
        quint32 v = 0;
        for (int i = 3; i >= 0; --i) v = (v << 8) | quint8(m_bytes[m_pos + i]);
        m_pos += 4;
        return v;
    }
    QByteArrayView take(qint64 n) {
        if (!need(qsizetype(n))) return {};
        const QByteArrayView v = m_bytes.sliced(m_pos, qsizetype(n));
        m_pos += qsizetype(n);
        return v;
    }
    QByteArray shortString() {
        const quint8 n = u8();
        return take(n).toByteArray();
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    QString m_error;
};

QString invalidValue(const QByteArray& property) {
    return QStringLiteral("プロパティ %1 の値が不正です。").arg(QString::fromLatin1(property));
}

std::optional<qint32> readInteger(Reader& r, quint8 tag) {
    switch (tag) {
    case kInt8: return qint32(qint8(r.u8()));
    case kInt16: return qint32(qint16(r.u16()));
    case kInt32: return qint32(r.u32());
    default: return std::nullopt;
    }
}

// Short and long strings are in the legacy code page, like every other
// legacy text of the program.
QString decodeLegacy(QByteArrayView bytes) {
    // ASCII is itself in the code page, and putString writes it so. ICU's
    // table would swap the control codes 1A, 1C and 7F, so a text holding one
    // would change on every save.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) < 0x80; })) {
        return QString::fromLatin1(bytes);
    }
    QStringDecoder decoder("windows-31j", QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

std::optional<QString> readString(Reader& r, quint8 tag) {
    switch (tag) {
    case kString: return decodeLegacy(r.take(r.u8()));
    case kLString: return decodeLegacy(r.take(r.u32()));
    case kUtf8String: return QString::fromUtf8(r.take(r.u32()));
    case kWString: {
        const quint32 units = r.u32();
        if (units > quint32(r.left() / 2)) {
            r.fail(QStringLiteral("ファイルが途中で終わっています。"));
            return QString();
        }
        QString text;
        text.reserve(qsizetype(units));
        for (quint32 i = 0; i < units; ++i) text.append(QChar(r.u16()));
        return text;
    }
    default: return std::nullopt;
    }
}

// Reads the component stream into state (a copy the caller commits).
void readStream(Reader& r, ColorDialogState& state) {
    if (r.take(4) != QByteArrayView("TPF0")) {
        r.fail(QStringLiteral("ストリームの形式が不正です。"));
        return;
    }
    r.shortString();  // class name
    r.shortString();  // component name
    bool colorSeen = false;
    while (!r.failed()) {
        const QByteArray name = r.shortString();
        if (r.failed()) return;
        if (name.isEmpty()) break;  // end of the properties
        const quint8 tag = r.u8();
        const QString property = QString::fromLatin1(name);
        if (property.compare(u"Color", Qt::CaseInsensitive) == 0) {
            if (tag == kIdent) {
                const QByteArray id = r.shortString();
                const std::optional<quint32> value = colorFromIdentifier(QString::fromLatin1(id));
                if (!r.failed() && !value) {
                    r.fail(QStringLiteral("色の名前 %1 は不明です。").arg(QString::fromLatin1(id)));
                    return;
                }
                state.color = value.value_or(0);
            } else if (const std::optional<qint32> v = readInteger(r, tag)) {
                state.color = quint32(*v);
            } else {
                r.fail(invalidValue(name));
                return;
            }
            colorSeen = true;
        } else if (property.compare(u"CustomColors.Strings", Qt::CaseInsensitive) == 0) {
            if (tag != kList) {
                r.fail(invalidValue(name));
                return;
            }
            QStringList lines;
            for (;;) {
                const quint8 itemTag = r.u8();
                if (r.failed() || itemTag == kNull) break;
                const std::optional<QString> line = readString(r, itemTag);
                if (!line) {
                    r.fail(invalidValue(name));
                    return;
                }
                lines.append(*line);
            }
            state.customColors = lines;
        } else if (property.compare(u"Options", Qt::CaseInsensitive) == 0) {
            if (tag != kSet) {
                r.fail(invalidValue(name));
                return;
            }
            QStringList options;
            for (;;) {
                const QByteArray option = r.shortString();
                if (r.failed() || option.isEmpty()) break;
                bool known = false;
                for (const char* canonical : kOptionNames) {
                    if (QString::fromLatin1(option).compare(QLatin1String(canonical), Qt::CaseInsensitive) == 0) {
                        if (!options.contains(QLatin1String(canonical))) options.append(QLatin1String(canonical));
                        known = true;
                    }
                }
                if (!known) {
                    r.fail(invalidValue(name));
                    return;
                }
            }
            state.options = options;
        } else if (property.compare(u"Left", Qt::CaseInsensitive) == 0 ||
                   property.compare(u"Top", Qt::CaseInsensitive) == 0) {
            const std::optional<qint32> v = readInteger(r, tag);
            if (!v) {
                r.fail(invalidValue(name));
                return;
            }
            (property.compare(u"Left", Qt::CaseInsensitive) == 0 ? state.left : state.top) = *v;
        } else {
            r.fail(QStringLiteral("プロパティ %1 は存在しません。").arg(property));
            return;
        }
    }
    if (r.failed()) return;
    // The chooser contains no components; anything else is not its stream.
    if (r.u8() != kNull && !r.failed()) r.fail(QStringLiteral("ストリームの形式が不正です。"));
    // Without "Color" the file means black, not the colour read before it.
    if (!colorSeen) state.color = 0;
}

// Finds the component stream inside either resource header. Returns an empty
// view and sets r's error when the header is not one of the two forms.
QByteArrayView locateStream(QByteArrayView bytes, QString* error) {
    static const QByteArray k32BitPrefix = QByteArray::fromHex(
        "00000000" "20000000" "FFFF0000" "FFFF0000"
        "00000000000000000000000000000000");
    const QString invalid = QStringLiteral("ストリームの形式が不正です。");
    const QString truncated = QStringLiteral("ファイルが途中で終わっています。");
    Reader r(bytes);
    if (bytes.startsWith(k32BitPrefix)) {
        // 32-bit form: an empty entry, then DataSize, HeaderSize, type FFFF 000A.
        r.take(32);
        const quint32 dataSize = r.u32();
        const quint32 headerSize = r.u32();
        const quint16 typeMark = r.u16();
        const quint16 type = r.u16();
        if (r.failed()) {
            *error = truncated;
            return {};
        }
        if (typeMark != 0xFFFF || type != 0x000A || headerSize < 12) {
            *error = invalid;
            return {};
        }
        const qint64 start = 32 + qint64(headerSize);
        if (start + qint64(dataSize) > bytes.size()) {
            *error = truncated;
            return {};
        }
        return bytes.sliced(qsizetype(start), qsizetype(dataSize));
    }
    // 16-bit form: FF, type 000A, name up to its zero byte, flags, length.
    if (r.u8() != 0xFF || r.u16() != 0x000A) {
        *error = r.failed() ? truncated : invalid;
        return {};
    }
    while (!r.failed() && r.u8() != 0) {
    }
    r.u16();  // memory flags
    const quint32 length = r.u32();
    if (r.failed()) {
        *error = truncated;
        return {};
    }
    const qint64 start = bytes.size() - r.left();
    if (qint64(length) > r.left()) {
        *error = truncated;
        return {};
    }
    return bytes.sliced(qsizetype(start), qsizetype(length));
}

QString fileError(const QString& path, const QString& reason) {
    return QStringLiteral("色ファイル %1 を読めません。\n%2").arg(QDir::toNativeSeparators(path), reason);
}

}  // namespace

std::optional<QString> colorIdentifier(quint32 value) {
    for (const NamedColor& c : kColorNames) {
        if (c.value == value) return QString::fromLatin1(c.name);
    }
    return std::nullopt;
}

std::optional<quint32> colorFromIdentifier(const QString& identifier) {
    for (const NamedColor& c : kColorNames) {
        if (identifier.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) return c.value;
    }
    return std::nullopt;
}

QByteArray serializeColorFile(const ColorDialogState& state) {
    const QByteArray stream = componentStream(state);
    QByteArray out;
    out.append(char(0xFF));
    putU16(out, 0x000A);
    out.append(kResourceName);
    out.append(char(0));
    putU16(out, 0x1030);
    putU32(out, quint32(stream.size()));
    out.append(stream);
    return out;
}

Status parseColorFile(const QByteArray& bytes, ColorDialogState& state) {
    QString error;
    const QByteArrayView stream = locateStream(bytes, &error);
    if (!error.isEmpty()) return Error{error};
    ColorDialogState read = state;
    Reader r(stream);
    readStream(r, read);
    if (r.failed()) return Error{r.error()};
    state = read;
    return Status::success();
}

Status ReadColorFile(const QString& path, ColorDialogState& state) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return Error{fileError(path, file.errorString())};
    if (file.size() > kMaxColorFileSize) {
        return Error{fileError(path, QStringLiteral("色ファイルとしては大きすぎます。"))};
    }
    const QByteArray bytes = file.read(kMaxColorFileSize + 1);
    if (file.error() != QFileDevice::NoError) return Error{fileError(path, file.errorString())};
    if (bytes.size() > kMaxColorFileSize) {
        return Error{fileError(path, QStringLiteral("色ファイルとしては大きすぎます。"))};
    }
    const Status parsed = parseColorFile(bytes, state);
    if (!parsed.ok()) return Error{fileError(path, parsed.error())};
    return Status::success();
}

Status WriteColorFile(const QString& path, const ColorDialogState& state) {
    return writeFileAtomic(path, serializeColorFile(state));
}

}  // namespace mekuri
