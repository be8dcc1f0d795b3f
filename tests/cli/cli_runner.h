#pragma once

// Runs mekuri-cli as a program for the CLI tests.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

namespace mekuri::test {

struct CliRun {
    int code = -1;       // exit code, -1 when the tool crashed or hung
    QString out;         // stdout as UTF-8 text
    QByteArray outBytes; // stdout as it came (holiday files are CP932)
    QString err;
};

inline CliRun runMekuriCli(const QStringList& args, int timeoutMs = 120000) {
    // A runtime folder of its own keeps Qt's note about a missing one out of
    // the stderr the tests read.
    static QTemporaryDir runtimeDir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(MEKURI_CLI), args);
    EXPECT_TRUE(p.waitForFinished(timeoutMs));
    CliRun r;
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.outBytes = p.readAllStandardOutput();
    r.out = QString::fromUtf8(r.outBytes);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

}  // namespace mekuri::test
