// The import and export commands: Japanese files in any of their three encodings,
// Macintosh Japanese, and Unicode files with a byte-order mark. Imports insert at the
// caret as one undoable edit; exports write the whole text and change nothing else.

#include "view/CMyView.h"

#include "doc/JapaneseEncoding.h"
#include "doc/MacJapanese.h"
#include "doc/UnicodeFile.h"
#include "platform/Utf16.h"
#include "platform/fx/UiHost.h"
#include "platform/nls/CodePages.h"
#include "platform/shell/AtomicFile.h"
#include "platform/shell/Files.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <optional>

namespace {

using platform::toQString;

// The filters of the shared dialog: "name|pattern|name|pattern|...||".
QList<platform::fx::FileFilter> importExportFilters()
{
    QList<platform::fx::FileFilter> filters;
    const QStringList parts = toQString(res::loadString(res::IDS_IMPORT_EXPORT_FILTER))
                                  .split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        QString pattern = parts[i + 1];
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << platform::fx::FileFilter{parts[i], pattern};
    }
    return filters;
}

} // namespace

std::optional<QString> CMyView::AskImportExportPath(bool save)
{
    platform::fx::FileDialogRequest request;
    request.mode = save ? platform::fx::FileDialogRequest::Mode::Save
                        : platform::fx::FileDialogRequest::Mode::Open;
    request.filters = importExportFilters();
    request.defaultSuffix = QStringLiteral("txt");
    request.confirmOverwrite = true;
    return platform::fx::UiHost::current().fileDialog(window(), request);
}

void CMyView::ReportLastError(const QString& prefix, int error)
{
    // The system's own words for the error follow the prefix directly.
    const QString text = prefix + QString::fromLocal8Bit(std::strerror(error));
    platform::fx::showMessage(window(), text, platform::fx::MsgIcon::Stop);
}

void CMyView::ReportCommandFailure()
{
    platform::fx::showMessage(window(), toQString(res::loadString(res::AFX_IDP_COMMAND_FAILURE)),
                              platform::fx::MsgIcon::Stop);
}

std::optional<std::string> CMyView::ReadImportFile(ShortRead shortRead)
{
    const auto path = AskImportExportPath(false);
    if (!path)
        return std::nullopt;
    auto file = platform::shell::readWholeFile(QFile::encodeName(*path).toStdString(),
                                               kMaxFileBytes);
    // A read that stops early is told by the caller's rule, whatever stopped it.
    if (file.shortRead) {
        if (shortRead == ShortRead::Fails) {
            ReportCommandFailure();
            return std::nullopt;
        }
        return std::move(file.bytes);
    }
    if (file.error == EFBIG) {
        platform::fx::showMessage(window(), toQString(res::loadString(res::AFX_IDP_FILE_TOO_LARGE)),
                                  platform::fx::MsgIcon::Exclamation);
        return std::nullopt;
    }
    if (file.error) {
        ReportLastError(toQString(res::loadString(res::IDP_IMPORT_FAILED)), file.error);
        return std::nullopt;
    }
    return std::move(file.bytes);
}

void CMyView::OnImportJapanese()
{
    auto bytes = ReadImportFile(ShortRead::Fails);
    if (!bytes)
        return;
    // The text ends at the first zero byte, as the other imports' texts do.
    if (const std::size_t zero = bytes->find('\0'); zero != std::string::npos)
        bytes->resize(zero);
    // Detection and conversion run whatever the code page and the option say.
    doc::ConvertJapaneseToShiftJis(*bytes);
    const auto decoded = platform::nls::decode(932, *bytes);
    ReplaceSelWithUndo(decoded ? std::u16string_view(decoded->text) : std::u16string_view());
}

void CMyView::OnImportMacJapanese()
{
    auto bytes = ReadImportFile(ShortRead::ImportsWhatArrived);
    if (!bytes)
        return;
    const std::size_t zero = bytes->find('\0');
    if (zero != std::string::npos)
        bytes->resize(zero);
    ReplaceSelWithUndo(doc::decodeMacJapanese(*bytes));
}

void CMyView::OnImportUnicode()
{
    const auto bytes = ReadImportFile(ShortRead::ImportsWhatArrived);
    if (!bytes)
        return;
    const auto text = doc::decodeUnicodeFile(*bytes);
    if (!text) {
        ReportCommandFailure();
        return;
    }
    ReplaceSelWithUndo(*text);
}

void CMyView::WriteExport(const QString& path, const std::string& bytes)
{
    // The file is replaced whole or not at all: a failed export never leaves a half-written
    // file where the user's old one was.
    const int error =
        platform::shell::writeFileAtomically(QFile::encodeName(path).toStdString(), bytes);
    if (error != 0)
        ReportLastError(toQString(res::loadString(res::IDP_EXPORT_FAILED)), error);
}

void CMyView::OnExportMacJapanese()
{
    const auto path = AskImportExportPath(true);
    if (!path)
        return;
    const std::u16string text = this->text();
    if (!ConfirmLossyMacJapaneseExport(text))
        return;
    WriteExport(*path, doc::encodeMacJapanese(text));
}

void CMyView::OnExportUnicode(unsigned id)
{
    const auto path = AskImportExportPath(true);
    if (!path)
        return;
    const doc::UnicodeExportForm form =
        id == res::ID_EXPORT_UNICODE      ? doc::UnicodeExportForm::Utf16LittleEndian
        : id == res::ID_EXPORT_UNICODE_BE ? doc::UnicodeExportForm::Utf16BigEndian
                                          : doc::UnicodeExportForm::Utf8WithMark;
    const auto bytes = doc::encodeUnicodeFile(text(), form);
    if (!bytes) {
        ReportCommandFailure();
        return;
    }
    WriteExport(*path, *bytes);
}
