// The conversion and insertion commands: line-end normalization, numeric character
// references, code input and the date and time. Each changes the text only through
// ReplaceSelWithUndo, so it is undone in the usual two steps (the insertion, then what it
// replaced).

#include "view/CMyView.h"

#include "dialogs/CodeInputDlg.h"
#include "platform/Utf16.h"
#include "platform/fx/UiHost.h"
#include "view/TextConversions.h"
#include "platform/fx/WaitCursor.h"

#include <QDialog>

#include <ctime>
#include <memory>

void CMyView::OnNormalizeLineEnds()
{
    platform::fx::WaitCursor wait;
    const std::u16string source = text();
    // Counted first, then made in one buffer of the final size.
    const std::size_t length = view::NormalizeLineEnds(source, nullptr);
    auto result = std::make_unique_for_overwrite<char16_t[]>(length + 1);
    view::NormalizeLineEnds(source, result.get());

    setRedraw(false);
    setSel(0, -1);
    scrollCaret();
    ReplaceSelWithUndo(std::u16string_view(result.get(), length));
    result.reset();
    setRedraw(true);
}

void CMyView::OnNumericCharRef()
{
    ReplaceSelWithUndo(
        view::NumericCharRefs(platform::toU16String(GetSelectedText()), m_nNcrRadix != 0));
}

QString CMyView::GetSelectedText() const
{
    return selectedText();
}

void CMyView::OnCodeInput()
{
    CCodeInputDlg dialog(window());
    if (platform::fx::UiHost::current().runModal(dialog) != QDialog::Accepted)
        return;
    // Out of range or no number at all: nothing happens and nothing is said.
    if (const auto unit = view::CodeInputUnit(platform::toU16String(dialog.m_strCode)))
        ReplaceSelWithUndo(std::u16string(1, *unit));
}

void CMyView::OnInsertDateTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const view::LocalTime time{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                               local.tm_hour, local.tm_min, local.tm_wday};
    // The weekday's language comes from the code page through ICU; the process's own
    // locale is never touched.
    ReplaceSelWithUndo(view::FormatDateTime(time, m_nCodePage));
}
