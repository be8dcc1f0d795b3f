// The anniversary list "mkrikils.txt": each line read as a date text by the
// page drawing (ParseDateText) and as a short date by the year shift
// (ParseShortDate); whatever parses must write back as the same date.

#include "fuzz_target.h"

#include "dates/date_text.h"
#include "settings/text_file.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mekuri;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const DecodedText decoded = decodeText(bytes);
    const QStringList lines = splitLines(decoded.text);
    for (const QString& line : lines) {
        const std::optional<DateSerial> date = ParseDateText(line);
        // Era years of up to four digits reach past 9999, where the four-digit
        // written form ends; the round trip holds within it.
        if (date && date->civil().year <= 9999) {
            const QString written = FormatDateText(FMT_KINEN, *date);
            const std::optional<DateSerial> back = ParseDateText(written);
            if (!(back && *back == *date)) {
                std::fprintf(stderr, "line [%s] written [%s]\n", qPrintable(line), qPrintable(written));
            }
            FUZZ_CHECK(back && *back == *date);
            (void)FormatDateText(FMT_WAREKI_YOUBI, *date);
        }
        const Expected<DateSerial> shortDate = ParseShortDate(line);
        if (shortDate.ok()) {
            // The short form is one of the forms the general reader takes.
            const std::optional<DateSerial> general = ParseDateText(line);
            FUZZ_CHECK(general && *general == shortDate.value());
            const Expected<DateSerial> back = ParseShortDate(FormatDateText(FMT_SHORT, shortDate.value()));
            FUZZ_CHECK(back.ok() && back.value() == shortDate.value());
        } else {
            FUZZ_CHECK(!shortDate.error().isEmpty());
        }
    }
    return 0;
}
