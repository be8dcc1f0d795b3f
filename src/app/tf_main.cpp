#include "app/tf_main.h"

#include "platform/app_identity.h"
#include "platform/command_guard.h"
#include "platform/dialogs.h"
#include "platform/month_calendar.h"
#include "platform/system_colors.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <functional>

namespace mekuri {

namespace {

const char* const kHintProperty = "mekuriHint";

QFont windowFont() {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    return font;
}

QFont calendarFont() {
    QFont font(QStringLiteral("MS UI Gothic"));
    font.setPixelSize(15);
    return font;
}

QString automaticRestoreWarning() {
    return QStringLiteral(
        "休日の設定に間違いがあったようです\n\n"
        "このまま自動復旧処理を行い、そのまま終了します\n\n"
        "ただし、休日は出荷時の値に設定されます\n\n"
        "お手数ですが、ソフトを再起動して下さい");
}

QString menuDisplayNote() { return QStringLiteral("ﾒﾆｭｰの表示はｿﾌﾄ内を右ｸﾘｯｸ"); }

}  // namespace

TF_MAIN::TF_MAIN(const AppPaths& paths, QWidget* parent) : QMainWindow(parent), m_paths(paths) {
    setObjectName(QStringLiteral("F_MAIN"));
    buildControls();
    buildMenus();
    buildToolBar();

    setUpDatesFeature();
    setUpHolidaysFeature();
    setUpHolidayYearFeature();
    setUpBookmarksFeature();
    setUpAppearanceFeature();
    setUpPrintFeature();
    setUpMyCalFeature();

    FormCreate();
}

TF_MAIN::~TF_MAIN() = default;

// ---- building ----

void TF_MAIN::buildControls() {
    setFont(windowFont());
    setContextMenuPolicy(Qt::DefaultContextMenu);

    m_calendar = new MonthCalendar(this);
    m_calendar->setObjectName(QStringLiteral("MonthCalendar1"));
    m_calendar->setFont(calendarFont());
    m_calendar->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_calendar->setWeekNumbers(true);
    m_calendar->setDateRange(QDate(1900, 1, 1), QDate(2087, 12, 31));
    m_calendar->setColor(MonthCalendar::Background, colorFromValue(kClWhite));
    m_calendar->setColor(MonthCalendar::MonthBackground, colorFromValue(kClInfoBk));
    m_calendar->setColor(MonthCalendar::Text, colorFromValue(kClWindowText));
    m_calendar->setColor(MonthCalendar::TitleBackground, colorFromValue(kClActiveCaption));
    m_calendar->setColor(MonthCalendar::TitleText, colorFromValue(kClWhite));
    m_calendar->setColor(MonthCalendar::TrailingText, colorFromValue(kClInactiveCaptionText));
    m_calendar->setMonthInfoHandler(
        [this](int month) { return MonthCalendar1GetMonthInfo(month); });
    setCentralWidget(m_calendar);

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("StatusBar1"));
    m_statusBar->setFixedHeight(21);
    m_statusBar->setAutoFillBackground(true);
    m_statusPanel = new QLabel(m_statusBar);
    m_statusPanel->setObjectName(QStringLiteral("StatusBar1_Panel0"));
    m_statusPanel->setTextFormat(Qt::PlainText);
    // The panel is sunk into the bar like the native status panel.
    m_statusPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_statusPanel->setIndent(2);
    // A long readout must not widen the window: the panel just clips.
    m_statusPanel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    m_statusPanel->setMinimumWidth(1);
    m_statusBar->addWidget(m_statusPanel, 1);
    setStatusBar(m_statusBar);
    setBodyColor(colorFromValue(kClBtnFace));
}

QAction* TF_MAIN::addEntry(QMenu* menu, const char* objectName, const QString& caption,
                           const QString& hint) {
    auto* entry = new QAction(caption, menu);
    entry->setObjectName(QString::fromLatin1(objectName));
    setHint(entry, hint);
    menu->addAction(entry);
    return entry;
}

