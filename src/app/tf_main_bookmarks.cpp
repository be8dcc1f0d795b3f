// Bookmarks: up to ten titled dates in POP_SHIORI_MN, each with a submenu to
// jump, re-date, rename or delete it. The key rules live in bookmark_store.h;
// here the menu is kept in step with the settings file.
//
// Every change writes the settings file first and touches the menu only when
// the write succeeded, so a failed save (reported) never leaves the menu
// showing something the file does not hold.
#include "app/bookmark_store.h"
#include "app/tf_main.h"

#include "dates/date_serial.h"
#include "dates/date_text.h"
#include "platform/command_guard.h"
#include "platform/dialogs.h"
#include "platform/month_calendar.h"

#include <QAction>
#include <QMenu>

namespace mekuri {

namespace {

// Captions are shown exactly as set: a "&" is a character, not a mnemonic.
QString menuCaption(const QString& text) {
    QString escaped = text;
    return escaped.replace(u'&', QStringLiteral("&&"));
}

QString captionText(const QString& caption) {
    QString text = caption;
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

QString selectedDateText(const MonthCalendar* calendar) {
    return FormatDateText(FMT_SEIREKI, DateSerial::fromQDate(calendar->selectedDate()));
}

// The bookmark of a submenu entry: the submenu the entry belongs to.
QMenu* bookmarkOf(QAction* sender) {
    auto* menu = sender ? qobject_cast<QMenu*>(sender->parent()) : nullptr;
    if (!menu) throw CommandError(QStringLiteral("しおり日が見つかりません。"));
    return menu;
}

// The submenu's first entry: the jump entry, captioned with the date text.
QAction* jumpEntryOf(QMenu* bookmark) { return bookmark->actions().value(0); }

QString bookmarkTitle(QMenu* bookmark) { return captionText(bookmark->title()); }

QString bookmarkDate(QMenu* bookmark) { return captionText(jumpEntryOf(bookmark)->text()); }

}  // namespace

void TF_MAIN::setUpBookmarksFeature() { connectEntry("POP_SHIORI_ADD", &TF_MAIN::POP_SHIORI_ADDClick); }

void TF_MAIN::LoadBookmarks(const IniFile& ini) {
    const QVector<Bookmark> bookmarks = loadBookmarks(ini);
    for (qsizetype i = 0; i < bookmarks.size(); ++i) {
        AddBookmarkEntry(bookmarks[i].title, bookmarks[i].dateText, int(i) + 1);
    }
}

void TF_MAIN::AddBookmarkEntry(const QString& title, const QString& dateText, int n) {
    const QString number = QString::number(n);
    auto* bookmark = new QMenu(menuCaption(title), m_shioriMenu);
    bookmark->setObjectName(QStringLiteral("POP_MN_SHIORI_") + number);
    bookmark->menuAction()->setObjectName(QStringLiteral("POP_MN_SHIORI_") + number);

    auto* jump = new QAction(menuCaption(dateText), bookmark);
    jump->setObjectName(QStringLiteral("POP_MN_SHIORI_JUMP") + number);
    QFont bold = jump->font();
    bold.setBold(true);
    jump->setFont(bold);
    bookmark->addAction(jump);
    bookmark->setDefaultAction(jump);

    bookmark->addSeparator()->setObjectName(QStringLiteral("POP_MN_SHIORI_SUB_HAIFUN") + number);

    auto* redate = new QAction(QStringLiteral("日付変更"), bookmark);
    bookmark->addAction(redate);

    auto* rename = new QAction(QStringLiteral("ﾀｲﾄﾙ変更..."), bookmark);
    rename->setObjectName(QStringLiteral("POP_MN_SHIORI_RENAME") + number);
    bookmark->addAction(rename);

    auto* remove = new QAction(QStringLiteral("削除"), bookmark);
    remove->setObjectName(QStringLiteral("POP_MN_SHIORI_SAKUJYO") + number);
    bookmark->addAction(remove);

    m_shioriMenu->addMenu(bookmark);
    connectHints(bookmark);
    connectEntry(jump, &TF_MAIN::AC_LIST_SHIORI_JUMPExecute);
    connectEntry(redate, &TF_MAIN::AC_LIST_SHIORI_CHGDATEExecute);
    connectEntry(rename, &TF_MAIN::AC_LIST_SHIORI_RENAMEExecute);
    connectEntry(remove, &TF_MAIN::AC_LIST_SHIORI_SAKUJYOExecute);
}

void TF_MAIN::POP_SHIORI_ADDClick() {
    // The menu holds POP_SHIORI_ADD and N8, then one entry per bookmark.
    const int count = int(m_shioriMenu->actions().size()) - 2;
    if (count >= kMaxBookmarks) {
        dialogs().warning(QStringLiteral("しおり日は最大で１０件までです"));
        return;
    }
    const QString date = selectedDateText(m_calendar);
    QString title;
    for (;;) {
        const std::optional<QString> typed = dialogs().inputQuery(
            QStringLiteral("しおり日の追加"), date + QStringLiteral(" のタイトルを入力して下さい"), QString());
        if (!typed) return;
        if (!typed->isEmpty()) {
            title = *typed;
            break;
        }
        dialogs().warning(QStringLiteral("タイトルが未入力では作成できません"));
    }
    const int k = count + 1;
    throwIfFailed(changeIniFile(Ini_File(), [&](IniFile& ini) { addBookmark(ini, k, {title, date}); }));
    AddBookmarkEntry(title, date, k);
}

void TF_MAIN::AC_LIST_SHIORI_JUMPExecute(QAction* sender) {
    const QString text = captionText(sender->text());
    const std::optional<DateSerial> date = ParseDateText(text);
    const QDate day = date ? date->toQDate() : QDate();
    // Only a hand-edited settings file gets here with a bad date.
    if (!day.isValid() || day < m_calendar->minimumDate() || day > m_calendar->maximumDate()) {
        throw CommandError(QStringLiteral("'%1' は正しい日付ではありません").arg(text));
    }
    m_calendar->setSelectedDate(day);
}

void TF_MAIN::AC_LIST_SHIORI_CHGDATEExecute(QAction* sender) {
    const QString date = selectedDateText(m_calendar);
    QMenu* bookmark = bookmarkOf(sender);
    const int k = int(m_shioriMenu->actions().indexOf(bookmark->menuAction())) - 1;
    const QString question = QStringLiteral("しおり：　") + bookmarkTitle(bookmark) +
                             QStringLiteral("　の日付を \n\n") + bookmarkDate(bookmark) +
                             QStringLiteral(" → ") + date + QStringLiteral(" へと変更しますか？");
    if (dialogs().confirm(question, false, MessageIcon::Information) != Answer::Yes) return;
    throwIfFailed(changeIniFile(Ini_File(), [&](IniFile& ini) { redateBookmark(ini, k, date); }));
    jumpEntryOf(bookmark)->setText(menuCaption(date));
}

void TF_MAIN::AC_LIST_SHIORI_RENAMEExecute(QAction* sender) {
    QMenu* bookmark = bookmarkOf(sender);
    const int k = int(m_shioriMenu->actions().indexOf(bookmark->menuAction())) - 1;
    const QString current = bookmarkTitle(bookmark);
    const QString prompt = bookmarkDate(bookmark) + QStringLiteral(" の新しいﾀｲﾄﾙを入力して下さい");
    QString title;
    for (;;) {
        const std::optional<QString> typed =
            dialogs().inputQuery(QStringLiteral("しおり日のタイトルの変更"), prompt, current);
        if (!typed) return;
        if (!typed->isEmpty()) {
            title = *typed;
            break;
        }
        dialogs().warning(QStringLiteral("タイトルが未入力では変更できません"));
    }
    throwIfFailed(changeIniFile(Ini_File(), [&](IniFile& ini) { renameBookmark(ini, k, title); }));
    bookmark->setTitle(menuCaption(title));
}

void TF_MAIN::AC_LIST_SHIORI_SAKUJYOExecute(QAction* sender) {
    QMenu* bookmark = bookmarkOf(sender);
    if (dialogs().confirm(bookmarkTitle(bookmark) + QStringLiteral(" を削除しますか？"), false,
                          MessageIcon::Information) != Answer::Yes) {
        return;
    }
    const int k = int(m_shioriMenu->actions().indexOf(bookmark->menuAction())) - 1;
    const int n = int(m_shioriMenu->actions().size()) - 2;
    throwIfFailed(changeIniFile(Ini_File(), [&](IniFile& ini) { deleteBookmark(ini, k, n); }));
    m_shioriMenu->removeAction(bookmark->menuAction());
    // The sender belongs to this submenu and is still emitting.
    bookmark->deleteLater();
}

}  // namespace mekuri
