#include "platform/profile/IniText.h"

#include "platform/Utf8.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include <algorithm>

namespace platform::profile {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// CR counts as space on read so that a stray CR before a line end is not part of a value;
// it can never be written inside one.
bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

bool isSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\r';
}

template <typename Char>
std::basic_string_view<Char> trimmed(std::basic_string_view<Char> s)
{
    while (!s.empty() && isSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

bool hasUnpairedSurrogate(std::u16string_view s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (U16_IS_LEAD(s[i]) && i + 1 < s.size() && U16_IS_TRAIL(s[i + 1]))
            ++i;
        else if (U16_IS_SURROGATE(s[i]))
            return true;
    }
    return false;
}

// The form names are compared in: trimmed, then simple-case-folded code point by code point.
std::u16string folded(std::u16string_view name)
{
    name = trimmed(name);
    std::u16string out;
    out.reserve(name.size());
    const auto length = static_cast<int32_t>(name.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U16_NEXT(name.data(), i, length, c);
        c = u_foldCase(c, U_FOLD_CASE_DEFAULT);
        if (U_IS_BMP(c)) {
            out.push_back(static_cast<char16_t>(c));
        } else {
            out.push_back(U16_LEAD(c));
            out.push_back(U16_TRAIL(c));
        }
    }
    return out;
}

bool sameName(std::string_view utf8Name, const std::u16string& foldedName)
{
    return folded(fromUtf8Lenient(utf8Name)) == foldedName;
}

enum class LineKind { Blank, Header, DamagedHeader, Comment, Entry, Other };

struct LineShape {
    LineKind kind = LineKind::Other;
    std::string_view name;       // Header, Entry: trimmed
    std::size_t valueStart = 0;  // Entry: offset of the value, just after '='
};

LineShape shapeOf(std::string_view line)
{
    LineShape shape;
    const std::size_t indent = std::find_if(line.begin(), line.end(),
                                            [](char c) { return !isSpace(c); }) - line.begin();
    const std::string_view rest = line.substr(indent);
    if (rest.empty()) {
        shape.kind = LineKind::Blank;
    } else if (rest.front() == '[') {
        const std::size_t close = rest.find(']');
        if (close == std::string_view::npos) {
            shape.kind = LineKind::DamagedHeader;
        } else {
            shape.kind = LineKind::Header;
            shape.name = trimmed(rest.substr(1, close - 1));
        }
    } else if (rest.front() == ';') {
        shape.kind = LineKind::Comment;
    } else if (const std::size_t equals = rest.find('='); equals != std::string_view::npos) {
        shape.name = trimmed(rest.substr(0, equals));
        if (!shape.name.empty()) {
            shape.kind = LineKind::Entry;
            shape.valueStart = indent + equals + 1;
        }
    }
    return shape;
}

bool isSectionBoundary(LineKind kind)
{
    return kind == LineKind::Header || kind == LineKind::DamagedHeader;
}

std::u16string decodedValue(std::string_view stored)
{
    stored = trimmed(stored);
    if (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"')
        stored = stored.substr(1, stored.size() - 2);
    return fromUtf8Lenient(stored);
}

bool holdsLineEnd(std::u16string_view s)
{
    return s.find_first_of(u"\r\n") != std::u16string_view::npos;
}

std::optional<std::string> storedValue(std::u16string_view value)
{
    if (holdsLineEnd(value))
        return std::nullopt;
    std::string text = toUtf8(value);
    const bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
    if (!text.empty() && (isSpace(text.front()) || isSpace(text.back()) || quoted))
        text = '"' + text + '"';
    return text;
}

std::optional<std::string> storedSectionName(std::u16string_view section)
{
    section = trimmed(section);
    if (section.empty() || holdsLineEnd(section) || section.find(u']') != std::u16string_view::npos
        || hasUnpairedSurrogate(section))
        return std::nullopt;
    return toUtf8(section);
}

std::optional<std::string> storedKeyName(std::u16string_view key)
{
    key = trimmed(key);
    if (key.empty() || key.front() == u'[' || key.front() == u';' || holdsLineEnd(key)
        || key.find(u'=') != std::u16string_view::npos || hasUnpairedSurrogate(key))
        return std::nullopt;
    return toUtf8(key);
}

std::optional<std::string> storedEntry(const IniEntry& entry)
{
    const std::optional<std::string> key = storedKeyName(entry.first);
    const std::optional<std::string> value = storedValue(entry.second);
    if (!key || !value)
        return std::nullopt;
    return *key + '=' + *value;
}

} // namespace

IniText::IniText(std::string_view bytes)
{
    if (bytes.starts_with(kBom)) {
        m_bom = true;
        bytes.remove_prefix(kBom.size());
    }
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            m_lines.push_back({std::string(bytes), std::string()});
            break;
        }
        const bool crlf = lf > 0 && bytes[lf - 1] == '\r';
        const std::size_t textLength = crlf ? lf - 1 : lf;
        m_lines.push_back({std::string(bytes.substr(0, textLength)), crlf ? "\r\n" : "\n"});
        bytes.remove_prefix(lf + 1);
    }
    if (!m_lines.empty() && !m_lines.front().end.empty())
        m_newline = m_lines.front().end;
}

std::string IniText::bytes() const
{
    std::string out = m_bom ? std::string(kBom) : std::string();
    for (const Line& line : m_lines) {
        out += line.text;
        out += line.end;
    }
    return out;
}

