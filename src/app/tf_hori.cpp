#include "app/tf_hori.h"

#include <QFont>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace mekuri {

TF_HORI::TF_HORI(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("F_HORI"));
    setWindowTitle(QStringLiteral("休日変更"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(579, 458);

    // Created first so that it is first in the tab order and has the focus.
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(494, 425, 75, 25);
    CancelBtn->setDefault(true);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    OKBtn = new QPushButton(QStringLiteral("保存"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(411, 425, 75, 25);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 8, 561, 409);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Long lines wrap, as in a memo with only a vertical scroll bar.
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setPixelSize(16);
    Memo1->setFont(font);

    setTabOrder(CancelBtn, Memo1);
    setTabOrder(Memo1, OKBtn);

    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void TF_HORI::setText(const QString& text) { Memo1->setPlainText(text); }

QString TF_HORI::text() const { return Memo1->toPlainText(); }

void TF_HORI::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CancelBtn->setFocus(Qt::OtherFocusReason);
}

}  // namespace mekuri
