#pragma once

// Saving the recorded page as a picture: the dialog F_PIC_SAVE asks for the
// format (RDO_KEI) and the divisor (TrackBar1), with the resulting image
// height in LBL_POS; then the page is rendered and the save dialog asks for
// the file. The format and divisor are written back however the dialog
// closes; only "保存" goes on to save (Esc, "キャンセル" and the close box
// cancel).

#include "platform/page_recorder.h"
#include "settings/app_paths.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSlider;

namespace mekuri {

class RadioGroup;

class TF_PIC_SAVE : public QDialog {
    Q_OBJECT

public:
    explicit TF_PIC_SAVE(QWidget* owner = nullptr);

    // The recorded page's height in printer pixels; set before showing.
    int MOTO_PICW = 0;
    void setDivisor(int divisor);
    void setFormatIndex(int index);

    QLabel* Label1 = nullptr;
    RadioGroup* RDO_KEI = nullptr;
    QSlider* TrackBar1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* LBL_POS = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    // LBL_POS := MOTO_PICW div slider position.
    void TrackBar1Change();
};

// The whole SPD_SAVE operation for page, with the settings file of paths;
// owner owns the dialog. Throws CommandError on failure (nothing is saved).
void savePageAsImage(QWidget* owner, const AppPaths& paths, const RecordedPage& page);

}  // namespace mekuri
