#include "dialogs/CTemplateOrganizeDlg.h"

#include "doc/TemplateFiles.h"
#include "dialogs/ResourceText.h"
#include "platform/Utf16.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"
#include "platform/fx/FileError.h"
#include "platform/fx/UiHost.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QMetaProperty>
#include <QStyledItemDelegate>

#include <cerrno>
#include <unistd.h>

namespace {

using platform::fx::MsgAnswer;
using platform::fx::MsgButtons;
using platform::fx::MsgIcon;

// Hands the edited label to the dialog instead of writing it into the item: the item
// changes only when the file was renamed.
class LabelEditDelegate : public QStyledItemDelegate {
public:
    explicit LabelEditDelegate(CTemplateOrganizeDlg* dialog)
        : QStyledItemDelegate(dialog), m_dialog(dialog) {}

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override
    {
        const QByteArray property = editor->metaObject()->userProperty().name();
        m_dialog->OnEndLabelEdit(editor->property(property).toString());
    }

private:
    CTemplateOrganizeDlg* m_dialog;
};

QString message(unsigned id, const QString& arg)
{
    return platform::toQString(
        res::formatString1(res::loadString(id), platform::toU16String(arg)));
}

} // namespace

CTemplateOrganizeDlg::CTemplateOrganizeDlg(std::vector<std::u16string>* names,
                                           std::string folder, QWidget* parent)
    : QDialog(parent), m_pTemplateNames(names), m_folder(std::move(folder))
{
    setWindowTitle(resourceText(res::IDS_TEMPLATE_ORGANIZE_CAPTION));
    platform::fx::nameControl(this, res::IDD_TEMPLATE_ORGANIZE);
    const platform::fx::DialogUnits units(font());

    auto* hint = new QLabel(resourceText(res::IDS_TEMPLATE_ORGANIZE_HINT), this);
    hint->setWordWrap(true);
    m_list = new QListWidget(this);
    platform::fx::nameControl(m_list, res::IDC_LIST);
    platform::fx::nameForScreenReaders(m_list, windowTitle(), hint->text());  // no label names it
    m_list->setViewMode(QListView::ListMode);
    m_list->setFlow(QListView::TopToBottom);
    m_list->setWrapping(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::SelectedClicked);
    m_list->setItemDelegate(new LabelEditDelegate(this));

    auto* rename = platform::fx::makePushButton(
        this, resourceText(res::IDS_TEMPLATE_ORGANIZE_RENAME), res::IDC_TEMPLATE_RENAME);
    auto* remove = platform::fx::makePushButton(
        this, resourceText(res::IDS_TEMPLATE_ORGANIZE_DELETE), res::IDC_TEMPLATE_DELETE);
    auto* close = platform::fx::makePushButton(
        this, resourceText(res::IDS_TEMPLATE_ORGANIZE_CLOSE), res::IDOK);
    close->setDefault(true);
    connect(rename, &QPushButton::clicked, this, &CTemplateOrganizeDlg::OnRename);
    connect(remove, &QPushButton::clicked, this, &CTemplateOrganizeDlg::OnDelete);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    platform::fx::sizeButtonsAlike({rename, remove, close}, units);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(rename);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.x(7), units.y(7), units.x(7), units.y(7));
    layout->setSpacing(units.y(4));
    layout->addWidget(hint);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(units.size(210, 139).expandedTo(layout->minimumSize()));
}

CTemplateOrganizeDlg::~CTemplateOrganizeDlg() = default;

void CTemplateOrganizeDlg::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        m_initialized = true;
        for (const std::u16string& name : *m_pTemplateNames) {
            auto* item = new QListWidgetItem(platform::toQString(name), m_list);
            item->setFlags(item->flags() | Qt::ItemIsEditable);
        }
    }
    QDialog::showEvent(event);
}

int CTemplateOrganizeDlg::selectedRow() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.front());
}

void CTemplateOrganizeDlg::reportFileError(int error)
{
    const auto cause = platform::fx::causeFromErrno(error);
    platform::fx::showMessage(this,
                              platform::toQString(platform::fx::fileErrorMessage(cause, {})),
                              MsgIcon::Stop);
}

void CTemplateOrganizeDlg::OnRename()
{
    m_list->setFocus();
    const int row = selectedRow();
    if (row < 0)
        return;
    m_list->editItem(m_list->item(row));
}

void CTemplateOrganizeDlg::OnEndLabelEdit(const QString& newName)
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const std::u16string newU = platform::toU16String(newName);
    const std::u16string oldU = platform::toU16String(m_list->item(row)->text());
    using Result = doc::RenameOutcome::Result;
    const doc::RenameOutcome outcome = doc::renameTemplate(m_folder, oldU, newU);
    switch (outcome.result) {
    case Result::Renamed:
        m_list->item(row)->setText(newName);
        if (std::size_t(row) < m_pTemplateNames->size())
            (*m_pTemplateNames)[std::size_t(row)] = newU;
        break;
    case Result::Duplicate:
        platform::fx::showMessage(this, resourceText(res::IDP_TEMPLATE_NAME_DUPLICATE),
                                  MsgIcon::Exclamation);
        break;
    case Result::Failed:
        reportFileError(outcome.error);
        break;
    case Result::Unchanged:
        break;
    }
}

void CTemplateOrganizeDlg::OnDelete()
{
    m_list->setFocus();
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString name = m_list->item(row)->text();
    if (platform::fx::showMessage(this, message(res::IDP_TEMPLATE_DELETE, name),
                                  MsgIcon::Exclamation, MsgButtons::YesNo) == MsgAnswer::No)
        return;
    const std::string path = doc::templatePath(m_folder, platform::toU16String(name));
    // A folder that happens to be named like a template is not removed.
    if (::unlink(path.c_str()) != 0) {
        reportFileError(errno);
        return;
    }
    delete m_list->takeItem(row);
    if (std::size_t(row) < m_pTemplateNames->size())
        m_pTemplateNames->erase(m_pTemplateNames->begin() + row);
}
