#include "platform/dialogs.h"

#include "platform/qt_dialogs.h"

namespace mekuri {

namespace {
DialogService* g_override = nullptr;
}

QString applicationTitle() {
    return QStringLiteral("ﾎﾟﾛﾝのあなたに合わせたｶﾚﾝﾀﾞｰ");
}

DialogService& dialogs() {
    if (g_override) return *g_override;
    static QtDialogService real;
    return real;
}

void setDialogServiceForTesting(DialogService* service) { g_override = service; }

QString toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        out.append(parts[i] + QStringLiteral(" (") + patterns + u')');
    }
    return out.join(QStringLiteral(";;"));
}

}  // namespace mekuri
