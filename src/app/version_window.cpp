#include "app/version_window.h"

#include "aboutwin/aboutwin.h"
#include "platform/dialogs.h"

#include <QFileInfo>
#include <QLibrary>
#include <QWidget>

#include <array>

namespace mekuri {

namespace {

using TextBuffer = std::array<char16_t, kAboutTextChars>;

// Zero-terminated, cut to the buffer and always terminated.
TextBuffer toBuffer(const QString& text) {
    TextBuffer buffer{};
    const qsizetype n = std::min<qsizetype>(text.size(), kAboutTextChars - 1);  // [0, 255]
    for (qsizetype i = 0; i < n; ++i) buffer[size_t(i)] = char16_t(text.at(i).unicode());
    return buffer;
}

}  // namespace

QString versionLibraryFileName() {
#if defined(Q_OS_WIN)
    return QStringLiteral("aboutwin.dll");
#else
    return QStringLiteral("libaboutwin.so");
#endif
}

QString versionProductLine() { return QStringLiteral("製品名　") + applicationTitle(); }
QString versionText() { return QStringLiteral("３．７０"); }
QString versionYears() { return QStringLiteral("2000-2019"); }

void showVersionWindow(QWidget* owner, const QString& libraryPath) {
    // An absolute file name keeps QLibrary from trying other names and
    // folders: only the library beside the program counts.
    QLibrary library(QFileInfo(libraryPath).absoluteFilePath());
    if (!QFileInfo::exists(libraryPath) || !library.load()) {
        dialogs().warning(versionLibraryFileName() + QStringLiteral(" が見つかりません"));
        return;
    }
    auto formView = reinterpret_cast<FormViewFunction>(library.resolve("FormView"));
    if (!formView) {
        dialogs().warning(QStringLiteral("DLL内の関数が見つかりません"));
        library.unload();
        return;
    }
    const TextBuffer product = toBuffer(versionProductLine());
    const TextBuffer version = toBuffer(versionText());
    const TextBuffer extra = toBuffer(QStringLiteral("HarukazeSoft"));
    const TextBuffer years = toBuffer(versionYears());
    void* handle = owner ? reinterpret_cast<void*>(owner->window()->winId()) : nullptr;
    formView(handle, kAboutCode, product.data(), version.data(), extra.data(), years.data());
    library.unload();
}

}  // namespace mekuri
