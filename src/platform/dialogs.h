#pragma once

// Every message box, prompt and chooser the program shows goes through one
// DialogService, so tests can answer prompts and record every message with a
// scripted stand-in while the program uses the real Qt dialogs.
//
// Message boxes are modal, centred, in Japanese, without a help button, and
// captioned with the application title.

#include "settings/color_file.h"

#include <QString>

#include <memory>
#include <optional>

class QWidget;

namespace mekuri {

enum class MessageIcon { Warning, Information, Question, Error };

enum class Answer {
    Yes,
    No,      // the No button, or Esc
    Closed,  // the close box (a third result some commands tell apart)
};

class DialogService {
public:
    virtual ~DialogService() = default;

    // Warning with OK, for refusals.
    virtual void warning(const QString& text) = 0;
    // Information with OK, for notices.
    virtual void information(const QString& text) = 0;
    // The standard error report: error icon, the failure's text, OK.
    virtual void error(const QString& text) = 0;
    // Yes / No question. focusNo puts the focus on No. icon is Question for
    // confirmations (some commands ask with the information icon).
    virtual Answer confirm(const QString& text, bool focusNo,
                           MessageIcon icon = MessageIcon::Question) = 0;
    // One-line prompt: caption, word-wrapped prompt, at most 255 characters,
    // initial text selected, OK / Cancel. nullopt on Cancel.
    virtual std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                              const QString& initial) = 0;
    // Colour chooser over the ColorDialog1 state (full custom-colour area,
    // 16 slots). On OK the state's colour and custom colours are updated and
    // true is returned; on Cancel the state is untouched.
    virtual bool chooseColor(ColorDialogState& state) = 0;
    // File-open dialog. filter uses the "name|*.a;*.b|name2|*.*" form.
    virtual std::optional<QString> openFile(const QString& caption, const QString& filter,
                                            const QString& startFolder) = 0;
    // Save dialog asking before overwriting; defaultSuffix is added to a name
    // without extension.
    virtual std::optional<QString> saveFile(const QString& caption, const QString& filter,
                                            const QString& defaultSuffix,
                                            const QString& proposedName) = 0;
};

// The application title, the default caption of every message box.
QString applicationTitle();

// The service in use: the real Qt dialogs unless a test installed another.
DialogService& dialogs();
// Installs a stand-in (not owned); nullptr returns to the real dialogs.
void setDialogServiceForTesting(DialogService* service);

// Converts "name|*.a;*.b|name2|*.*" to Qt's "name (*.a *.b);;name2 (*.*)".
QString toQtFilter(const QString& filter);

}  // namespace mekuri
