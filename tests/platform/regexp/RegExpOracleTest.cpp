// The regular-expression object against node's RegExp and String.prototype.replace: every
// case of tests/fixtures/regexp/replace.cases (written by tests/tools/gen_regexp_fixtures.js).

#include "platform/regexp/RegExp.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Case {
    int line = 0;
    std::u16string pattern, text, replacement, result;
    std::string flags;
    bool error = false;
    std::string known;
};

std::u16string unescape(const std::string& s)
{
    std::u16string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\') {
            out += char16_t(static_cast<unsigned char>(s[i]));
        } else if (s[i + 1] == '\\') {
            out += u'\\';
            ++i;
        } else {
            out += char16_t(std::stoul(s.substr(i + 2, 4), nullptr, 16));
            i += 5;
        }
    }
    return out;
}

std::string show(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s) {
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", unsigned(c));
            out += buf;
        }
    }
    return out;
}

std::vector<Case> readCases()
{
    std::ifstream in(QUILLET_FIXTURES "/regexp/replace.cases");
    std::vector<Case> cases;
    std::string line;
    int number = 0;
    Case c;
    bool open = false;
    auto flush = [&] {
        if (open)
            cases.push_back(c);
        c = Case();
        open = false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') {
            flush();
            continue;
        }
        const std::size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value = space == std::string::npos ? "" : line.substr(space + 1);
        if (!open) {
            open = true;
            c.line = number;
        }
        if (key == "pattern") c.pattern = unescape(value);
        else if (key == "flags") c.flags = value;
        else if (key == "text") c.text = unescape(value);
        else if (key == "replacement") c.replacement = unescape(value);
        else if (key == "result") c.result = unescape(value);
        else if (key == "error") c.error = true;
        else if (key == "known") c.known = value;
    }
    flush();
    return cases;
}

} // namespace

// Every case through PCRE2's interpreter and again through its machine code.
TEST(RegExpOracle, EveryCaseReplacesAsNodeDoes)
{
    using platform::regexp::RegExp;
    const std::vector<Case> cases = readCases();
    ASSERT_GT(cases.size(), 1000u);
    const std::size_t threshold = RegExp::machineCodeFromUnits();
    for (const std::size_t jitFrom : {std::size_t(-1), std::size_t(0)}) {
        RegExp::setMachineCodeFromUnits(jitFrom);
        int differ = 0, known = 0;
        for (const Case& c : cases) {
            RegExp re;
            re.setPattern(c.pattern);
            re.setGlobal(c.flags.find('g') != std::string::npos);
            re.setIgnoreCase(c.flags.find('i') != std::string::npos);
            re.setMultiline(c.flags.find('m') != std::string::npos);
            const auto r = re.replace(c.text, c.replacement);
            const bool same = c.error ? r.error.has_value() : (!r.error && r.text == c.result);
            if (!c.known.empty()) {
                // A kept difference: it must still be one, or its note goes.
                ++known;
                EXPECT_FALSE(same) << "line " << c.line << " now agrees with node: " << c.known;
                continue;
            }
            if (!same) {
                ++differ;
                ADD_FAILURE() << "line " << c.line << ": /" << show(c.pattern) << "/" << c.flags
                              << " on \"" << show(c.text) << "\" with \"" << show(c.replacement)
                              << "\"\n  node: " << (c.error ? "error" : "\"" + show(c.result) + "\"")
                              << "\n  ours: "
                              << (r.error ? "error " + show(r.error->description)
                                          : "\"" + show(r.text) + "\"");
            }
        }
        std::printf("%s: %zu cases, %d differ, %d kept differences\n",
                    jitFrom == 0 ? "machine code" : "interpreter", cases.size(), differ, known);
    }
    RegExp::setMachineCodeFromUnits(threshold);
}
