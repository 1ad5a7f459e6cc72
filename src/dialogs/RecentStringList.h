#pragma once
// A list of the last strings used in a field, most recent first, kept in one section of the
// settings file under numbered keys ("pattern1" .. "pattern10"). Unlike the recent-file
// list it compares exactly (case matters) and takes an empty string like any other.

#include <string>
#include <vector>

class QComboBox;
namespace platform::profile { class IniFile; }

class CRecentStringList {
public:
    // entryFormat holds one "%d", replaced by the 1-based entry number.
    CRecentStringList(std::u16string section, std::u16string entryFormat, int size);
    virtual ~CRecentStringList();

    // text becomes entry 0. An equal entry among all but the last moves up from where it
    // was (the entries above it move down one); otherwise every entry moves down one and
    // the last is dropped.
    virtual void Add(const std::u16string& text);
    // Entry i from key format(i + 1); a missing key gives an empty entry.
    virtual void ReadList(const platform::profile::IniFile& profile);
    // The section rewritten: every non-empty entry i under key format(i + 1), empty entries
    // leaving gaps in the numbering.
    virtual void WriteList(platform::profile::IniFile& profile) const;
    // Empties the combo box's list, keeping the text of its edit field, then lists every
    // non-empty entry, most recent first.
    void FillComboBox(QComboBox* comboBox) const;

    const std::vector<std::u16string>& entries() const { return m_entries; }
    std::u16string keyOf(int index) const;

private:
    std::u16string m_section;
    std::u16string m_entryFormat;
    std::vector<std::u16string> m_entries;
};
