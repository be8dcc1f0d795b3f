// The colour-file reader: any bytes either fail and leave the state alone,
// or give a state that writes and reads back unchanged.

#include "fuzz_target.h"

#include "settings/color_file.h"

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
    FUZZ_CHECK(again == state);
    return 0;
}
