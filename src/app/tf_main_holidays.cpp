// Holiday maintenance, self-restart, help, read-me and version: the commands
// of the settings menu's last block. The holiday files change on disk only;
// the running table stays as loaded, so the commands that replace the file
// restart the program and the text editor says when its change takes effect.
#include "app/tf_main.h"

#include "app/holiday_import.h"
#include "app/tf_hori.h"
#include "app/version_window.h"
#include "holidays/holiday_csv.h"
#include "platform/command_guard.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "settings/save_file.h"
#include "settings/text_file.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>

namespace mekuri {

namespace {

QString notFoundInProgramFolder(const QString& name) {
    return QStringLiteral("このソフトと同じフォルダに ") + name + QStringLiteral(" が見つかりません");
}

// The memo shows the text with "\n" breaks whatever the file used.
QString toMemoText(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// The distinct characters of text that CP932 cannot hold, in order.
QString charactersWithoutCp932(const QString& text) {
    QString found;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype len = (text.at(i).isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString ch = text.mid(i, len);
        if (!cp932CanHold(ch) && !found.contains(ch)) found += ch;
        i += len - 1;
    }
    return found;
}

// The year the government's list is read for: asked, with next year offered
// when the list has it (the usual reason to import), else this year, else
// the list's last year. nullopt when the user cancels or types no year.
std::optional<int> askGovernmentListYear(const QByteArray& bytes) {
    const Expected<HolidayCsv> csv = parseHolidayCsv(bytes);
    if (!csv.ok()) {
        dialogs().warning(csv.error());
        return std::nullopt;
    }
    const QList<int> years = csv->years();
    const int thisYear = QDate::currentDate().year();
    int offered = years.last();
    if (years.contains(thisYear + 1)) {
        offered = thisYear + 1;
    } else if (years.contains(thisYear)) {
        offered = thisYear;
    }
    const std::optional<QString> typed = dialogs().inputQuery(
        QStringLiteral("取り込む年"),
        QStringLiteral("内閣府の「国民の祝日」の一覧です（") + yearsText(years) +
            QStringLiteral("）。\n休日データを作る年を半角数字で入力して下さい"),
        QString::number(offered));
    if (!typed) return std::nullopt;
    bool ok = false;
    const int year = trimControl(*typed).toInt(&ok);
    if (!ok) {
        dialogs().warning(QStringLiteral("入力エラー\n半角数字を入力して下さい"));
        return std::nullopt;
    }
    return year;
}

}  // namespace

void TF_MAIN::setUpHolidaysFeature() {
    connectEntry("MN_IMPORT_HORI", &TF_MAIN::MN_IMPORT_HORIClick);
    connectEntry("POP_KYUJITSU_RECOV", &TF_MAIN::POP_KYUJITSU_RECOVClick);
    connectEntry("POP_KYUJITSU", &TF_MAIN::POP_KYUJITSUClick);
    connectEntry("POP_HELP", &TF_MAIN::POP_HELPClick);
    connectEntry("POP_README", &TF_MAIN::POP_READMEClick);
    connectEntry("POP_VER", &TF_MAIN::POP_VERClick);
}

void TF_MAIN::POP_KYUJITSUClick() {
    const QString path = m_paths.file(QStringLiteral("horiday.txt"));
    if (!QFileInfo::exists(path)) {
        dialogs().warning(notFoundInProgramFolder(QStringLiteral("horiday.txt")));
        return;
    }
    const Expected<DecodedText> read = readTextFile(path);
    if (!read.ok()) throw CommandError(read.error());
    if (read->hadInvalidBytes) {
        dialogs().warning(QStringLiteral("horiday.txt には文字として読めない部分があります\n\n"
                                         "保存すると、その部分は別の文字に置き換わります"));
    }

    TF_HORI editor(this);
    editor.setText(toMemoText(read->text));
    // A text CP932 cannot hold is not saved: the editor comes back with it,
    // so the user can replace the characters instead of losing the edit.
    while (editor.exec() == QDialog::Accepted) {
        QString text = editor.text();
        text.replace(u'\n', QStringLiteral("\r\n"));
        const EncodedText encoded = encodeText(text, TextEncoding::Cp932);
        if (encoded.lossy) {
            dialogs().warning(QStringLiteral("次の文字は休日データに保存できません：") +
                              charactersWithoutCp932(text) +
                              QStringLiteral("\n\n別の文字に置き換えてから保存して下さい"));
            continue;
        }
        throwIfFailed(writeFileAtomic(path, encoded.bytes));
        dialogs().information(QStringLiteral("変更が有効になるのはこのソフトが再起動してからです"));
        break;
    }
}

void TF_MAIN::POP_KYUJITSU_RECOVClick() {
    const QString question = QStringLiteral(
        "出荷時の休日に戻しますか？\n\n"
        "\"はい\"を選ぶと、休日を変更した後\n\n"
        "このソフトは自動で再起動します。");
    if (dialogs().confirm(question, true) != Answer::Yes) return;
    // The user asked for the factory set: no copy of the old text is kept.
    // A failed copy is reported; the restart still follows.
    const Status restored = RestoreFactoryHolidays(m_paths, false);
    if (!restored.ok()) dialogs().error(restored.error());
    RestartProgram();
}

void TF_MAIN::MN_IMPORT_HORIClick() {
    const QString question = QStringLiteral(
        "休日データを最新にするために最新の horiday0.txt を指定して下さい。\n\n"
        "　\"はい\"を選ぶと、ファイルの指定画面が表示されます。\n\n"
        "　ファイルが指定されると、最新の休日データを取込み\n\n"
        "　このソフトは自動で再起動します。");
    // Only No (or Esc) stops; the close box goes on to the file chooser.
    if (dialogs().confirm(question, true) == Answer::No) return;

    // The government's holiday list comes as a .csv; offer it after the usual choices.
    const std::optional<QString> chosen = dialogs().openFile(
        QString(), QStringLiteral("テキストファイル|*.txt|すべて|*.*|祝日一覧CSV|*.csv"), QString());
    if (!chosen) return;

    ImportCheck check = checkImportFile(*chosen, m_paths);
    if (check.refusal != ImportRefusal::None) {
        dialogs().warning(importRefusalText(check.refusal));
        return;
    }
    if (check.governmentList) {
        const std::optional<int> year = askGovernmentListYear(check.bytes);
        if (!year) return;
        Expected<QList<QByteArray>> lines = holidayLinesFromGovernmentList(check.bytes, *year);
        if (!lines.ok()) {
            dialogs().warning(lines.error());
            return;
        }
        check.lines = std::move(lines).value();
    }

    // The new factory file replaces the old one only when it is complete.
    throwIfFailed(writeImportedFactoryFile(check.lines, m_paths));
    if (!copyFactoryOverWorking(m_paths).ok()) {
        dialogs().warning(QStringLiteral("インポート処理内の上書きコピーでエラーが発生しました"));
        return;
    }
    RestartProgram();
}

void TF_MAIN::RestartProgram() {
    QString error;
    if (!shell().startDetached(QCoreApplication::applicationFilePath(), {}, &error)) {
        throw CommandError(error.isEmpty() ? QStringLiteral("このソフトを再起動できませんでした") : error);
    }
    // As "終了": the close handling stores the geometry and the menu display.
    POP_ENDClick();
}

void TF_MAIN::OpenAppDirFile(const QString& name) {
    const QString path = m_paths.file(name);
    if (!QFileInfo::exists(path)) {
        dialogs().warning(notFoundInProgramFolder(name));
        return;
    }
    QString error;
    if (!shell().openDocument(path, &error)) throw CommandError(error);
}

void TF_MAIN::POP_HELPClick() { OpenAppDirFile(QStringLiteral("mekuri_00.html")); }

void TF_MAIN::POP_READMEClick() { OpenAppDirFile(QStringLiteral("お読み下さい.txt")); }

void TF_MAIN::POP_VERClick() { showVersionWindow(this, m_paths.file(versionLibraryFileName())); }

}  // namespace mekuri
