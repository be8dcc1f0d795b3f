// Saving the page as an image: the dialog's settings read, clamped and
// always written back, the height readout, the proposed name, the formats
// and what each way of closing does.
#include "mycal/tf_pic_save.h"

#include "../app/scripted_dialogs.h"
#include "dates/date_serial.h"
#include "dates/date_text.h"
#include "mycal/radio_group.h"
#include "settings/ini_file.h"
#include "support/test_support.h"

#include "support/when_modal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include <functional>

using namespace mekuri;
using namespace mekuri::test;

namespace {

class PicSaveTest : public ::testing::Test {
protected:
    PicSaveTest() : page(QSize(4760, 6814), 600, 600) {
        page.append(PageRectOp{QRect(0, 0, 2380, 3407), QPen(Qt::black), QBrush(Qt::black)});
    }
    IniFile ini() const { return IniFile::loadOrEmpty(dir.path(QStringLiteral("mkri.ini"))); }
    int stored(const char* key) const {
        return ini().readInteger(QStringLiteral("SETTEI"), QString::fromLatin1(key), -999);
    }
    void writeIni(const QString& text) { dir.write(QStringLiteral("mkri.ini"), cp932(text)); }
    void run(std::function<void(TF_PIC_SAVE&)> inDialog) {
        whenModal<TF_PIC_SAVE>(std::move(inDialog));
        savePageAsImage(nullptr, AppPaths::fromFolder(dir.dir()), page);
    }

    TempProgramDir dir;
    RecordedPage page;
    ScriptedDialogs dialogs;
};

TEST_F(PicSaveTest, DefaultsWithoutStoredSettingsAndCancelStoresThem) {
    run([](TF_PIC_SAVE& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("画像として保存"));
        EXPECT_EQ(d.size(), QSize(313, 245));
        EXPECT_EQ(d.RDO_KEI->itemIndex(), 0);
        EXPECT_EQ(d.TrackBar1->value(), 3);
        EXPECT_EQ(d.TrackBar1->minimum(), 1);
        EXPECT_EQ(d.TrackBar1->maximum(), 15);
        EXPECT_EQ(d.TrackBar1->pageStep(), 5);
        EXPECT_EQ(d.MOTO_PICW, 6814);
        EXPECT_EQ(d.LBL_POS->text(), QStringLiteral("2271"));
        EXPECT_EQ(d.OKBtn->text(), QStringLiteral("保存"));
        EXPECT_EQ(d.CancelBtn->text(), QStringLiteral("キャンセル"));
        EXPECT_EQ(d.focusWidget(), d.CancelBtn) << "CancelBtn first in the tab order";
        d.CancelBtn->click();
    });
    EXPECT_EQ(stored("Syuku"), 3);
    EXPECT_EQ(stored("Pic_K"), 0);
    EXPECT_TRUE(dialogs.prompts.empty());
}

TEST_F(PicSaveTest, SliderReadoutIsTheHeightDividedAndTruncated) {
    const struct {
        int position;
        const char* readout;
    } cases[] = {{1, "6814"}, {4, "1703"}, {15, "454"}};
    for (const auto& c : cases) {
        run([&](TF_PIC_SAVE& d) {
            d.TrackBar1->setValue(c.position);
            EXPECT_EQ(d.LBL_POS->text(), QString::fromLatin1(c.readout));
            d.reject();
        });
        EXPECT_EQ(stored("Syuku"), c.position);
    }
}

TEST_F(PicSaveTest, BitmapThenCancelStillStoresTheFormat) {
    run([](TF_PIC_SAVE& d) {
        d.RDO_KEI->setItemIndex(1);
        d.TrackBar1->setValue(7);
        d.CancelBtn->click();
    });
    EXPECT_EQ(stored("Pic_K"), 1);
    EXPECT_EQ(stored("Syuku"), 7);
}

