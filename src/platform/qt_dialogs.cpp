#include "platform/qt_dialogs.h"

#include "platform/command_guard.h"
#include "platform/system_colors.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace mekuri {

namespace {

QWidget* dialogParent() { return QApplication::activeWindow(); }

void showMessage(QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, applicationTitle(), text, QMessageBox::Ok, dialogParent());
    box.button(QMessageBox::Ok)->setText(QStringLiteral("OK"));
    box.exec();
}

// A Yes/No box that tells the No button (or Esc) from the close box.
class ConfirmBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool closedByBox = false;

protected:
    void closeEvent(QCloseEvent* event) override {
        if (!escapePressed) closedByBox = true;
        QMessageBox::closeEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) escapePressed = true;
        QMessageBox::keyPressEvent(event);
    }

private:
    bool escapePressed = false;
};

}  // namespace

void QtDialogService::warning(const QString& text) { showMessage(QMessageBox::Warning, text); }
void QtDialogService::information(const QString& text) { showMessage(QMessageBox::Information, text); }
void QtDialogService::error(const QString& text) { showMessage(QMessageBox::Critical, text); }

Answer QtDialogService::confirm(const QString& text, bool focusNo, MessageIcon icon) {
    const QMessageBox::Icon qtIcon = icon == MessageIcon::Information ? QMessageBox::Information
                                     : icon == MessageIcon::Warning   ? QMessageBox::Warning
                                                                      : QMessageBox::Question;
    ConfirmBox box(qtIcon, applicationTitle(), text, QMessageBox::Yes | QMessageBox::No,
                   dialogParent());
    QAbstractButton* yes = box.button(QMessageBox::Yes);
    QAbstractButton* no = box.button(QMessageBox::No);
    yes->setText(QStringLiteral("はい(&Y)"));
    no->setText(QStringLiteral("いいえ(&N)"));
    box.setDefaultButton(focusNo ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    const int result = box.exec();
    if (box.clickedButton() == yes || result == QMessageBox::Yes) return Answer::Yes;
    if (box.closedByBox && box.clickedButton() == nullptr) return Answer::Closed;
    return Answer::No;
}

std::optional<QString> QtDialogService::inputQuery(const QString& caption, const QString& prompt,
                                                   const QString& initial) {
    QDialog dialog(dialogParent());
    dialog.setWindowTitle(caption);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(prompt, &dialog);
    label->setWordWrap(true);
    label->setMinimumWidth(300);
    auto* edit = new QLineEdit(initial, &dialog);
    edit->setMaxLength(255);
    edit->selectAll();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(label);
    layout->addWidget(edit);
    layout->addWidget(buttons);
    edit->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return edit->text();
}

void applyCustomColorLines(const QStringList& lines) {
    for (int slot = 0; slot < 16; ++slot) {
        const QString prefix = QStringLiteral("Color") + QChar(u'A' + slot) + u'=';
        for (const QString& line : lines) {
            if (!line.startsWith(prefix, Qt::CaseInsensitive)) continue;
            const QString hex = line.mid(prefix.size());
            if (hex.isEmpty()) break;
            bool ok = false;
            const quint32 value = hex.toUInt(&ok, 16);
            // A custom-colour line that is not hexadecimal stops the command.
            if (!ok) throw CommandError(QStringLiteral("'%1' は正しい整数値ではありません").arg(hex));
            if (value != 0xFFFFFFFFu) QColorDialog::setCustomColor(slot, colorFromValue(value));
            break;
        }
    }
}

QStringList customColorLinesFromQt() {
    QStringList lines;
    for (int slot = 0; slot < 16; ++slot) {
        const QColor c = QColorDialog::customColor(slot);
        // Qt fills unused slots with white; treat every slot as set.
        const quint32 value = quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
        lines.append(QStringLiteral("Color") + QChar(u'A' + slot) + u'=' +
                     QString::number(value, 16).toUpper().rightJustified(6, u'0'));
    }
    return lines;
}

bool QtDialogService::chooseColor(ColorDialogState& state) {
    applyCustomColorLines(state.customColors);
    QColorDialog dialog(colorFromValue(state.color), dialogParent());
    dialog.setOption(QColorDialog::DontUseNativeDialog, false);
    if (dialog.exec() != QDialog::Accepted) return false;
    state.color = valueFromColor(dialog.selectedColor());
    state.customColors = customColorLinesFromQt();
    return true;
}

std::optional<QString> QtDialogService::openFile(const QString& caption, const QString& filter,
                                                 const QString& startFolder) {
    const QString path = QFileDialog::getOpenFileName(dialogParent(), caption, startFolder, toQtFilter(filter));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtDialogService::saveFile(const QString& caption, const QString& filter,
                                                 const QString& defaultSuffix,
                                                 const QString& proposedName) {
    QFileDialog dialog(dialogParent(), caption, QString(), toQtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedName);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

}  // namespace mekuri
