#include "platform/command_guard.h"

#include "platform/dialogs.h"

namespace mekuri {

void throwIfFailed(const Status& status) {
    if (!status.ok()) throw CommandError(status.error());
}

bool runCommand(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (const CommandError& e) {
        dialogs().error(e.message());
    } catch (const std::bad_alloc&) {
        dialogs().error(QStringLiteral("メモリが不足しています。"));
    } catch (const std::exception& e) {
        dialogs().error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

}  // namespace mekuri
