#include "settings/ini_file.h"

#include "settings/save_file.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace mekuri {

IniFile IniFile::parse(const QString& text, TextEncoding encoding) {
    IniFile ini;
    ini.m_encoding = encoding;
    Section* current = nullptr;
    for (const QString& raw : splitLines(text)) {
        const QString line = trimControl(raw);
        if (line.isEmpty() || line.startsWith(u';')) continue;
        if (line.startsWith(u'[') && line.endsWith(u']') && line.size() >= 2) {
            const QString name = trimControl(line.mid(1, line.size() - 2));
            current = ini.findSection(name);
            if (!current) {
                ini.m_sections.append(Section{name, {}});
                current = &ini.m_sections.last();
            }
            continue;
        }
        if (!current) continue;
        Entry entry;
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0) {
            entry.hasKey = true;
            entry.key = trimControl(line.left(eq));
            entry.value = trimControl(line.mid(eq + 1));
        } else {
            entry.value = line;
        }
        current->entries.append(entry);
    }
    return ini;
}

Expected<IniFile> IniFile::load(const QString& path) {
    Expected<DecodedText> text = readTextFileOrEmpty(path);
    if (!text.ok()) return Error{text.error()};
    IniFile ini = parse(text->text, text->encoding);
    ini.m_hadInvalidBytes = text->hadInvalidBytes;
    return ini;
}

IniFile IniFile::loadOrEmpty(const QString& path) {
    Expected<IniFile> ini = load(path);
    return ini.ok() ? ini.value() : IniFile{};
}

IniFile::Section* IniFile::findSection(const QString& name) {
    for (Section& s : m_sections) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0) return &s;
    }
    return nullptr;
}

const IniFile::Section* IniFile::findSection(const QString& name) const {
    for (const Section& s : m_sections) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0) return &s;
    }
    return nullptr;
}

IniFile::Entry* IniFile::findEntry(const QString& section, const QString& key) {
    Section* s = findSection(section);
    if (!s) return nullptr;
    for (Entry& e : s->entries) {
        if (e.hasKey && e.key.compare(key, Qt::CaseInsensitive) == 0) return &e;
    }
    return nullptr;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    const Section* s = findSection(section);
    if (!s) return std::nullopt;
    for (const Entry& e : s->entries) {
        if (e.hasKey && e.key.compare(key, Qt::CaseInsensitive) == 0) return e.value;
    }
    return std::nullopt;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    return value(section, key).value_or(def);
}

std::optional<int> IniFile::parseInteger(const QString& text) {
    if (text.size() >= 3 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        // Hex digits only: Qt's own parser would also take blanks, a sign or
        // a second "0x".
        quint64 v = 0;
        for (qsizetype j = 2; j < text.size(); ++j) {
            const char16_t c = text[j].unicode();
            int digit = -1;
            if (c >= u'0' && c <= u'9') digit = c - u'0';
            else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
            else if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
            if (digit < 0) return std::nullopt;
            v = v * 16 + quint64(digit);
            // Read as a 32-bit two's-complement pattern: at most FFFFFFFF.
            if (v > 0xFFFFFFFFull) return std::nullopt;
        }
        return static_cast<int>(static_cast<quint32>(v));
    }
    if (text.isEmpty()) return std::nullopt;
    qsizetype i = 0;
    if (text[0] == u'+' || text[0] == u'-') i = 1;
    if (i >= text.size()) return std::nullopt;
    for (qsizetype j = i; j < text.size(); ++j) {
        if (text[j] < u'0' || text[j] > u'9') return std::nullopt;
    }
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok, 10);
    if (!ok || v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(v);
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const {
    const std::optional<QString> v = value(section, key);
    if (!v) return def;
    return parseInteger(*v).value_or(def);
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const {
    const std::optional<QString> v = value(section, key);
    if (!v) return def;
    const std::optional<int> n = parseInteger(*v);
    return n ? *n != 0 : def;
}

double IniFile::readFloat(const QString& section, const QString& key, double def) const {
    const std::optional<QString> v = value(section, key);
    if (!v || v->isEmpty()) return def;
    for (QChar c : *v) {
        // Only a plain decimal spelling; no blanks, no "inf"/"nan", no hex.
        if (!(c.isDigit() || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E')) return def;
    }
    bool ok = false;
    const double d = v->toDouble(&ok);
    return ok && std::isfinite(d) ? d : def;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    if (Entry* e = findEntry(section, key)) {
        e->value = value;
        return;
    }
    Section* s = findSection(section);
    if (!s) {
        m_sections.append(Section{section, {}});
        s = &m_sections.last();
    }
    s->entries.append(Entry{true, key, value});
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString IniFile::formatFloat(double value) {
    QString text = QString::number(value, 'g', 15);
    return text;
}

void IniFile::writeFloat(const QString& section, const QString& key, double value) {
    writeString(section, key, formatFloat(value));
}

void IniFile::deleteKey(const QString& section, const QString& key) {
    Section* s = findSection(section);
    if (!s) return;
    for (qsizetype i = 0; i < s->entries.size(); ++i) {
        const Entry& e = s->entries[i];
        if (e.hasKey && e.key.compare(key, Qt::CaseInsensitive) == 0) {
            s->entries.remove(i);
            return;
        }
    }
}

bool IniFile::hasSection(const QString& section) const {
    return findSection(section) != nullptr;
}

int IniFile::entryCount(const QString& section) const {
    const Section* s = findSection(section);
    return s ? int(s->entries.size()) : 0;
}

QStringList IniFile::sectionLines(const QString& section) const {
    QStringList lines;
    if (const Section* s = findSection(section)) {
        for (const Entry& e : s->entries) {
            lines.append(e.hasKey ? e.key + u'=' + e.value : e.value);
        }
    }
    return lines;
}

QString IniFile::toText() const {
    QString out;
    for (const Section& s : m_sections) {
        out += u'[' + s.name + QStringLiteral("]\r\n");
        for (const Entry& e : s.entries) {
            out += (e.hasKey ? e.key + u'=' + e.value : e.value) + QStringLiteral("\r\n");
        }
        out += QStringLiteral("\r\n");
    }
    return out;
}

QByteArray IniFile::toBytes() const {
    const QString text = toText();
    EncodedText encoded = encodeText(text, m_encoding);
    if (encoded.lossy) encoded = encodeText(text, TextEncoding::Utf8Bom);
    return encoded.bytes;
}

Status IniFile::save(const QString& path) const {
    if (m_hadInvalidBytes) {
        return Error{QStringLiteral("ファイル %1 に書き込めません。\n"
                                    "読めない文字が含まれているため、書き込むとその部分が別の文字に変わってしまいます。"
                                    "テキストエディターで直してからやり直して下さい。")
                         .arg(QDir::toNativeSeparators(path))};
    }
    return writeFileAtomic(path, toBytes());
}

}  // namespace mekuri
