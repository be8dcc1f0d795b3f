#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>

#include <stdexcept>

namespace mekuri::test {

TempProgramDir::TempProgramDir() : m_dir(std::make_unique<QTemporaryDir>()) {
    if (!m_dir->isValid()) throw std::runtime_error("cannot create a temporary folder");
}

QString TempProgramDir::dir() const { return m_dir->path() + u'/'; }
QString TempProgramDir::path(const QString& name) const { return dir() + name; }

void TempProgramDir::installShipped(const QString& name) const {
    writeFileBytes(path(name), readFileBytes(shippedDataDir() + u'/' + name));
}

void TempProgramDir::installAllShipped() const {
    const QDir data(shippedDataDir());
    for (const QString& name : data.entryList(QDir::Files)) {
        if (name == QStringLiteral("CMakeLists.txt")) continue;
        installShipped(name);
    }
}

void TempProgramDir::write(const QString& name, const QByteArray& bytes) const {
    writeFileBytes(path(name), bytes);
}

QByteArray TempProgramDir::read(const QString& name) const { return readFileBytes(path(name)); }
bool TempProgramDir::exists(const QString& name) const { return QFile::exists(path(name)); }

QByteArray readFileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
    return f.readAll();
}

void writeFileBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        throw std::runtime_error("cannot write " + path.toStdString());
    }
}

QByteArray cp932(const QString& text) {
    QStringEncoder enc("windows-31j");
    QByteArray out = enc.encode(text);
    if (enc.hasError()) throw std::runtime_error("text has no CP932 form");
    return out;
}

QString shippedDataDir() { return QStringLiteral(MEKURI_SOURCE_DIR "/data"); }
QString testDataDir() { return QStringLiteral(MEKURI_TEST_DATA_DIR); }

}  // namespace mekuri::test
