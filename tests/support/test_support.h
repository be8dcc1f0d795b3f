#pragma once

// Helpers shared by the tests: temporary program folders and file bytes.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace mekuri::test {

// A fresh temporary program folder; removed when the object goes.
class TempProgramDir {
public:
    TempProgramDir();
    // Folder path with a trailing "/".
    QString dir() const;
    QString path(const QString& name) const;
    // Copies a shipped file (from the source tree's data/ folder) into it.
    void installShipped(const QString& name) const;
    // Copies every shipped file into it.
    void installAllShipped() const;
    void write(const QString& name, const QByteArray& bytes) const;
    QByteArray read(const QString& name) const;
    bool exists(const QString& name) const;

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QByteArray readFileBytes(const QString& path);
void writeFileBytes(const QString& path, const QByteArray& bytes);
// Text in CP932 bytes (for building fixtures from readable source text).
QByteArray cp932(const QString& text);
// The shipped data folder of the source tree.
QString shippedDataDir();
// tests/data.
QString testDataDir();

}  // namespace mekuri::test