void TF_MAIN::buildMenus() {
    // Captions are shown exactly as set: none carries an "&" mnemonic.
    m_editMenu = new QMenu(this);
    m_editMenu->setObjectName(QStringLiteral("POP_EDIT_MN"));
    QAction* menuDisplay = addEntry(m_editMenu, "POP_MENU", QStringLiteral("メニューの表示"),
                                    QStringLiteral("メニュー表示のON/OFFです"));
    menuDisplay->setCheckable(true);
    menuDisplay->setChecked(true);
    m_editMenu->addSeparator();
    addEntry(m_editMenu, "POP_TODAY", QStringLiteral("今日"), QStringLiteral("今日の日付へジャンプ"));
    addEntry(m_editMenu, "POP_SHITEI", QStringLiteral("日付指定..."), QStringLiteral("指定日へジャンプ"));
    addEntry(m_editMenu, "POP_KEIKA", QStringLiteral("日付指定２..."));
    addEntry(m_editMenu, "POP_HEISEI", QStringLiteral("平成換算"),
             QStringLiteral("平成でいえば何年かを表示します"));
    addEntry(m_editMenu, "POP_SYOUWA", QStringLiteral("昭和換算"),
             QStringLiteral("昭和でいえば何年かを表示します"));
    m_editMenu->addSeparator();
    addEntry(m_editMenu, "POP_WASEI", QStringLiteral("和暦→西暦..."),
             QStringLiteral("入力した和暦を西暦に変換"));
    addEntry(m_editMenu, "POP_SEIWA", QStringLiteral("西暦→和暦"));
    m_editMenu->addSeparator();
    addEntry(m_editMenu, "POP_COPY_WAREKI", QStringLiteral("和暦コピー"),
             QStringLiteral("和暦としてクリップボードへコピー"))
        ->setData(100);
    addEntry(m_editMenu, "POP_COPY_WA2", QStringLiteral("和暦コピー　曜日付"),
             QStringLiteral("曜日付の和暦としてクリップボードへコピー"))
        ->setData(200);
    addEntry(m_editMenu, "POP_COPY_SEIREKI", QStringLiteral("西暦コピー"),
             QStringLiteral("西暦としてクリップボードへコピー"))
        ->setData(300);
    addEntry(m_editMenu, "POP_COPY_SE2", QStringLiteral("西暦コピー　曜日付"),
             QStringLiteral("曜日付の西暦としてクリップボードへコピー"))
        ->setData(400);
    m_editMenu->addSeparator();
    addEntry(m_editMenu, "POP_INREKI", QStringLiteral("陰暦"), QStringLiteral("陰暦での別名"));
    m_editMenu->addSeparator();
    addEntry(m_editMenu, "POP_MYCALEN", QStringLiteral("マイカレンダー作成..."));
    addEntry(m_editMenu, "POP_PRINT", QStringLiteral("そのまま印刷..."),
             QStringLiteral("カレンダーを印刷します"));
    m_editMenu->addSeparator();
    addEntry(m_editMenu, "POP_END", QStringLiteral("終了"));

    m_setteiMenu = new QMenu(this);
    m_setteiMenu->setObjectName(QStringLiteral("POP_SETTEI_MN"));
    QAction* kaishiAdd =
        addEntry(m_setteiMenu, "POP_KAISHI_ADD", QStringLiteral("日数計算で開始日を含める"));
    kaishiAdd->setCheckable(true);
    m_setteiMenu->addSeparator();

    auto* colorMenu = new QMenu(QStringLiteral("色変更"), m_setteiMenu);
    colorMenu->setObjectName(QStringLiteral("POP_COLOR"));
    colorMenu->menuAction()->setObjectName(QStringLiteral("POP_COLOR"));
    setHint(colorMenu->menuAction(), QStringLiteral("カレンダー色を変更します"));
    addEntry(colorMenu, "POP_BODY_C", QStringLiteral("本体色..."))->setData(4);
    colorMenu->addSeparator();
    addEntry(colorMenu, "POP_SYOKI_IRO_RECOV", QStringLiteral("初期色復旧"),
             QStringLiteral("出荷時の色に戻します"));
    m_setteiMenu->addMenu(colorMenu);

    auto* weekMenu = new QMenu(QStringLiteral("開始曜日"), m_setteiMenu);
    weekMenu->setObjectName(QStringLiteral("POP_KAISI"));
    weekMenu->menuAction()->setObjectName(QStringLiteral("POP_KAISI"));
    setHint(weekMenu->menuAction(), QStringLiteral("週の始まりの曜日を変更します"));
    struct Weekday {
        const char* name;
        const char16_t* caption;
        int tag;
    };
    static const Weekday weekdays[] = {
        {"POP_SUN", u"日曜日", 6},  {"POP_MON", u"月曜日", 0}, {"POP_TUES", u"火曜日", 1},
        {"POP_WED", u"水曜日", 2},  {"POP_THUR", u"木曜日", 3}, {"POP_FRI", u"金曜日", 4},
        {"POP_SAT", u"土曜日", 5},
    };
    for (const Weekday& w : weekdays) {
        addEntry(weekMenu, w.name, QString::fromUtf16(w.caption))->setData(w.tag);
    }
    m_setteiMenu->addMenu(weekMenu);

    addEntry(m_setteiMenu, "POP_RENAME", QStringLiteral("このソフトに愛称をつける..."));
    addEntry(m_setteiMenu, "POP_SYUKKA_SIZE", QStringLiteral("出荷時サイズ・位置に戻す..."));
    m_setteiMenu->addSeparator();
    addEntry(m_setteiMenu, "MN_IMPORT_HORI", QStringLiteral("ﾌｧｲﾙを指定して休日を最新にする"));
    addEntry(m_setteiMenu, "POP_KYUJITSU_RECOV", QStringLiteral("出荷時の休日にする"),
             QStringLiteral("出荷時の休日に戻します"));
    addEntry(m_setteiMenu, "POP_KYUJITSU", QStringLiteral("休日変更..."),
             QStringLiteral("休日(horiday.txt)を変更します"));
    addEntry(m_setteiMenu, "POP_KYUJITSU_NEN", QStringLiteral("年を指定して休日を作成..."),
             QStringLiteral("指定した年の休日(horiday.txt)を作成します"));
    m_setteiMenu->addSeparator();
    addEntry(m_setteiMenu, "POP_HELP", QStringLiteral("説明書"));
    addEntry(m_setteiMenu, "POP_README", QStringLiteral("お読み下さい"));
    m_setteiMenu->addSeparator();
    addEntry(m_setteiMenu, "POP_VER", QStringLiteral("バージョン情報..."));

    m_shioriMenu = new QMenu(this);
    m_shioriMenu->setObjectName(QStringLiteral("POP_SHIORI_MN"));
    addEntry(m_shioriMenu, "POP_SHIORI_ADD", QStringLiteral("しおり日の追加..."));
    m_shioriMenu->addSeparator()->setObjectName(QStringLiteral("N8"));

    // Every entry whose command lives in a feature file starts disabled; the
    // feature's set-up enables what it has built. POP_MENU and POP_END are
    // this window's own, the submenus open whatever they hold.
    for (QMenu* m : {m_editMenu, m_setteiMenu, colorMenu, weekMenu, m_shioriMenu}) {
        for (QAction* a : m->actions()) {
            if (a->isSeparator() || a->menu()) continue;
            a->setEnabled(false);
        }
        connectHints(m);
    }
    connectEntry("POP_MENU", &TF_MAIN::POP_MENUClick);
    connectEntry("POP_END", &TF_MAIN::POP_ENDClick);
}

