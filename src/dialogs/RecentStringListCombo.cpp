// The one part of the recent-string list that touches a widget.
#include "dialogs/RecentStringList.h"

#include "platform/Utf16.h"

#include <QComboBox>
#include <QLineEdit>

void CRecentStringList::FillComboBox(QComboBox* comboBox) const
{
    const QString kept = comboBox->currentText();
    comboBox->clear();
    comboBox->setEditText(kept);
    for (const std::u16string& entry : entries())
        if (!entry.empty())
            comboBox->addItem(platform::toQString(entry));
    // Adding to an empty list selects the first item, which would replace the edit field.
    comboBox->setCurrentIndex(-1);
    comboBox->setEditText(kept);
}
