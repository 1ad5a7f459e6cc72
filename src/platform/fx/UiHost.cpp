#include "platform/fx/UiHost.h"

#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace platform::fx {

namespace {

UiHost* g_installedHost = nullptr;

QMessageBox::Icon toQtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Stop: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Qt filters by the patterns in the last parentheses of each entry. The patterns are given
// there, apart from the name, and the dialog hides them (HideNameFilterDetails), so the
// user reads the program's own name ("すべてのﾌｧｲﾙ (*.*)") while the dialog filters by the
// pattern. "*.*" means every file, as on Windows; here it would leave out names without a
// dot, so it becomes "*".
QString filterString(const QList<FileFilter>& filters)
{
    QStringList parts;
    for (const FileFilter& f : filters) {
        QStringList patterns = f.pattern.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (QString& p : patterns)
            if (p == QLatin1String("*.*"))
                p = QStringLiteral("*");
        parts << QStringLiteral("%1 (%2)").arg(f.name, patterns.join(QLatin1Char(' ')));
    }
    return parts.join(QStringLiteral(";;"));
}

} // namespace

UiHost::~UiHost() = default;

UiHost& UiHost::current()
{
    static QtUiHost realHost;
    return g_installedHost ? *g_installedHost : realHost;
}

void UiHost::setCurrent(UiHost* host)
{
    g_installedHost = host;
}

MsgAnswer QtUiHost::messageBox(QWidget* parent, const MessageBoxRequest& request)
{
    QMessageBox box(toQtIcon(request.icon), request.caption, request.text,
                    QMessageBox::NoButton, parent);
    struct Pair { QMessageBox::StandardButton button; MsgAnswer answer; };
    QList<Pair> buttons;
    switch (request.buttons) {
    case MsgButtons::Ok:
        buttons = {{QMessageBox::Ok, MsgAnswer::Ok}};
        break;
    case MsgButtons::OkCancel:
        buttons = {{QMessageBox::Ok, MsgAnswer::Ok}, {QMessageBox::Cancel, MsgAnswer::Cancel}};
        break;
    case MsgButtons::YesNo:
        buttons = {{QMessageBox::Yes, MsgAnswer::Yes}, {QMessageBox::No, MsgAnswer::No}};
        break;
    case MsgButtons::YesNoCancel:
        buttons = {{QMessageBox::Yes, MsgAnswer::Yes},
                   {QMessageBox::No, MsgAnswer::No},
                   {QMessageBox::Cancel, MsgAnswer::Cancel}};
        break;
    }
    // The Japanese button texts of the program's own boxes.
    for (const Pair& p : buttons) {
        QPushButton* b = box.addButton(p.button);
        switch (p.button) {
        case QMessageBox::Yes: b->setText(QStringLiteral("はい(&Y)")); break;
        case QMessageBox::No: b->setText(QStringLiteral("いいえ(&N)")); break;
        case QMessageBox::Cancel: b->setText(QStringLiteral("キャンセル")); break;
        default: break;
        }
    }
    box.setDefaultButton(buttons.front().button);
    if (request.buttons == MsgButtons::OkCancel || request.buttons == MsgButtons::YesNoCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const Pair& p : buttons)
        if (p.button == clicked)
            return p.answer;
    // Closed without a button: the box's escape answer.
    if (request.buttons == MsgButtons::YesNo)
        return MsgAnswer::No;
    return request.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
}

std::optional<QString> QtUiHost::fileDialog(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(filterString(request.filters));
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (request.mode == FileDialogRequest::Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    }
    if (!request.proposedPath.isEmpty())
        dialog.selectFile(request.proposedPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front();
}

std::optional<QFont> QtUiHost::fontDialog(QWidget* parent, const FontDialogRequest& request)
{
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, request.initial, parent, request.title);
    if (!ok)
        return std::nullopt;
    return font;
}

int QtUiHost::runModal(QDialog& dialog)
{
    return dialog.exec();
}

QWidget* dialogParentOf(QWidget* widget)
{
    QWidget* top = widget ? widget->window() : nullptr;
    return top && top->isVisible() ? top : nullptr;
}

MsgAnswer showMessage(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons)
{
    MessageBoxRequest request;
    request.text = text;
    request.caption = QCoreApplication::applicationName();
    request.icon = icon;
    request.buttons = buttons;
    return UiHost::current().messageBox(parent, request);
}

} // namespace platform::fx
