// The settings-file reader: bytes as they come from disk, through the
// encoding detection and the INI rules, then every read and a save.

#include "fuzz_target.h"

#include "settings/ini_file.h"
#include "settings/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mekuri;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const DecodedText decoded = decodeText(bytes);
    IniFile ini = IniFile::parse(decoded.text, decoded.encoding);

    for (const IniFile::Section& s : ini.sections()) {
        for (const IniFile::Entry& e : s.entries) {
            if (!e.hasKey) continue;
            (void)ini.readInteger(s.name, e.key, 7);
            (void)ini.readBool(s.name, e.key, true);
            (void)ini.readFloat(s.name, e.key, 0.5);
            FUZZ_CHECK(ini.value(s.name, e.key).has_value());
        }
        (void)ini.sectionLines(s.name);
    }

    // What a save writes must read back as the same file: otherwise every
    // save would change the settings a little more.
    const QString text = ini.toText();
    const QByteArray written = ini.toBytes();
    const DecodedText reread = decodeText(written);
    FUZZ_CHECK(!reread.hadInvalidBytes);
    FUZZ_CHECK(reread.text == text);
    FUZZ_CHECK(IniFile::parse(reread.text, reread.encoding).toText() == text);

    // A change on top of what was read keeps the rest.
    ini.writeString(QStringLiteral("MAIN"), QStringLiteral("Top"), QStringLiteral("〜¥"));
    const IniFile changed = IniFile::parse(decodeText(ini.toBytes()).text);
    FUZZ_CHECK(changed.readString(QStringLiteral("MAIN"), QStringLiteral("Top"), {}) == QStringLiteral("〜¥"));
    return 0;
}
