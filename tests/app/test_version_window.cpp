// The version window: loading the version library only for the moment of
// showing it, the two warnings, and what the library's window shows.
#include "app/version_window.h"

#include "platform/dialogs.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace mekuri {
namespace {

// Records the messages; every prompt is unexpected here.
class RecordingDialogs : public DialogService {
public:
    QStringList warnings;
    int others = 0;

    void warning(const QString& text) override { warnings.append(text); }
    void information(const QString&) override { ++others; }
    void error(const QString&) override { ++others; }
    Answer confirm(const QString&, bool, MessageIcon) override { ++others; return Answer::No; }
    std::optional<QString> inputQuery(const QString&, const QString&, const QString&) override {
        ++others;
        return std::nullopt;
    }
    bool chooseColor(ColorDialogState&) override { ++others; return false; }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override {
        ++others;
        return std::nullopt;
    }
    std::optional<QString> saveFile(const QString&, const QString&, const QString&,
                                    const QString&) override {
        ++others;
        return std::nullopt;
    }
};

// Whether a shared object with this file is mapped into the process now.
bool isMapped(const QString& libraryPath) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly)) return false;
    const QByteArray wanted = QFileInfo(libraryPath).canonicalFilePath().toUtf8();
    return maps.readAll().contains(wanted);
}

class VersionWindowTest : public ::testing::Test {
protected:
    void SetUp() override { setDialogServiceForTesting(&m_dialogs); }
    void TearDown() override { setDialogServiceForTesting(nullptr); }

    RecordingDialogs m_dialogs;
    test::TempProgramDir m_dir;
};

TEST_F(VersionWindowTest, LibraryFileNameIsThePlatformsName) {
#if defined(Q_OS_WIN)
    EXPECT_EQ(versionLibraryFileName(), QStringLiteral("aboutwin.dll"));
#else
    EXPECT_EQ(versionLibraryFileName(), QStringLiteral("libaboutwin.so"));
#endif
    EXPECT_EQ(QFileInfo(QStringLiteral(MEKURI_ABOUTWIN_LIBRARY)).fileName(), versionLibraryFileName());
}

TEST_F(VersionWindowTest, MissingOrUnloadableLibraryWarnsWithItsName) {
    struct Case {
        const char* name;
        QByteArray bytes;  // empty: no file at all
    } cases[] = {
        {"no file", {}},
        {"not a library", QByteArray("this is not a shared library\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_dialogs.warnings.clear();
        const QString path = m_dir.path(versionLibraryFileName());
        QFile::remove(path);
        if (!c.bytes.isEmpty()) m_dir.write(versionLibraryFileName(), c.bytes);
        showVersionWindow(nullptr, path);
        ASSERT_EQ(m_dialogs.warnings.size(), 1);
        EXPECT_EQ(m_dialogs.warnings[0], versionLibraryFileName() + QStringLiteral(" が見つかりません"));
        EXPECT_EQ(m_dialogs.others, 0);
    }
}

TEST_F(VersionWindowTest, LibraryWithoutFormViewWarnsAndIsUnloaded) {
    const QString path = m_dir.path(versionLibraryFileName());
    QFile::copy(QStringLiteral(MEKURI_NO_FORMVIEW_LIBRARY), path);
    showVersionWindow(nullptr, path);
    ASSERT_EQ(m_dialogs.warnings.size(), 1);
    EXPECT_EQ(m_dialogs.warnings[0], QStringLiteral("DLL内の関数が見つかりません"));
    EXPECT_FALSE(isMapped(path));
}

TEST_F(VersionWindowTest, TextsHandedToTheLibrary) {
    EXPECT_EQ(versionProductLine(), QStringLiteral("製品名　ﾎﾟﾛﾝのあなたに合わせたｶﾚﾝﾀﾞｰ"));
    EXPECT_EQ(versionText(), QStringLiteral("３．７０"));
    EXPECT_EQ(versionYears(), QStringLiteral("2000-2019"));
}

// The real library shows a modal window over the owner with the three texts,
// whatever nickname the owner's caption carries, and is gone afterwards.
TEST_F(VersionWindowTest, RealLibraryShowsTheVersionTextsModallyOverTheOwner) {
    const QString path = m_dir.path(versionLibraryFileName());
    ASSERT_TRUE(QFile::copy(QStringLiteral(MEKURI_ABOUTWIN_LIBRARY), path));
    QWidget owner;
    owner.setWindowTitle(QStringLiteral("わたしのカレンダー"));
    owner.show();

    QStringList shown;
    QWidget* shownParent = nullptr;
    bool wasModal = false;
    bool mappedWhileShown = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        wasModal = true;
        mappedWhileShown = isMapped(path);
        shownParent = dialog->parentWidget();
        for (QLabel* label : dialog->findChildren<QLabel*>()) shown.append(label->text());
        if (auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("BTN_OK"))) ok->click();
    });
    showVersionWindow(&owner, path);

    EXPECT_TRUE(m_dialogs.warnings.isEmpty());
    ASSERT_TRUE(wasModal);
    EXPECT_TRUE(mappedWhileShown);
    EXPECT_EQ(shownParent, &owner);
    const QString all = shown.join(u'\n');
    EXPECT_TRUE(shown.contains(versionProductLine())) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("３．７０"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("2000-2019"))) << all.toStdString();
    EXPECT_FALSE(all.contains(QStringLiteral("わたしのカレンダー")));
    EXPECT_FALSE(isMapped(path));
}

// A caller that does not pass the agreed code gets no window (and no hang).
TEST_F(VersionWindowTest, LibraryIgnoresAForeignCode) {
    QLibrary library(QStringLiteral(MEKURI_ABOUTWIN_LIBRARY));
    ASSERT_TRUE(library.load());
    auto formView = reinterpret_cast<void (*)(void*, std::int32_t, const char16_t*, const char16_t*,
                                              const char16_t*, const char16_t*)>(
        library.resolve("FormView"));
    ASSERT_NE(formView, nullptr);
    bool appeared = false;
    QTimer::singleShot(0, [&] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            appeared = true;
            w->close();
        }
    });
    const char16_t text[] = u"x";
    formView(nullptr, 1, text, text, text, text);
    QApplication::processEvents();
    EXPECT_FALSE(appeared);
    library.unload();
}

}  // namespace
}  // namespace mekuri