std::vector<IniText::Block> IniText::blocksNamed(const std::u16string& foldedSection) const
{
    std::vector<Block> blocks;
    bool inMatch = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const LineShape shape = shapeOf(m_lines[i].text);
        if (!isSectionBoundary(shape.kind))
            continue;
        if (inMatch)
            blocks.back().end = i;
        inMatch = shape.kind == LineKind::Header && sameName(shape.name, foldedSection);
        if (inMatch)
            blocks.push_back({i, m_lines.size()});
    }
    return blocks;
}

std::optional<std::size_t> IniText::entryIn(const Block& block, const std::u16string& foldedKey) const
{
    for (std::size_t i = block.header + 1; i < block.end; ++i) {
        const LineShape shape = shapeOf(m_lines[i].text);
        if (shape.kind == LineKind::Entry && sameName(shape.name, foldedKey))
            return i;
    }
    return std::nullopt;
}

std::size_t IniText::contentEnd(const Block& block) const
{
    std::size_t end = block.end;
    while (end > block.header + 1 && shapeOf(m_lines[end - 1].text).kind == LineKind::Blank)
        --end;
    return end;
}

void IniText::insertLines(std::size_t at, std::vector<std::string> texts)
{
    // A last line without a line end gets one before anything follows it.
    if (at > 0 && m_lines[at - 1].end.empty())
        m_lines[at - 1].end = m_newline;
    std::vector<Line> lines;
    lines.reserve(texts.size());
    for (std::string& text : texts)
        lines.push_back({std::move(text), m_newline});
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at),
                   std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
}

void IniText::appendSection(const std::string& header, std::vector<std::string> texts)
{
    // A blank line sets the new section apart from whatever came before.
    if (!m_lines.empty() && shapeOf(m_lines.back().text).kind != LineKind::Blank)
        texts.insert(texts.begin(), {std::string(), '[' + header + ']'});
    else
        texts.insert(texts.begin(), '[' + header + ']');
    insertLines(m_lines.size(), std::move(texts));
}

std::optional<std::u16string> IniText::value(std::u16string_view section, std::u16string_view key) const
{
    const std::u16string foldedKey = folded(key);
    if (foldedKey.empty())
        return std::nullopt;
    for (const Block& block : blocksNamed(folded(section))) {
        if (const std::optional<std::size_t> line = entryIn(block, foldedKey)) {
            const std::string& text = m_lines[*line].text;
            return decodedValue(std::string_view(text).substr(shapeOf(text).valueStart));
        }
    }
    return std::nullopt;
}

bool IniText::setValue(std::u16string_view section, std::u16string_view key, std::u16string_view value)
{
    const std::optional<std::string> sectionName = storedSectionName(section);
    const std::optional<std::string> keyName = storedKeyName(key);
    const std::optional<std::string> stored = storedValue(value);
    if (!sectionName || !keyName || !stored)
        return false;

    const std::u16string foldedKey = folded(key);
    const std::vector<Block> blocks = blocksNamed(folded(section));
    for (const Block& block : blocks) {
        if (const std::optional<std::size_t> line = entryIn(block, foldedKey)) {
            // Keep the key as the file spells it, with whatever spacing precedes the value.
            std::string& text = m_lines[*line].text;
            std::size_t keep = shapeOf(text).valueStart;
            while (keep < text.size() && (text[keep] == ' ' || text[keep] == '\t'))
                ++keep;
            text.resize(keep);
            text += *stored;
            return true;
        }
    }
    std::string entry = *keyName + '=' + *stored;
    if (blocks.empty())
        appendSection(*sectionName, {std::move(entry)});
    else
        insertLines(contentEnd(blocks.front()), {std::move(entry)});
    return true;
}

bool IniText::removeKey(std::u16string_view section, std::u16string_view key)
{
    if (!storedSectionName(section) || !storedKeyName(key))
        return false;
    const std::u16string foldedKey = folded(key);
    const std::vector<Block> blocks = blocksNamed(folded(section));
    // Backwards, so that erasing a line leaves the indices still to visit valid.
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block) {
        for (std::size_t i = block->end; i-- > block->header + 1;) {
            const LineShape shape = shapeOf(m_lines[i].text);
            if (shape.kind == LineKind::Entry && sameName(shape.name, foldedKey))
                m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    return true;
}

bool IniText::removeSection(std::u16string_view section)
{
    if (!storedSectionName(section))
        return false;
    const std::vector<Block> blocks = blocksNamed(folded(section));
    for (auto block = blocks.rbegin(); block != blocks.rend(); ++block)
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(block->header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(block->end));
    return true;
}

bool IniText::replaceSection(std::u16string_view section, std::span<const IniEntry> entries)
{
    const std::optional<std::string> sectionName = storedSectionName(section);
    if (!sectionName)
        return false;
    std::vector<std::string> texts;
    texts.reserve(entries.size());
    for (const IniEntry& entry : entries) {
        std::optional<std::string> text = storedEntry(entry);
        if (!text)
            return false;
        texts.push_back(std::move(*text));
    }

    const std::vector<Block> blocks = blocksNamed(folded(section));
    if (blocks.empty()) {
        appendSection(*sectionName, std::move(texts));
        return true;
    }
    // Later duplicates first, so that the first block's indices stay valid.
    for (std::size_t b = blocks.size(); b-- > 1;)
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(blocks[b].header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(blocks[b].end));
    const Block& first = blocks.front();
    m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(first.header + 1),
                  m_lines.begin() + static_cast<std::ptrdiff_t>(contentEnd(first)));
    insertLines(first.header + 1, std::move(texts));
    return true;
}

} // namespace platform::profile
