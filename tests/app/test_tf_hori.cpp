// The holiday text editor window: its form, and how it closes.
#include "app/tf_hori.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace mekuri {
namespace {

TEST(TfHori, FormAsDesigned) {
    TF_HORI w;
    EXPECT_EQ(w.windowTitle(), QStringLiteral("休日変更"));
    EXPECT_EQ(w.size(), QSize(579, 458));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    ASSERT_EQ(w.findChild<QPlainTextEdit*>(QStringLiteral("Memo1")), w.Memo1);
    EXPECT_EQ(w.Memo1->geometry(), QRect(8, 8, 561, 409));
    EXPECT_EQ(w.Memo1->font().family(), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(w.Memo1->font().pixelSize(), 16);
    EXPECT_EQ(w.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(w.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    ASSERT_EQ(w.findChild<QPushButton*>(QStringLiteral("OKBtn")), w.OKBtn);
    ASSERT_EQ(w.findChild<QPushButton*>(QStringLiteral("CancelBtn")), w.CancelBtn);
    EXPECT_EQ(w.OKBtn->text(), QStringLiteral("保存"));
    EXPECT_EQ(w.CancelBtn->text(), QStringLiteral("キャンセル"));
    EXPECT_TRUE(w.CancelBtn->isDefault());
    EXPECT_FALSE(w.OKBtn->isDefault());
    for (QWidget* child : {static_cast<QWidget*>(w.Memo1), static_cast<QWidget*>(w.OKBtn),
                           static_cast<QWidget*>(w.CancelBtn)}) {
        EXPECT_TRUE(QRect(QPoint(0, 0), w.size()).contains(child->geometry()))
            << child->objectName().toStdString();
    }
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((w.geometry().center() - screenCentre).manhattanLength(), 2);
}

TEST(TfHori, TextRoundTrips) {
    TF_HORI w;
    const QString text = QStringLiteral("[HORIDAY]\n1=1,2,3,0\n; 元日～三が日");
    w.setText(text);
    EXPECT_EQ(w.text(), text);
}

// Runs the window modally; once it is up, act() presses keys or buttons.
// Returns the result and the widget that had the focus when it came up.
struct ModalRun {
    int result = -1;
    QWidget* focusAtOpen = nullptr;
};
template <typename Act>
ModalRun runModal(TF_HORI& w, Act act) {
    ModalRun run;
    QTimer::singleShot(0, &w, [&] {
        run.focusAtOpen = w.focusWidget();
        act();
    });
    run.result = w.exec();
    return run;
}

TEST(TfHori, CancelHasTheFocusAtOpenAndIsFirstInTabOrder) {
    TF_HORI w;
    w.setText(QStringLiteral("[HORIDAY]"));
    const ModalRun run = runModal(w, [&] { w.reject(); });
    EXPECT_EQ(run.focusAtOpen, w.CancelBtn);
    // Tab from Cancel goes on through the rest and comes back to it.
    EXPECT_EQ(w.nextInFocusChain(), w.CancelBtn);
    EXPECT_EQ(w.CancelBtn->nextInFocusChain(), w.Memo1);
}

TEST(TfHori, HowTheWindowCloses) {
    struct Case {
        const char* name;
        int key;         // a key pressed on the focused widget, or 0
        bool clickOk;    // else click OK
        int result;
    } cases[] = {
        {"Esc is Cancel", Qt::Key_Escape, false, QDialog::Rejected},
        {"Enter presses the default Cancel", Qt::Key_Return, false, QDialog::Rejected},
        {"OK saves", 0, true, QDialog::Accepted},
        {"Cancel button", 0, false, QDialog::Rejected},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TF_HORI w;
        const ModalRun run = runModal(w, [&] {
            if (c.key) {
                QTest::keyClick(w.focusWidget(), Qt::Key(c.key));
            } else if (c.clickOk) {
                QTest::mouseClick(w.OKBtn, Qt::LeftButton);
            } else {
                QTest::mouseClick(w.CancelBtn, Qt::LeftButton);
            }
            if (w.isVisible()) w.done(-2);  // the key did nothing
        });
        EXPECT_EQ(run.result, c.result);
    }
}

}  // namespace
}  // namespace mekuri
