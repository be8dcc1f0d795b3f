// The My Calendar settings window: opening, closing writes, the picture
// checks of the preview button, the anniversary list and its year shift.
#include "mycal/tf_pv_set.h"

#include "../app/scripted_dialogs.h"
#include "mycal/radio_group.h"
#include "mycal/tf_prev.h"
#include "platform/month_calendar.h"
#include "settings/color_file.h"
#include "settings/ini_file.h"
#include "support/test_support.h"

#include "support/when_modal.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace mekuri;
using namespace mekuri::test;

namespace {

class SettingsWindowTest : public ::testing::Test {
protected:
    SettingsWindowTest() {
        dir.installAllShipped();
        window = std::make_unique<TF_PV_SET>(AppPaths::fromFolder(dir.dir()), colors, holidays);
        window->setPleaseWait([this](QWidget*) { ++pleaseWaitShown; });
    }
    IniFile ini() const { return IniFile::loadOrEmpty(dir.path(QStringLiteral("mkri.ini"))); }
    void writeIni(const QString& text) { dir.write(QStringLiteral("mkri.ini"), cp932(text)); }
    void selectLines(const QList<int>& rows) {
        window->ListBox1->clearSelection();
        for (int r : rows) window->ListBox1->item(r)->setSelected(true);
    }

