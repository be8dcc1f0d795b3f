#include "settings/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

namespace mekuri {

namespace {

// ICU's "windows-31j" is Microsoft's CP932 (glibc's SHIFT_JIS is not).
constexpr const char* kCp932Name = "windows-31j";

bool startsWith(const QByteArray& bytes, std::initializer_list<unsigned char> mark) {
    if (bytes.size() < qsizetype(mark.size())) return false;
    qsizetype i = 0;
    for (unsigned char c : mark) {
        if (static_cast<unsigned char>(bytes[i++]) != c) return false;
    }
    return true;
}

QString decodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes, bool* invalid) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    *invalid = decoder.hasError();
    return text;
}

}  // namespace

DecodedText decodeText(const QByteArray& bytes) {
    DecodedText out;
    if (startsWith(bytes, {0xFF, 0xFE})) {
        out.encoding = TextEncoding::Utf16LeBom;
        out.text = decodeWith(QStringConverter::Utf16LE, QByteArrayView(bytes).sliced(2), &out.hadInvalidBytes);
    } else if (startsWith(bytes, {0xFE, 0xFF})) {
        out.encoding = TextEncoding::Utf16BeBom;
        out.text = decodeWith(QStringConverter::Utf16BE, QByteArrayView(bytes).sliced(2), &out.hadInvalidBytes);
    } else if (startsWith(bytes, {0xEF, 0xBB, 0xBF})) {
        out.encoding = TextEncoding::Utf8Bom;
        out.text = decodeWith(QStringConverter::Utf8, QByteArrayView(bytes).sliced(3), &out.hadInvalidBytes);
    } else {
        out.encoding = TextEncoding::Cp932;
        QStringDecoder decoder(kCp932Name, QStringConverter::Flag::Stateless);
        out.text = decoder.decode(bytes);
        out.hadInvalidBytes = decoder.hasError();
    }
    return out;
}

EncodedText encodeText(const QString& text, TextEncoding encoding) {
    EncodedText out;
    switch (encoding) {
    case TextEncoding::Cp932: {
        QStringEncoder encoder(kCp932Name, QStringConverter::Flag::Stateless);
        out.bytes = encoder.encode(text);
        out.lossy = encoder.hasError();
        break;
    }
    case TextEncoding::Utf8Bom:
        out.bytes = QByteArray("\xEF\xBB\xBF", 3) + text.toUtf8();
        break;
    case TextEncoding::Utf16LeBom: {
        QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
        out.bytes = QByteArray("\xFF\xFE", 2) + QByteArray(encoder.encode(text));
        break;
    }
    case TextEncoding::Utf16BeBom: {
        QStringEncoder encoder(QStringConverter::Utf16BE, QStringConverter::Flag::Stateless);
        out.bytes = QByteArray("\xFE\xFF", 2) + QByteArray(encoder.encode(text));
        break;
    }
    }
    return out;
}

bool cp932CanHold(const QString& text) {
    return !encodeText(text, TextEncoding::Cp932).lossy;
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

QString joinCrLf(const QStringList& lines, bool trailingBreak) {
    QString out = lines.join(QStringLiteral("\r\n"));
    if (trailingBreak && !lines.isEmpty()) out += QStringLiteral("\r\n");
    return out;
}

Expected<QByteArray> readWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return Error{QStringLiteral("ファイル %1 を開けません。\n%2")
                         .arg(QDir::toNativeSeparators(path), file.errorString())};
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        return Error{QStringLiteral("ファイル %1 を読めません。\n%2")
                         .arg(QDir::toNativeSeparators(path), file.errorString())};
    }
    return bytes;
}

Expected<DecodedText> readTextFile(const QString& path) {
    Expected<QByteArray> bytes = readWholeFile(path);
    if (!bytes.ok()) return Error{bytes.error()};
    return decodeText(*bytes);
}

Expected<DecodedText> readTextFileOrEmpty(const QString& path) {
    if (!QFileInfo::exists(path)) return DecodedText{};
    return readTextFile(path);
}

QString trimControl(const QString& text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b].unicode() <= 32) ++b;
    while (e > b && text[e - 1].unicode() <= 32) --e;
    return text.mid(b, e - b);
}

}  // namespace mekuri
