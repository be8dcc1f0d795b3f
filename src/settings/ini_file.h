#pragma once

// The INI form shared by the settings file "mkri.ini" and the holiday files.
//
// Reading: the whole text at once; each line trimmed of codes 0..32; empty
// lines and lines starting with ";" dropped; "[name]" opens a section (name
// trimmed); lines before the first section dropped; "key=value" splits at the
// first "=" (both trimmed); a line without "=" is a keyless entry, kept but
// never found. Sections and keys compare without regard to letter case.
//
// Writing: the loaded order is kept; an existing key is replaced in place, a
// new key goes to the end of its section, a new section to the end of the
// file; each section is written "[name]", its entries, one empty line;
// comments, blank lines and blanks around "=" are not kept; CR LF. The file
// keeps the encoding it was read in (with its mark); an unmarked or new file
// is written as CP932, unless it then holds text CP932 cannot represent, in
// which case it is written as UTF-8 with a mark so that no text is lost.

#include "settings/expected.h"
#include "settings/text_file.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace mekuri {

class IniFile {
public:
    struct Entry {
        bool hasKey = false;
        QString key;    // trimmed; empty for keyless entries
        QString value;  // trimmed value, or the whole line for keyless entries
    };
    struct Section {
        QString name;
        QVector<Entry> entries;
    };

    IniFile() = default;

    // Parses text already decoded; encoding is what a save writes back.
    static IniFile parse(const QString& text, TextEncoding encoding = TextEncoding::Cp932);

    // Loads path. A missing file is an empty CP932 file, not an error; a file
    // that exists but cannot be read is an error. A file with bytes that are
    // not valid in its encoding loads (its readable settings count), but
    // refuses to be saved over: writing the decoded text back would replace
    // those bytes with different ones.
    static Expected<IniFile> load(const QString& path);

    // As load, but any failure gives an empty file (reads fall back to defaults).
    static IniFile loadOrEmpty(const QString& path);

    // nullopt when the section or key does not occur (an empty value is "").
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Text read: the value after the first "=", or def when absent.
    QString readString(const QString& section, const QString& key, const QString& def) const;
    // Integer read: "0x"/"0X" + hex (at least three characters) or decimal
    // with optional sign within 32 bits; anything else gives def.
    int readInteger(const QString& section, const QString& key, int def) const;
    // Flag read: an integer, non-zero is on; unreadable gives def.
    bool readBool(const QString& section, const QString& key, bool def) const;
    // Decimal number with "." as the point; unreadable gives def.
    double readFloat(const QString& section, const QString& key, double def) const;

    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    // General form, at most 15 significant digits, "." as the point.
    void writeFloat(const QString& section, const QString& key, double value);

    // Removes the first entry with that key; nothing when absent.
    void deleteKey(const QString& section, const QString& key);

    // Whether the section occurs (even with no entries).
    bool hasSection(const QString& section) const;
    // Number of entries (keyed and keyless) in the section; 0 when absent.
    int entryCount(const QString& section) const;
    // The section's entries as "key=value" lines (keyless entries as they
    // are), in file order; empty when absent.
    QStringList sectionLines(const QString& section) const;

    const QVector<Section>& sections() const { return m_sections; }
    TextEncoding encoding() const { return m_encoding; }
    void setEncoding(TextEncoding encoding) { m_encoding = encoding; }

    // The text as it is written (CR LF, one empty line after each section).
    QString toText() const;
    // The bytes as they are written, in the file's encoding (or UTF-8 with a
    // mark when CP932 cannot hold the text).
    QByteArray toBytes() const;
    // Writes the whole file atomically; on failure the old file is intact.
    // Refused, with the file untouched, when it was loaded with invalid bytes.
    Status save(const QString& path) const;
    // Whether load met bytes its encoding does not define.
    bool hadInvalidBytes() const { return m_hadInvalidBytes; }

    // Integer spelling of the reading rules, exposed for the holiday table
    // and tests.
    static std::optional<int> parseInteger(const QString& text);
    static QString formatFloat(double value);

private:
    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;
    Entry* findEntry(const QString& section, const QString& key);

    QVector<Section> m_sections;
    TextEncoding m_encoding = TextEncoding::Cp932;
    bool m_hadInvalidBytes = false;
};

// The access pattern of every settings change: load the whole file, let
// change set its values, write the whole file back at once.
template <typename Change>
Status changeIniFile(const QString& path, Change&& change) {
    Expected<IniFile> ini = IniFile::load(path);
    if (!ini.ok()) return Error{ini.error()};
    change(ini.value());
    return ini.value().save(path);
}

}  // namespace mekuri
