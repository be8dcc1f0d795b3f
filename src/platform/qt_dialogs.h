#pragma once

// The real dialogs: QMessageBox, QInputDialog, QColorDialog, QFileDialog,
// with Japanese button texts and the application title as caption.

#include "platform/dialogs.h"

namespace mekuri {

class QtDialogService final : public DialogService {
public:
    void warning(const QString& text) override;
    void information(const QString& text) override;
    void error(const QString& text) override;
    Answer confirm(const QString& text, bool focusNo, MessageIcon icon) override;
    std::optional<QString> inputQuery(const QString& caption, const QString& prompt,
                                      const QString& initial) override;
    bool chooseColor(ColorDialogState& state) override;
    std::optional<QString> openFile(const QString& caption, const QString& filter,
                                    const QString& startFolder) override;
    std::optional<QString> saveFile(const QString& caption, const QString& filter,
                                    const QString& defaultSuffix,
                                    const QString& proposedName) override;
};

// Converts between the colour chooser's custom-colour lines and Qt's 16
// custom colours (slot A is Qt's index 0). Exposed for tests.
void applyCustomColorLines(const QStringList& lines);
QStringList customColorLinesFromQt();

}  // namespace mekuri
