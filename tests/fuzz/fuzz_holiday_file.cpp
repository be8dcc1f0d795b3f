// The holiday-file loader: the file's bytes through the INI reader into the
// holiday table, and the bold-day masks the calendar asks for.

#include "fuzz_target.h"

#include "holidays/holiday_table.h"
#include "settings/ini_file.h"
#include "settings/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mekuri;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const DecodedText decoded = decodeText(bytes);
    const IniFile ini = IniFile::parse(decoded.text, decoded.encoding);
    const HolidayLoad load = loadHolidayTable(ini);
    FUZZ_CHECK(load.table.slotCount == 4 || load.table.slotCount == 10);
    if (load.fault) {
        FUZZ_CHECK(load.fault->month >= 1 && load.fault->month <= 12);
        FUZZ_CHECK(!load.fault->reason.isEmpty());
    }
    for (int month = 1; month <= 13; ++month) (void)load.table.boldMask(month);
    for (int month = 1; month <= 12; ++month) {
        (void)splitCommaText(ini.readString(QStringLiteral("HORIDAY"), QString::number(month), {}));
    }
    return 0;
}