    TempProgramDir dir;
    ColorDialogState colors;
    HolidayTable holidays;
    ScriptedDialogs dialogs;
    std::unique_ptr<TF_PV_SET> window;
    int pleaseWaitShown = 0;
};

TEST_F(SettingsWindowTest, FirstUseTicksThePictureAndWarnsThatThePictureIsMissing) {
    window->prepareOpening(QDate(2019, 5, 15));
    EXPECT_TRUE(window->CHK_PIC_DISP->isChecked());
    EXPECT_TRUE(window->BTN_PIC_OPEN->isEnabled());
    EXPECT_TRUE(window->CHK_FRAME->isChecked());
    EXPECT_TRUE(window->CHK_KINEN_ON->isChecked());
    EXPECT_EQ(window->RDO_YOUBI->itemIndex(), 0);
    EXPECT_EQ(window->ListBox1->count(), 0);
    EXPECT_EQ(window->MonthCalendar2->selectedDate(), QDate(2019, 5, 15));
    EXPECT_FALSE(window->LBL_NOW_PRINTER->text().isEmpty());
    if (qEnvironmentVariableIsSet("MEKURI_SETTINGS_PNG")) {
        window->show();
        QApplication::processEvents();
        window->grab().save(qEnvironmentVariable("MEKURI_SETTINGS_PNG"));
        window->hide();
    }

    window->BTN_PREClick();
    EXPECT_EQ(dialogs.texts(MessageIcon::Warning),
              QStringList{QStringLiteral("前回指定した画像が移動または削除されています。再度指定して下さい")});
    EXPECT_EQ(pleaseWaitShown, 0);
    EXPECT_FALSE(dir.exists(QStringLiteral("mkri.ini"))) << "opening and the refusal write nothing";
}

TEST_F(SettingsWindowTest, PictureSwitchEnablesItsControls) {
    window->prepareOpening(QDate(2019, 5, 15));
    window->CHK_PIC_DISP->setChecked(false);
    window->CHK_PIC_DISPClick();
    EXPECT_FALSE(window->BTN_PIC_OPEN->isEnabled());
    EXPECT_FALSE(window->RDO_JPG_QT->isEnabled());
}

TEST_F(SettingsWindowTest, CaptionNamesTheMonth) {
    const struct {
        QDate date;
        const char16_t* caption;
    } cases[] = {
        {QDate(2019, 5, 1), u"【 2019年5月 】のマイカレンダー作成設定画面"},
        {QDate(2087, 12, 31), u"【 2087年12月 】のマイカレンダー作成設定画面"},
    };
    for (const auto& c : cases) {
        window->prepareOpening(c.date);
        EXPECT_EQ(window->windowTitle(), QString::fromUtf16(c.caption));
    }
}

TEST_F(SettingsWindowTest, JpegExtensionsInAnyCaseAreDecodedAndThePreviewOpens) {
    const QByteArray photo = readFileBytes(testDataDir() + QStringLiteral("/pictures/photo.jpg"));
    const QImage expected(testDataDir() + QStringLiteral("/pictures/photo_full.ppm"));
    for (const QString name : {QStringLiteral("a.jpe"), QStringLiteral("b.Jpeg")}) {
        dir.write(name, photo);
        writeIni(QStringLiteral("[SETTEI]\r\nPicture=") + dir.path(name) + QStringLiteral("\r\n"));
        window->prepareOpening(QDate(2019, 5, 15));
        bool previewShown = false;
        whenModal<TF_PREV>([&](TF_PREV& preview) {
            previewShown = true;
            EXPECT_EQ(preview.pageInputs().picture.size(), expected.size());
            preview.close();
        });
        window->BTN_PREClick();
        EXPECT_TRUE(previewShown) << name.toStdString();
        EXPECT_EQ(window->pagePicture().size(), expected.size()) << name.toStdString();
    }
    EXPECT_EQ(pleaseWaitShown, 2);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsWindowTest, PngLoadsNothingSoThePreviewAsksForAPicture) {
    dir.write(QStringLiteral("p.png"), readFileBytes(testDataDir() + QStringLiteral("/pictures/photo.jpg")));
    writeIni(QStringLiteral("[SETTEI]\r\nPicture=") + dir.path(QStringLiteral("p.png")) + QStringLiteral("\r\n"));
    window->prepareOpening(QDate(2019, 5, 15));
    window->BTN_PREClick();
    EXPECT_EQ(dialogs.texts(MessageIcon::Warning), QStringList{QStringLiteral("画像を指定して下さい")});
    EXPECT_EQ(pleaseWaitShown, 0);
}

TEST_F(SettingsWindowTest, CorruptJpegIsReportedAndTheWindowCarriesOn) {
    QByteArray bytes = readFileBytes(testDataDir() + QStringLiteral("/pictures/photo.jpg"));
    bytes.truncate(bytes.size() / 3);
    dir.write(QStringLiteral("bad.jpg"), bytes);
    writeIni(QStringLiteral("[SETTEI]\r\nPicture=") + dir.path(QStringLiteral("bad.jpg")) + QStringLiteral("\r\n"));
    window->prepareOpening(QDate(2019, 5, 15));
    // The button runs its handler through the standard error report.
    window->BTN_PRE->click();
    ASSERT_EQ(dialogs.texts(MessageIcon::Error).size(), 1u);
    EXPECT_EQ(pleaseWaitShown, 0);
    EXPECT_TRUE(window->pagePicture().isNull());
    // The window still works afterwards.
    window->BTN_TOUClick();
    EXPECT_EQ(window->ListBox1->count(), 1);
}

TEST_F(SettingsWindowTest, PictureSwitchedOffOpensThePreviewWithoutPleaseWait) {
    writeIni(QStringLiteral("[SETTEI]\r\nDisp=0\r\n"));
    window->prepareOpening(QDate(2019, 5, 15));
    bool previewShown = false;
    whenModal<TF_PREV>([&](TF_PREV& preview) {
        previewShown = true;
        preview.close();
    });
    window->BTN_PREClick();
    EXPECT_TRUE(previewShown);
    EXPECT_EQ(pleaseWaitShown, 0);
}

TEST_F(SettingsWindowTest, RegisteringADateTwiceIsRefused) {
    window->prepareOpening(QDate(2019, 5, 1));
    window->BTN_TOUClick();
    window->MonthCalendar2->setSelectedDate(QDate(2019, 4, 29));
    window->BTN_TOUClick();
    window->MonthCalendar2->setSelectedDate(QDate(2019, 5, 1));
    window->BTN_TOUClick();
    EXPECT_EQ(window->listLines(), (QStringList{QStringLiteral("2019/04/29"), QStringLiteral("2019/05/01")}))
        << "new lines go to the top, unsorted";
    EXPECT_EQ(dialogs.texts(MessageIcon::Warning), QStringList{QStringLiteral("2019/05/01 は既に登録済みです")});
}

TEST_F(SettingsWindowTest, AHundredLinesRefuseEvenANewDate) {
    QStringList lines;
    for (int i = 0; i < 100; ++i) lines.append(QDate(2000, 1, 1).addDays(i).toString(QStringLiteral("yyyy/MM/dd")));
    dir.write(QStringLiteral("mkrikils.txt"), cp932(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    window->prepareOpening(QDate(2019, 5, 1));
    ASSERT_EQ(window->ListBox1->count(), 100);
    window->BTN_TOUClick();
    EXPECT_EQ(window->ListBox1->count(), 100);
    EXPECT_EQ(dialogs.texts(MessageIcon::Warning), QStringList{QStringLiteral("登録は１００件までです")});
}

TEST_F(SettingsWindowTest, ListIsLoadedSorted) {
    dir.write(QStringLiteral("mkrikils.txt"), cp932(QStringLiteral("2020/01/02\r\n2019/12/31\r\n2020/01/01\r\n")));
    window->prepareOpening(QDate(2019, 5, 1));
    EXPECT_EQ(window->listLines(), (QStringList{QStringLiteral("2019/12/31"), QStringLiteral("2020/01/01"),
                                                QStringLiteral("2020/01/02")}));
}

TEST_F(SettingsWindowTest, YearShiftMovesSelectedLinesWithinTheSupportedYears) {
    const struct {
        const char* line;
        bool increment;
        const char* after;
        bool stillSelected;
    } cases[] = {
        {"2016/02/29", true, "2017/02/28", false},
        {"2016/02/29", false, "2015/02/28", false},
        {"2019/05/01", false, "2018/05/01", false},
        {"2087/06/01", true, "2087/06/01", true},
        {"1900/01/05", false, "1900/01/05", true},
    };
    for (const auto& c : cases) {
        dir.write(QStringLiteral("mkrikils.txt"), QByteArray(c.line) + "\r\n");
        window->prepareOpening(QDate(2019, 5, 1));
        selectLines({0});
        if (c.increment) window->POP_NEN_INCClick();
        else window->POP_NEN_DECClick();
        EXPECT_EQ(window->listLines(), QStringList{QString::fromLatin1(c.after)}) << c.line;
        EXPECT_EQ(window->ListBox1->item(0)->isSelected(), c.stillSelected) << c.line;
    }
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SettingsWindowTest, YearShiftLeavesUnselectedLinesAndNeedsASelection) {
    dir.write(QStringLiteral("mkrikils.txt"), "2019/01/01\r\n2019/02/01\r\n");
    window->prepareOpening(QDate(2019, 5, 1));
    window->ListBox1->clearSelection();
    window->POP_NEN_INCClick();
    window->POP_DELClick();
    EXPECT_EQ(dialogs.texts(MessageIcon::Warning),
              (QStringList{QStringLiteral("リストの項目を選択して下さい"), QStringLiteral("リストの項目を選択して下さい")}));
    selectLines({1});
    window->POP_NEN_INCClick();
    EXPECT_EQ(window->listLines(), (QStringList{QStringLiteral("2019/01/01"), QStringLiteral("2020/02/01")}));
    selectLines({0, 1});
    window->POP_DELClick();
    EXPECT_EQ(window->ListBox1->count(), 0);
}

TEST_F(SettingsWindowTest, YearShiftStopsAtALineThatIsNoShortDate) {
    dir.write(QStringLiteral("mkrikils.txt"), "2019/01/01\r\n2019/02/01x\r\n2019/03/01\r\n");
    window->prepareOpening(QDate(2019, 5, 1));
    selectLines({0, 1, 2});
    EXPECT_ANY_THROW(window->POP_NEN_INCClick());
    EXPECT_EQ(window->listLines().first(), QStringLiteral("2020/01/01")) << "lines above stay shifted";
    EXPECT_EQ(window->listLines().last(), QStringLiteral("2019/03/01")) << "lines below stay unchanged";
}

// Each way of closing the window stores the switches and the list.
TEST_F(SettingsWindowTest, EveryWayOfClosingStoresSwitchesAndList) {
    const struct {
        const char* name;
        std::function<void(TF_PV_SET&)> close;
        int result;
    } cases[] = {
        {"cancel", [](TF_PV_SET& w) { w.CancelBtn->click(); }, QDialog::Rejected},
        {"escape",
         [](TF_PV_SET& w) {
             QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QApplication::sendEvent(&w, &esc);
         },
         QDialog::Rejected},
        {"close box", [](TF_PV_SET& w) { w.close(); }, QDialog::Rejected},
        {"soft end", [](TF_PV_SET& w) { w.BTN_SUB_APP_END->click(); }, TF_PV_SET::mrSoftEnd},
    };
    for (const auto& c : cases) {
        dir.write(QStringLiteral("mkri.ini"), QByteArray());
        dir.write(QStringLiteral("mkrikils.txt"), QByteArray());
        whenModal<TF_PV_SET>([&](TF_PV_SET& w) {
            w.CHK_FRAME->setChecked(false);
            w.CHK_KINEN_ON->setChecked(false);
            w.RDO_YOUBI->setItemIndex(1);
            w.RDO_JPG_QT->setItemIndex(1);
            w.BTN_TOUClick();
            c.close(w);
        });
        EXPECT_EQ(window->openFor(QDate(2019, 5, 1)), c.result) << c.name;
        const IniFile stored = ini();
        EXPECT_EQ(stored.value(QStringLiteral("SETTEI"), QStringLiteral("Disp")), QStringLiteral("1")) << c.name;
        EXPECT_EQ(stored.value(QStringLiteral("SETTEI"), QStringLiteral("Frame")), QStringLiteral("0")) << c.name;
        EXPECT_EQ(stored.value(QStringLiteral("SETTEI"), QStringLiteral("KinenOn")), QStringLiteral("0")) << c.name;
        EXPECT_EQ(stored.value(QStringLiteral("SETTEI"), QStringLiteral("Youbi")), QStringLiteral("1")) << c.name;
        EXPECT_EQ(stored.value(QStringLiteral("SETTEI"), QStringLiteral("J_GASITU")), QStringLiteral("1")) << c.name;
        EXPECT_EQ(dir.read(QStringLiteral("mkrikils.txt")), QByteArray("2019/05/01\r\n")) << c.name;
    }
}

TEST_F(SettingsWindowTest, StoredRadioItemsAreBroughtIntoRange) {
    const struct {
        const char* stored;
        int selected;
        const char* writtenBack;
    } cases[] = {{"5", 1, "1"}, {"-3", -1, "-1"}, {"1", 1, "1"}, {"x", 0, "0"}};
    for (const auto& c : cases) {
        writeIni(QStringLiteral("[SETTEI]\r\nYoubi=%1\r\nJ_GASITU=%1\r\n").arg(QString::fromLatin1(c.stored)));
        window->prepareOpening(QDate(2019, 5, 1));
        EXPECT_EQ(window->RDO_YOUBI->itemIndex(), c.selected) << c.stored;
        EXPECT_EQ(window->RDO_JPG_QT->itemIndex(), c.selected) << c.stored;
        if (c.selected == 1) EXPECT_TRUE(window->RDO_YOUBI->button(1)->isChecked());
        EXPECT_EQ(window->pageInputs().weekdayNotation, c.selected) << c.stored;
        window->finishClosing();
        EXPECT_EQ(ini().value(QStringLiteral("SETTEI"), QStringLiteral("Youbi")), QString::fromLatin1(c.writtenBack));
        EXPECT_EQ(ini().value(QStringLiteral("SETTEI"), QStringLiteral("J_GASITU")), QString::fromLatin1(c.writtenBack));
    }
}

TEST_F(SettingsWindowTest, OpeningWithoutTheListFileFailsAndWritesNothing) {
    QFile::remove(dir.path(QStringLiteral("mkrikils.txt")));
    EXPECT_ANY_THROW(window->openFor(QDate(2019, 5, 1)));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(dir.exists(QStringLiteral("mkri.ini")));
    EXPECT_FALSE(dir.exists(QStringLiteral("mkrikils.txt")));
}

TEST_F(SettingsWindowTest, ChoosingAPictureStoresItAtOnceAndStartsInItsFolder) {
    window->prepareOpening(QDate(2019, 5, 1));
    const QString picture = dir.path(QStringLiteral("x.jpg"));
    dir.write(QStringLiteral("x.jpg"), "x");
    dialogs.openFileAnswers = {picture, std::nullopt};
    window->BTN_PIC_OPENClick();
    EXPECT_EQ(ini().readString(QStringLiteral("SETTEI"), QStringLiteral("Picture"), {}), picture);
    window->BTN_PIC_OPENClick();  // cancelled: unchanged
    ASSERT_EQ(dialogs.prompts.size(), 2u);
    EXPECT_EQ(dialogs.prompts[0].text, QStringLiteral("イメージファイル(JPEG/BMP)|*.jpeg;*.jpg;*.bmp"));
    EXPECT_EQ(QDir(dialogs.prompts[1].initial), QDir(dir.dir())) << "the chosen picture's folder";
    EXPECT_EQ(window->picturePath(), picture);
}

TEST_F(SettingsWindowTest, ResetWritesThePreviewDefaultsOnYesOnly) {
    writeIni(QStringLiteral("[Font]\r\nSize=50\r\n[SETTEI]\r\nPic_K=1\r\nSyuku=9\r\n"));
    window->prepareOpening(QDate(2019, 5, 1));
    dialogs.confirmAnswers = {Answer::No, Answer::Yes};
    window->BTN_SYOKIClick();
    EXPECT_EQ(ini().readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 0), 50);
    window->BTN_SYOKIClick();
    const IniFile stored = ini();
    EXPECT_EQ(stored.readInteger(QStringLiteral("Font"), QStringLiteral("Size"), 0), 13);
    EXPECT_EQ(stored.readInteger(QStringLiteral("SETTEI"), QStringLiteral("Syuku"), 0), 3);
    EXPECT_EQ(stored.readInteger(QStringLiteral("SETTEI"), QStringLiteral("Pic_K"), 0), 1) << "the format stays";
    EXPECT_EQ(stored.readInteger(QStringLiteral("SETTEI"), QStringLiteral("Modal_W"), 0), 1083);
    EXPECT_DOUBLE_EQ(stored.readFloat(QStringLiteral("SETTEI"), QStringLiteral("ZOOM_Hi"), 0), 0.5);
    EXPECT_EQ(dialogs.messages.at(0).text, QStringLiteral("プレビュー画面のカレンダー印刷の設定を初期値に戻しますか？"));
}

TEST_F(SettingsWindowTest, AnniversaryColourIsChosenAndStored) {
    window->prepareOpening(QDate(2019, 5, 1));
    dialogs.colorAnswers = {std::nullopt, 0x0000FF00u};
    window->BTN_KINEN_CLRClick();
    const QByteArray before = dir.read(QStringLiteral("mkrikinc.dat"));
    window->BTN_KINEN_CLRClick();
    EXPECT_EQ(window->anniversaryColor(), QColor(0, 255, 0));
    EXPECT_EQ(window->pageInputs().anniversaryColor, QColor(0, 255, 0));
    ColorDialogState reread;
    ASSERT_TRUE(ReadColorFile(dir.path(QStringLiteral("mkrikinc.dat")), reread).ok());
    EXPECT_EQ(reread.color, 0x0000FF00u);
    EXPECT_NE(dir.read(QStringLiteral("mkrikinc.dat")), before);
}

}  // namespace
