#pragma once

// A scripted stand-in for the dialog services: records every message box
// (kind and text) and every prompt, and answers prompts from queues the test
// fills beforehand. A prompt with an empty queue is a test failure (the
// command asked something the test did not expect) and is answered as
// cancelled. Installed for its lifetime:
//
//     ScriptedDialogs dialogs;                 // installs itself
//     dialogs.confirmAnswers.push_back(Answer::Yes);
//     dialogs.inputAnswers.push_back(QStringLiteral("2019/5/1"));
//     window.POP_SHITEIClick();
//     EXPECT_EQ(dialogs.texts(MessageIcon::Warning), QStringList{...});

#include "platform/dialogs.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <deque>
#include <optional>
#include <vector>

namespace mekuri::test {

class ScriptedDialogs : public DialogService {
public:
    // One message box or prompt as the program asked for it.
    struct Message {
        // Warning, Information, Error, or Question for confirmations.
        MessageIcon kind;
        QString text;
        bool focusNo = false;  // confirmations only
        MessageIcon icon = MessageIcon::Question;  // confirmations: the icon asked for
    };
    struct Prompt {
        enum Kind { Input, Color, OpenFile, SaveFile } kind;
        QString caption;
        QString text;     // input prompt text, or the file filter
        QString initial;  // input initial text, start folder or proposed name
        QString suffix;   // save: default suffix
    };

    ScriptedDialogs() { setDialogServiceForTesting(this); }
    ~ScriptedDialogs() override { setDialogServiceForTesting(nullptr); }
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    // ---- answers, consumed front first ----
    std::deque<Answer> confirmAnswers;
    std::deque<std::optional<QString>> inputAnswers;  // nullopt = Cancel
    // nullopt = Cancel; a value = the colour (00BBGGRR) chosen on OK.
    std::deque<std::optional<quint32>> colorAnswers;
    // Custom-colour lines the chooser holds after OK (unchanged when empty).
    QStringList customColorsOnOk;
    std::deque<std::optional<QString>> openFileAnswers;
    std::deque<std::optional<QString>> saveFileAnswers;

    // ---- what happened ----
    std::vector<Message> messages;  // message boxes, in order
    std::vector<Prompt> prompts;    // prompts and choosers, in order

    // The texts of the message boxes of one kind, in order.
    QStringList texts(MessageIcon kind) const {
        QStringList out;
        for (const Message& m : messages) {
            if (m.kind == kind) out.append(m.text);
        }
        return out;
    }
    QStringList allTexts() const {
        QStringList out;
        for (const Message& m : messages) out.append(m.text);
        return out;
    }
    void clear() {
        messages.clear();
        prompts.clear();
    }

    // ---- DialogService ----
    void warning(const QString& text) override {
        messages.push_back({MessageIcon::Warning, text});
    }
    void information(const QString& text) override {
        messages.push_back({MessageIcon::Information, text});
    }
    void error(const QString& text) override { messages.push_back({MessageIcon::Error, text}); }

    Answer confirm(const QString& text, bool focusNo, MessageIcon icon) override {
        messages.push_back({MessageIcon::Question, text, focusNo, icon});
        if (confirmAnswers.empty()) {
            ADD_FAILURE() << "unexpected confirmation: " << text.toStdString();
            return Answer::No;
        }
        const Answer a = confirmAnswers.front();
        confirmAnswers.pop_front();
        return a;
    }

    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& initial) override {
        prompts.push_back({Prompt::Input, caption, prompt, initial, {}});
        return take(inputAnswers, "input query", caption);
    }

    bool chooseColor(ColorDialogState& state) override {
        prompts.push_back({Prompt::Color, {}, {}, {}, {}});
        const std::optional<quint32> chosen = take(colorAnswers, "colour chooser", QString());
        if (!chosen) return false;
        state.color = *chosen;
        if (!customColorsOnOk.isEmpty()) state.customColors = customColorsOnOk;
        return true;
    }

    std::optional<QString> openFile(const QString& caption, const QString& filter,
                                    const QString& startFolder) override {
        prompts.push_back({Prompt::OpenFile, caption, filter, startFolder, {}});
        return take(openFileAnswers, "open dialog", caption);
    }

    std::optional<QString> saveFile(const QString& caption, const QString& filter,
                                    const QString& defaultSuffix,
                                    const QString& proposedName) override {
        prompts.push_back({Prompt::SaveFile, caption, filter, proposedName, defaultSuffix});
        return take(saveFileAnswers, "save dialog", caption);
    }

private:
    template <typename T>
    static std::optional<T> take(std::deque<std::optional<T>>& queue, const char* what,
                                 const QString& caption) {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what << ": " << caption.toStdString();
            return std::nullopt;
        }
        std::optional<T> a = queue.front();
        queue.pop_front();
        return a;
    }
};

}  // namespace mekuri::test
