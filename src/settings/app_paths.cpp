#include "settings/app_paths.h"

#include <QCoreApplication>
#include <QDir>

namespace mekuri {

AppPaths AppPaths::fromFolder(const QString& folder) {
    QString dir = QDir::toNativeSeparators(folder);
    while (dir.size() > 1 && (dir.endsWith(u'/') || dir.endsWith(u'\\'))) dir.chop(1);
    if (dir.endsWith(u'/') || dir.endsWith(u'\\')) return AppPaths{dir};  // the root itself
    return AppPaths{dir + QDir::separator()};
}

AppPaths AppPaths::fromExecutable() {
    return fromFolder(QCoreApplication::applicationDirPath());
}

}  // namespace mekuri
