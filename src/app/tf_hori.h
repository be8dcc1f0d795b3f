#pragma once

// The holiday text editor TF_HORI: one memo holding the whole holiday file,
// "保存" (OK) and "キャンセル" (Cancel, also Esc and the default button, focused
// at open). The window only edits text; reading and writing the file is the
// command's business.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace mekuri {

class TF_HORI : public QDialog {
    Q_OBJECT

public:
    explicit TF_HORI(QWidget* parent = nullptr);

    // The memo's text; line breaks inside are "\n".
    void setText(const QString& text);
    QString text() const;

    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace mekuri