void TF_MAIN::buildToolBar() {
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_toolBar->setContextMenuPolicy(Qt::NoContextMenu);
    // The tool bar keeps the button face colour when the body colour changes.
    QPalette barPalette = m_toolBar->palette();
    barPalette.setColor(QPalette::Window, colorFromValue(kClBtnFace));
    m_toolBar->setPalette(barPalette);
    m_toolBar->setAutoFillBackground(true);
    m_toolBar->setContentsMargins(1, 1, 1, 1);
    m_toolBar->layout()->setSpacing(0);

    struct Button {
        const char* name;
        const char16_t* caption;
        QMenu* dropDown;
        const char16_t* hint;
    };
    const Button buttons[] = {
        {"TOOL_BAR_EDIT", u"編集", m_editMenu, u""},
        {"TOOL_BAR_SHIORI", u"しおり", m_shioriMenu, u""},
        {"TOOL_BAR_DATE", u"開始", nullptr, u"先に開始日を指定して下さい|"},
        {"TOOL_BAR_SETTEI", u"設定", m_setteiMenu, u""},
    };
    for (const Button& b : buttons) {
        auto* act = new QAction(QString::fromUtf16(b.caption), m_toolBar);
        act->setObjectName(QString::fromLatin1(b.name));
        setHint(act, QString::fromUtf16(b.hint));
        auto* button = new QToolButton(m_toolBar);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setDefaultAction(act);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setMinimumSize(41, 18);
        button->setAutoRaise(true);
        if (b.dropDown) {
            button->setMenu(b.dropDown);
            button->setPopupMode(QToolButton::InstantPopup);
            // Captions only, like the original buttons: no arrow beside them.
            button->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
        } else {
            act->setCheckable(true);
            // The start-day button belongs to the date readout.
            act->setEnabled(false);
        }
        m_toolBar->addWidget(button);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    watchToolButtonHints();
}

// ---- hints ----

void TF_MAIN::setHint(QAction* action, const QString& hint) {
    if (!action) return;
    action->setProperty(kHintProperty, hint);
    action->setToolTip(shortHint(hint));
}

QString TF_MAIN::hintOf(const QAction* action) {
    return action ? action->property(kHintProperty).toString() : QString();
}

QString TF_MAIN::longHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.mid(bar + 1);
}

