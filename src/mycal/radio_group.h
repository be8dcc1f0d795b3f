#pragma once

// A radio group with an item index, as the program's settings use it: the
// index of the ticked item, -1 when none is ticked. A stored index outside
// the items is brought into range when it is given to the group: above the
// last item the last is ticked, below 0 none is.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace mekuri {

class RadioGroup : public QGroupBox {
    Q_OBJECT

public:
    RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent = nullptr);

    int itemIndex() const;
    void setItemIndex(int index);
    int count() const { return int(m_buttons.size()); }
    QRadioButton* button(int index) const { return m_buttons.value(index); }

Q_SIGNALS:
    void itemClicked(int index);

private:
    QButtonGroup* m_group = nullptr;
    QList<QRadioButton*> m_buttons;
};

}  // namespace mekuri
