#pragma once
// Every modal interaction of the program goes through one UiHost: message boxes, the file
// and font dialogs and running a modal dialog object. The real host shows Qt dialogs; a
// scripted host answers from a script and records what was shown, so widget tests can run
// without anybody at the keyboard.

#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QDialog;
class QWidget;

namespace platform::fx {

enum class MsgIcon { None, Stop, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageBoxRequest {
    QString text;
    QString caption;  // "Quillet" for every box of the program
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

struct FileFilter {
    QString name;     // "テキスト ファイル (*.txt)"
    QString pattern;  // "*.txt"
};

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString title;
    QList<FileFilter> filters;
    QString defaultSuffix;    // without the dot: "txt"
    QString proposedPath;     // file name or path shown at first
    bool confirmOverwrite = true;  // save: ask before replacing an existing file
};

struct FontDialogRequest {
    QString title;
    QFont initial;
};

class UiHost {
public:
    virtual ~UiHost();

    virtual MsgAnswer messageBox(QWidget* parent, const MessageBoxRequest& request) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> fileDialog(QWidget* parent,
                                              const FileDialogRequest& request) = 0;
    virtual std::optional<QFont> fontDialog(QWidget* parent,
                                            const FontDialogRequest& request) = 0;
    // Runs dialog modally; returns QDialog::Accepted or QDialog::Rejected.
    virtual int runModal(QDialog& dialog) = 0;

    // The host in use; the real one unless a test installed another.
    static UiHost& current();
    // Installs host (not owned); nullptr returns to the real host.
    static void setCurrent(UiHost* host);
};

// The host that shows real Qt dialogs.
class QtUiHost : public UiHost {
public:
    MsgAnswer messageBox(QWidget* parent, const MessageBoxRequest& request) override;
    std::optional<QString> fileDialog(QWidget* parent,
                                      const FileDialogRequest& request) override;
    std::optional<QFont> fontDialog(QWidget* parent, const FontDialogRequest& request) override;
    int runModal(QDialog& dialog) override;
};

// Shorthand for the program's message boxes: caption "Quillet".
MsgAnswer showMessage(QWidget* parent, const QString& text, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok);

// The parent for a dialog or box that widget opens: its main window once that is on screen;
// nullptr before (a file named on the command line, settings read while the view is being
// made), so that the dialog comes up on its own.
QWidget* dialogParentOf(QWidget* widget);

} // namespace platform::fx
