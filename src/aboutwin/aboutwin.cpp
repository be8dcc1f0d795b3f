#include "aboutwin.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QString>
#include <QVBoxLayout>
#include <QWidget>

// A 32-bit __stdcall export is decorated (_FormView@24); hosts look it up
// by its plain name.
#if defined(_MSC_VER) && defined(_M_IX86)
#pragma comment(linker, "/EXPORT:FormView=_FormView@24")
#endif

namespace {

// A bounded read: the buffer may lack its terminator.
QString textFromBuffer(const char16_t* buffer) {
    if (!buffer) return {};
    int length = 0;
    while (length < kAboutTextChars && buffer[length] != u'\0') ++length;  // [0, 256]
    return QString::fromUtf16(buffer, length);
}

QLabel* makeLabel(QWidget* parent, const QString& objectName, const QString& text, int pixelSize,
                  bool bold) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

extern "C" ABOUTWIN_EXPORT void ABOUTWIN_CALL FormView(void* owner, std::int32_t code,
                                                       const char16_t* productLine,
                                                       const char16_t* version,
                                                       const char16_t* extraLine,
                                                       const char16_t* years) {
    // Without a running application (or with a caller that does not know the
    // interface) there is nothing sensible to show.
    if (code != kAboutCode || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;

    QWidget* parent = owner ? QWidget::find(reinterpret_cast<WId>(owner)) : nullptr;
    if (parent) parent = parent->window();

    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("AboutDialog"));
    dialog.setWindowTitle(QStringLiteral("バージョン情報"));
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog.setModal(true);

    auto* layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);
    layout->addWidget(makeLabel(&dialog, QStringLiteral("LBL_PRODUCT"), textFromBuffer(productLine), 14, true));
    layout->addWidget(makeLabel(&dialog, QStringLiteral("LBL_VERSION"),
                                QStringLiteral("バージョン　") + textFromBuffer(version), 13, false));
    const QString extra = textFromBuffer(extraLine);
    if (!extra.isEmpty()) layout->addWidget(makeLabel(&dialog, QStringLiteral("LBL_EXTRA"), extra, 12, false));
    layout->addWidget(makeLabel(&dialog, QStringLiteral("LBL_YEARS"),
                                QStringLiteral("Copyright (C) ") + textFromBuffer(years), 12, false));

    auto* line = new QFrame(&dialog);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BTN_OK"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons, 0, Qt::AlignHCenter);

    dialog.setMinimumWidth(320);
    dialog.adjustSize();
    if (QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        dialog.move(area.center() - QPoint(dialog.width() / 2, dialog.height() / 2));
    }
    dialog.exec();
}