QString TF_MAIN::shortHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(u'|');
    return bar < 0 ? hint : hint.left(bar);
}

void TF_MAIN::connectHints(QMenu* m) {
    connect(m, &QMenu::hovered, this,
            [this](QAction* a) { applicationHintChanged(a->isSeparator() ? QString() : hintOf(a)); });
    // Closing a menu takes its hint away, before the chosen command runs.
    connect(m, &QMenu::aboutToHide, this, [this] { applicationHintChanged(QString()); });
}

void TF_MAIN::watchToolButtonHints() {
    for (QToolButton* b : m_toolBar->findChildren<QToolButton*>()) {
        if (b->defaultAction()) b->installEventFilter(this);
    }
}

void TF_MAIN::applicationHintChanged(const QString& hint) {
    if (hint == m_applicationHint) return;
    m_applicationHint = hint;
    if (m_hintHandlerInstalled) DisplayHint(hint);
}

void TF_MAIN::DisplayHint(const QString& hint) { setStatusText(longHint(hint)); }

bool TF_MAIN::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button && button->defaultAction()) {
        switch (event->type()) {
        case QEvent::Enter:
            applicationHintChanged(hintOf(button->defaultAction()));
            break;
        case QEvent::Leave:
            applicationHintChanged(QString());
            break;
        case QEvent::ToolTip: {
            // Only the short form is a tooltip; a button without one shows none
            // (Qt would otherwise fall back to the caption).
            const QString tip = shortHint(hintOf(button->defaultAction()));
            auto* help = static_cast<QHelpEvent*>(event);
            if (tip.isEmpty()) {
                QToolTip::hideText();
            } else {
                QToolTip::showText(help->globalPos(), tip, button);
            }
            return true;
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TF_MAIN::event(QEvent* event) {
    // Status tips are not used: hints reach the status line through
    // DisplayHint, which keeps panel 0 as the one message line.
    if (event->type() == QEvent::StatusTip) {
        event->accept();
        return true;
    }
    return QMainWindow::event(event);
}

// ---- lookups ----

QAction* TF_MAIN::action(const char* objectName) const {
    return findChild<QAction*>(QString::fromLatin1(objectName));
}

QMenu* TF_MAIN::menu(const char* objectName) const {
    return findChild<QMenu*>(QString::fromLatin1(objectName));
}

QToolButton* TF_MAIN::toolButton(const char* objectName) const {
    return m_toolBar ? m_toolBar->findChild<QToolButton*>(QString::fromLatin1(objectName))
                     : nullptr;
}

QString TF_MAIN::statusText() const { return m_statusPanel->text(); }

void TF_MAIN::setStatusText(const QString& text) { m_statusPanel->setText(text); }

// ---- command helpers ----

QAction* TF_MAIN::connectEntry(const char* objectName, void (TF_MAIN::*handler)(),
                               CheckMark mode) {
    QAction* entry = action(objectName);
    if (!entry) return nullptr;
    connect(entry, &QAction::triggered, this, [this, entry, handler, mode] {
        if (mode == CheckMark::ByHandler && entry->isCheckable()) {
            const QSignalBlocker block(entry);
            entry->setChecked(!entry->isChecked());
        }
        runCommand([&] { (this->*handler)(); });
    });
    entry->setEnabled(true);
    return entry;
}

QAction* TF_MAIN::connectEntry(const char* objectName, void (TF_MAIN::*handler)(QAction*),
                               CheckMark mode) {
    QAction* entry = action(objectName);
    if (entry) connectEntry(entry, handler, mode);
    return entry;
}

void TF_MAIN::connectEntry(QAction* entry, void (TF_MAIN::*handler)(QAction*), CheckMark mode) {
    if (!entry) return;
    connect(entry, &QAction::triggered, this, [this, entry, handler, mode] {
        if (mode == CheckMark::ByHandler && entry->isCheckable()) {
            const QSignalBlocker block(entry);
            entry->setChecked(!entry->isChecked());
        }
        runCommand([&] { (this->*handler)(entry); });
    });
    entry->setEnabled(true);
}

void TF_MAIN::setBodyColor(const QColor& color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    if (m_statusBar) {
        QPalette sp = m_statusBar->palette();
        sp.setColor(QPalette::Window, color);
        m_statusBar->setPalette(sp);
    }
}

QColor TF_MAIN::bodyColor() const { return palette().color(QPalette::Window); }

void TF_MAIN::nudgeWidth() {
    resize(width() + 1, height());
    resize(width() - 1, height());
}

void TF_MAIN::setOuterBounds(const QRect& bounds) {
    // move() places the frame; resize() sizes the client area, so take the
    // frame's share off (zero until the window system has made a frame).
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const int extraW = frame.width() - client.width();
    const int extraH = frame.height() - client.height();
    move(bounds.topLeft());
    resize(std::max(1, bounds.width() - extraW), std::max(1, bounds.height() - extraH));
}

QRect TF_MAIN::outerBounds() const { return frameGeometry(); }

// ---- startup ----

void TF_MAIN::FormCreate() {
    // 1. The application identifier.
    declareApplicationIdentity(QStringLiteral("HarukazeSoft.mekuri.s.370"));
    // 2. AppDir was given to the constructor (m_paths).
    // 3. The colour files, each applied right after it is read.
    applyColorFiles();
    // 4. The settings file, read once; startup never writes it.
    const IniFile ini = IniFile::loadOrEmpty(Ini_File());
    // 5.
    action("POP_KAISHI_ADD")->setChecked(ini.readBool(QStringLiteral("KAISHI_ADD"), QStringLiteral("0"), true));
    // 6. Bounds, applied in step 14.
    const QString form = QStringLiteral("Form");
    m_startBounds = QRect(ini.readInteger(form, QStringLiteral("LEFT"), kFactoryLeft),
                          ini.readInteger(form, QStringLiteral("TOP"), kFactoryTop),
                          ini.readInteger(form, QStringLiteral("WIDTH"), kFactoryWidth),
                          ini.readInteger(form, QStringLiteral("HEIGHT"), kFactoryHeight));
    // 7. The caption; an empty nickname is an empty caption.
    setWindowTitle(ini.readString(QStringLiteral("MY_NAME"), QStringLiteral("0"), applicationTitle()));
    // 8.
    LoadBookmarks(ini);
    // 9. Values the program never writes (outside 0..6) fall back to Monday.
    int firstDay = ini.readInteger(QStringLiteral("FIRST_DAY"), QStringLiteral("0"), 0);
    if (firstDay < 0 || firstDay > 6) firstDay = 0;
    m_calendar->setFirstDayOfWeek(firstDay);
    // 10.
    QAction* menuDisplay = action("POP_MENU");
    menuDisplay->setChecked(ini.readBool(QStringLiteral("MENU"), QStringLiteral("0"), true));
    m_toolBar->setVisible(menuDisplay->isChecked());
    if (!menuDisplay->isChecked()) setStatusText(menuDisplayNote());
    // 11. Today; the selected date is not remembered between runs.
    m_calendar->setSelectedDate(QDate::currentDate());
    // 12.
    LoadHolidayTable();
    // 13.
    m_hintHandlerInstalled = true;
    // 14. As stored, without any check against the screen.
    setOuterBounds(m_startBounds);
    m_startBoundsPending = true;
}

void TF_MAIN::applyColorFiles() {
    // A missing or unreadable colour file leaves its target at the factory
    // colour: a lost file must not keep the calendar from starting.
    struct Target {
        const char16_t* file;
        quint32 factory;
        std::function<void(const QColor&)> apply;
    };
    const Target targets[] = {
        {u"mkrittlc.dat", kClActiveCaption,
         [this](const QColor& c) { m_calendar->setColor(MonthCalendar::TitleBackground, c); }},
        {u"mkritexc.dat", kClWindowText,
         [this](const QColor& c) { m_calendar->setColor(MonthCalendar::Text, c); }},
        {u"mkrimonc.dat", kClInfoBk,
         [this](const QColor& c) { m_calendar->setColor(MonthCalendar::MonthBackground, c); }},
        {u"mkribodc.dat", kClBtnFace, [this](const QColor& c) { setBodyColor(c); }},
    };
    for (const Target& t : targets) {
        const Status read = ReadColorFile(m_paths.file(QString::fromUtf16(t.file)), m_colorDialog);
        t.apply(colorFromValue(read.ok() ? m_colorDialog.color : t.factory));
    }
}

void TF_MAIN::LoadHolidayTable() {
    const HolidayLoad load = loadHolidayFile(m_paths.file(QStringLiteral("horiday.txt")));
    m_holidayTable = load.table;
    if (load.fault) {
        dialogs().warning(automaticRestoreWarning());
        // The user's file is kept as horiday.bak.txt so one typo never costs
        // a year of edits; a failed copy is reported and the program still ends.
        const Status restored = RestoreFactoryHolidays(m_paths, true);
        if (!restored.ok()) dialogs().error(restored.error());
        m_quitRequested = true;
    }
    m_calendar->refreshMonthInfo();
}

quint32 TF_MAIN::MonthCalendar1GetMonthInfo(int month) const {
    return m_holidayTable.boldMask(month);
}

void TF_MAIN::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Once the window system has put a frame round the window, apply the
    // stored outer size again so the frame is counted in it.
    if (m_startBoundsPending) {
        m_startBoundsPending = false;
        if (windowState() == Qt::WindowNoState && frameGeometry() != geometry()) {
            setOuterBounds(m_startBounds);
        }
    }
}

// ---- close and menu display ----

void TF_MAIN::closeEvent(QCloseEvent* event) {
    // After the automatic restore the program ends without touching the
    // settings file.
    if (!m_quitRequested) FormCloseQuery();
    event->accept();
}

void TF_MAIN::FormCloseQuery() {
    const Qt::WindowStates state = windowState();
    const bool maximized = state.testFlag(Qt::WindowMaximized) || state.testFlag(Qt::WindowFullScreen);
    const bool minimized = state.testFlag(Qt::WindowMinimized);
    const QRect bounds = outerBounds();
    const bool menuOn = action("POP_MENU")->isChecked();
    const Status saved = changeIniFile(Ini_File(), [&](IniFile& ini) {
        const QString form = QStringLiteral("Form");
        if (!maximized) {
            ini.writeInteger(form, QStringLiteral("STATE"), 0);
            ini.writeInteger(form, QStringLiteral("LEFT"), bounds.left());
            ini.writeInteger(form, QStringLiteral("TOP"), bounds.top());
            ini.writeInteger(form, QStringLiteral("WIDTH"), bounds.width());
            ini.writeInteger(form, QStringLiteral("HEIGHT"), bounds.height());
        }
        if (minimized) ini.writeInteger(form, QStringLiteral("STATE"), 1);
        if (maximized) ini.writeInteger(form, QStringLiteral("STATE"), 2);
        ini.writeBool(QStringLiteral("MENU"), QStringLiteral("0"), menuOn);
    });
    // Reported, but the window closes all the same.
    runCommand([&] { throwIfFailed(saved); });
}

void TF_MAIN::POP_MENUClick() {
    QAction* menuDisplay = action("POP_MENU");
    menuDisplay->setChecked(!menuDisplay->isChecked());
    m_toolBar->setVisible(menuDisplay->isChecked());
    nudgeWidth();
    if (!menuDisplay->isChecked()) setStatusText(menuDisplayNote());
}

void TF_MAIN::POP_ENDClick() { close(); }

void TF_MAIN::contextMenuEvent(QContextMenuEvent* event) {
    m_editMenu->popup(event->globalPos());
    event->accept();
}

QMenu* TF_MAIN::createPopupMenu() { return nullptr; }

}  // namespace mekuri
