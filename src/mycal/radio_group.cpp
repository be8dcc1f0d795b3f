#include "mycal/radio_group.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace mekuri {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, int columns, QWidget* parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this)) {
    auto* layout = new QGridLayout(this);
    const int cols = qMax(1, columns);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        m_group->addButton(b, i);
        m_buttons.append(b);
        layout->addWidget(b, i / cols, i % cols);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &RadioGroup::itemClicked);
}

int RadioGroup::itemIndex() const { return m_group->checkedId(); }

void RadioGroup::setItemIndex(int index) {
    if (m_buttons.isEmpty()) return;
    if (index >= count()) index = count() - 1;
    if (index < 0) {
        // An exclusive group never unticks its last button by itself.
        m_group->setExclusive(false);
        for (QRadioButton* b : m_buttons) b->setChecked(false);
        m_group->setExclusive(true);
        return;
    }
    m_buttons[index]->setChecked(true);
}

}  // namespace mekuri
