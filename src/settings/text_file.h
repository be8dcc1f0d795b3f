#pragma once

// Every text file the program reads or writes goes through here.
// Reading: a byte-order mark selects UTF-16LE, UTF-16BE or UTF-8 (tested in
// that order); without one the bytes are code page 932 (Microsoft Shift-JIS,
// 0x8160 is U+FF5E). Writing the legacy page means CP932, no mark, CR LF.

#include "settings/expected.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace mekuri {

enum class TextEncoding {
    Cp932,       // legacy code page, no byte-order mark
    Utf8Bom,     // UTF-8 with EF BB BF
    Utf16LeBom,  // UTF-16 little-endian with FF FE
    Utf16BeBom,  // UTF-16 big-endian with FE FF
};

struct DecodedText {
    QString text;
    TextEncoding encoding = TextEncoding::Cp932;
    // True when some bytes were not valid in the detected encoding; such
    // text must not be written back over the file as if nothing happened.
    bool hadInvalidBytes = false;
};

struct EncodedText {
    QByteArray bytes;
    // True when a character could not be held by the encoding (only CP932
    // can fail); the bytes then carry a substitute and must not be saved.
    bool lossy = false;
};

// Detects the encoding from the byte-order mark and decodes; the mark is not
// part of the text.
DecodedText decodeText(const QByteArray& bytes);

// Encodes text, with the byte-order mark for the marked encodings.
EncodedText encodeText(const QString& text, TextEncoding encoding);

// Whether every character of text has a CP932 form.
bool cp932CanHold(const QString& text);

// Splits on CR LF, LF or CR. A final line break does not open an empty line.
QStringList splitLines(const QString& text);

// Joins lines with CR LF; trailingBreak adds one after the last line too.
QString joinCrLf(const QStringList& lines, bool trailingBreak);

// The bytes of a whole file, or an error naming the file and the reason.
Expected<QByteArray> readWholeFile(const QString& path);

// Reads a whole file. A missing file is an error here; callers that treat a
// missing file as empty check existence first or use readTextFileOrEmpty.
Expected<DecodedText> readTextFile(const QString& path);

// As readTextFile, but a file that does not exist reads as empty CP932 text.
Expected<DecodedText> readTextFileOrEmpty(const QString& path);

// Trims characters with codes 0 to 32 at both ends (and nothing else: an
// ideographic space U+3000 is text, not a blank).
QString trimControl(const QString& text);

}  // namespace mekuri