TEST_F(PicSaveTest, EscapeAndTheCloseBoxCancel) {
    const std::function<void(TF_PIC_SAVE&)> ways[] = {
        [](TF_PIC_SAVE& d) {
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&d, &esc);
        },
        [](TF_PIC_SAVE& d) { d.close(); },
    };
    for (const auto& way : ways) {
        run(way);
        EXPECT_TRUE(dialogs.prompts.empty()) << "no save dialog";
        EXPECT_EQ(stored("Syuku"), 3);
    }
}

TEST_F(PicSaveTest, StoredValuesAreClamped) {
    const struct {
        const char* stored;
        int format;
        int divisor;
    } cases[] = {
        {"Pic_K=5\r\nSyuku=0", 1, 1},
        {"Pic_K=-2\r\nSyuku=99", -1, 15},
        {"Pic_K=1\r\nSyuku=x", 1, 3},
    };
    for (const auto& c : cases) {
        writeIni(QStringLiteral("[SETTEI]\r\n") + QString::fromLatin1(c.stored) + QStringLiteral("\r\n"));
        run([&](TF_PIC_SAVE& d) {
            EXPECT_EQ(d.RDO_KEI->itemIndex(), c.format) << c.stored;
            EXPECT_EQ(d.TrackBar1->value(), c.divisor) << c.stored;
            d.reject();
        });
        EXPECT_EQ(stored("Pic_K"), c.format) << c.stored;
        EXPECT_EQ(stored("Syuku"), c.divisor) << c.stored;
    }
}

TEST_F(PicSaveTest, NoFormatSelectedSavesJpegUnderTodaysName) {
    writeIni(QStringLiteral("[SETTEI]\r\nPic_K=-1\r\nSyuku=4\r\n"));
    const QString target = dir.path(QStringLiteral("out.jpg"));
    dialogs.saveFileAnswers = {target};
    run([](TF_PIC_SAVE& d) { d.OKBtn->click(); });
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    const auto& prompt = dialogs.prompts[0];
    EXPECT_EQ(prompt.text, QStringLiteral("JPEG イメージファイル (*.jpg)|*.jpg"));
    EXPECT_EQ(prompt.suffix, QStringLiteral("jpg"));
    EXPECT_EQ(prompt.initial, FormatDateText(FMT_FILE_DATE, DateSerial::today()));
    EXPECT_EQ(prompt.initial, QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    const QImage saved(target);
    EXPECT_EQ(saved.size(), QSize(1190, 1703));
    EXPECT_TRUE(dir.read(QStringLiteral("out.jpg")).startsWith("\xFF\xD8"));
    EXPECT_EQ(stored("Pic_K"), -1);
}

TEST_F(PicSaveTest, BitmapAtDivisorFourIs1703High) {
    const QString target = dir.path(QStringLiteral("out.bmp"));
    dialogs.saveFileAnswers = {target};
    run([](TF_PIC_SAVE& d) {
        d.RDO_KEI->setItemIndex(1);
        d.TrackBar1->setValue(4);
        d.OKBtn->click();
    });
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_EQ(dialogs.prompts[0].text, QStringLiteral("ビットマップ (*.bmp)|*.bmp"));
    EXPECT_EQ(dialogs.prompts[0].suffix, QStringLiteral("bmp"));
    const QImage saved(target);
    ASSERT_EQ(saved.size(), QSize(1190, 1703));
    EXPECT_EQ(saved.pixelColor(100, 100), QColor(Qt::black));
    EXPECT_EQ(saved.pixelColor(1000, 1600), QColor(Qt::white));
}

TEST_F(PicSaveTest, CancelledSaveDialogWritesNoFile) {
    dialogs.saveFileAnswers = {std::nullopt};
    run([](TF_PIC_SAVE& d) { d.OKBtn->click(); });
    EXPECT_EQ(QDir(dir.dir()).entryList(QDir::Files), QStringList{QStringLiteral("mkri.ini")});
    EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
