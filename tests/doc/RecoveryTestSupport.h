#pragma once
// A private recovery folder for each test of the record engine (in the atomic writer's test
// folder), with small readers of what the folder holds.

#include "doc/RecoveryFolder.h"
#include "doc/RecoveryRecord.h"
#include "../platform/shell/SaveFolderTest.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace quillet_test {

class RecoveryFolderTest : public SaveFolderTest {
protected:
    void SetUp() override
    {
        SaveFolderTest::SetUp();
        folder = (dir / "state/Quillet/recovery").string();
    }

    // A record whose text tells version apart, of about units UTF-16 units, with a lone
    // surrogate and a NUL in it.
    static doc::RecoveryRecord sample(int version, std::size_t units = 64)
    {
        doc::RecoveryRecord r;
        r.path = u"/home/user/メモ.txt";
        r.codePage = 932;
        r.savedAt = 1700000000 + version;
        r.text = u"版 " + std::u16string(1, char16_t(u'0' + version % 10)) +
                 std::u16string(u"\r\n\xD800\0x", 5);
        r.text.resize(std::max(units, r.text.size()), char16_t(u'a' + version % 26));
        return r;
    }
    // A record without its text, as a scan reads it.
    static doc::RecoveryRecord headOf(doc::RecoveryRecord r)
    {
        r.text.clear();
        return r;
    }

    // Names in the folder, sorted.
    std::vector<std::string> names() const
    {
        std::vector<std::string> found;
        std::error_code ignored;
        for (const auto& e : std::filesystem::directory_iterator(folder, ignored))
            found.push_back(e.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }
    std::string folder;
};

} // namespace quillet_test
