// The colour-file reader: any bytes either fail and leave the state alone,
// or give a state that writes and reads back unchanged.

#include "fuzz_target.h"

#include "settings/color_file.h"

#include <cstdio>

namespace {

void dump(const char* label, const mekuri::ColorDialogState& s) {
    std::fprintf(stderr, "%s: color %08x left %d top %d options [%s] custom [%s]\n", label, s.color, s.left, s.top,
                 qPrintable(s.options.join(u',')), qPrintable(s.customColors.join(u'|').toUtf8().toHex(' ')));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace mekuri;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    ColorDialogState state;
    state.color = 0x00123456;
    const ColorDialogState before = state;
    const Status status = parseColorFile(bytes, state);
    if (!status.ok()) {
        FUZZ_CHECK(state == before);
        FUZZ_CHECK(!status.error().isEmpty());
        return 0;
    }
    (void)colorIdentifier(state.color);
    ColorDialogState again = before;
    FUZZ_CHECK(parseColorFile(serializeColorFile(state), again).ok());
    // Options are a set: the writer puts them in declaration order.
    QStringList options = state.options;
    options.sort();
    again.options.sort();
    FUZZ_CHECK(again.options == options);
    again.options = state.options;
    if (!(again == state)) {
        dump("read", state);
        dump("reread", again);
    }
    FUZZ_CHECK(again == state);
    return 0;
}
