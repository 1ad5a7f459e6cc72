#pragma once
// The single document: its path, title and modified flag, and the framework steps around
// the program's own load and save: new, open, save, save as and the question whether to
// save changes. The program's document class overrides serialize (and onNewDocument).

#include "platform/fx/Archive.h"
#include "platform/fx/Command.h"

#include <QObject>
#include <QString>

class QWidget;

namespace platform::fx {

class Document : public QObject, public CommandTarget {
    Q_OBJECT
public:
    Document();
    ~Document() override;

    QString pathName() const { return m_pathName; }
    // Takes path as the document's path and its file name as the title.
    void setPathName(const QString& path);
    QString title() const { return m_title; }
    void setTitle(const QString& title);
    bool isModified() const { return m_modified; }
    void setModifiedFlag(bool modified = true);

    // The window that owns the document's dialogs and boxes.
    void setDialogParent(QWidget* parent) { m_dialogParent = parent; }
    QWidget* dialogParent() const { return m_dialogParent; }

    // Empties the document for a new text: the title becomes "無題", no path, not modified.
    virtual bool onNewDocument();
    // Opens path: reports a file that cannot be opened and leaves the document as it was
    // (returns false, isModified() false); otherwise marks the document modified while
    // loading, serializes when the file is not empty, and clears the flag on success. A load
    // that fails is reported and returns false with the flag still set: the text is spoilt.
    virtual bool onOpenDocument(const QString& path);
    // Serializes into memory and replaces the file safely; reports failures.
    virtual bool onSaveDocument(const QString& path);
    // Empties the document's contents before a load.
    virtual void deleteContents() {}
    virtual void serialize(Archive& archive) = 0;

    // Saves to path; with an empty path asks for one first (save as). replace makes the
    // chosen path the document's.
    bool doSave(const QString& path, bool replace = true);
    // Save: to the document's path, or through save as when it has none or the file is
    // read-only.
    bool doFileSave();
    // Asks "… への変更を保存しますか?" when modified. false means: stop what asked.
    bool saveModified();

    // The document type string the program gives: fields separated by line feeds (window
    // title, document name, new-file name, filter name, filter extension, type id, type
    // name).
    void setDocString(const QString& docString) { m_docString = docString; }
    QString docTypeField(int index) const;
    // The file dialogs' filters: the document type's and "すべてのﾌｧｲﾙ (*.*)".
    QList<struct FileFilter> fileFilters() const;

    // Commands 57603 (save) and 57604 (save as).
    void onFileSave() { doFileSave(); }
    void onFileSaveAs() { doSave(QString()); }
    static const CommandMap& classCommands();
    const CommandMap& commandMap() const override { return classCommands(); }

signals:
    void titleChanged();
    void modifiedChanged(bool modified);

private:
    void reportSaveLoadFailure(const Archive& archive, bool saving, const QString& path);
    void reportFileError(int osError, const QString& path);

    QString m_pathName;
    QString m_title;
    bool m_modified = false;
    QWidget* m_dialogParent = nullptr;
    QString m_docString;
};

// The file name that save as proposes for an untitled document: the title cut before its
// first space, '#', '%', ';', '/' or '\', with the default extension (".txt").
QString proposedFileName(const QString& title, const QString& extension);

} // namespace platform::fx
