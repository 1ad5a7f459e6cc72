#pragma once
// "ひな型の整理": the templates by name, with rename (by editing an item's label) and delete.
// Each change is made to the template folder first; the list and the caller's name list
// follow only when the file operation succeeded.

#include <QDialog>

#include <string>
#include <vector>

class QListWidget;
class QPushButton;

class CTemplateOrganizeDlg : public QDialog {
    Q_OBJECT
public:
    // names: the frame's template names in menu order, changed in step with the files;
    // folder: the template folder they live in.
    CTemplateOrganizeDlg(std::vector<std::u16string>* names, std::string folder,
                         QWidget* parent = nullptr);
    ~CTemplateOrganizeDlg() override;

    QListWidget* list() const { return m_list; }

    // Rename button: starts editing the selected item's label.
    void OnRename();
    // The end of a label edit with the edit control's text. An edit ended by Escape never
    // gets here.
    void OnEndLabelEdit(const QString& newName);
    // Delete button: asks, then deletes the selected template.
    void OnDelete();

protected:
    void showEvent(QShowEvent* event) override;

private:
    int selectedRow() const;
    void reportFileError(int error);

    std::vector<std::u16string>* m_pTemplateNames;
    std::string m_folder;
    QListWidget* m_list = nullptr;
    bool m_initialized = false;
};
