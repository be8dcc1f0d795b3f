#include "settings/save_file.h"

#include "settings/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace mekuri {

namespace {

std::function<bool(const QString&)>& commitHook() {
    static std::function<bool(const QString&)> hook;
    return hook;
}

Error writeError(const QString& path, const QString& reason) {
    return Error{QStringLiteral("ファイル %1 に書き込めません。\n%2")
                     .arg(QDir::toNativeSeparators(path), reason)};
}

}  // namespace

void setCommitHookForTesting(std::function<bool(const QString& path)> hook) {
    commitHook() = std::move(hook);
}

Status writeFileAtomic(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    // A rename would replace a read-only file on Linux; the user marked it
    // read-only, so honour that as Windows does. The mode bits decide, not
    // access(): root may write anything, but a file without any write bit is
    // what a read-only attribute means here.
    constexpr QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (info.exists() && (!info.isWritable() || !(info.permissions() & anyWrite))) {
        return writeError(path, QStringLiteral("読み取り専用のファイルです。"));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return writeError(path, file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return writeError(path, reason);
    }
    if (commitHook() && !commitHook()(path)) {
        file.cancelWriting();
        file.commit();
        return writeError(path, QStringLiteral("ディスクに空きがありません。"));
    }
    if (!file.commit()) return writeError(path, file.errorString());
    return Status::success();
}

Status copyFileAtomic(const QString& source, const QString& target) {
    const Expected<QByteArray> bytes = readWholeFile(source);
    if (!bytes.ok()) return Error{bytes.error()};
    return writeFileAtomic(target, *bytes);
}

}  // namespace mekuri
