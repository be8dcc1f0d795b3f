// Replays stored fuzz inputs through a target without libFuzzer, so any
// compiler's build runs the seed corpora and the kept crash inputs: every
// argument is a file or a folder of files, each fed once.

#include "fuzz_target.h"

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace {

bool replayFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::fprintf(stderr, "replay %s (%lld bytes)\n", qPrintable(path), static_cast<long long>(bytes.size()));
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int count = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        const QFileInfo info(arg);
        if (info.isDir()) {
            QStringList files;
            QDirIterator it(arg, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) files.append(it.next());
            files.sort();
            for (const QString& f : files) {
                if (QFileInfo(f).fileName() == QLatin1String("README")) continue;
                ok = replayFile(f) && ok;
                ++count;
            }
        } else {
            ok = replayFile(arg) && ok;
            ++count;
        }
    }
    std::fprintf(stderr, "%d inputs replayed\n", count);
    return ok ? 0 : 1;
}
