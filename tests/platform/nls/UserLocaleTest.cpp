// Which collation the environment names for the user.

#include "platform/nls/UserLocale.h"

#include "LocaleEnvironment.h"

#include <gtest/gtest.h>

#include <string>

using platform::nls::userCollationLocale;

TEST(UserLocale, CollationFollowsTheFirstSetVariableWithoutCodeSetOrModifier)
{
    struct Case {
        nlstest::LocaleVariables variables;
        std::string locale;
    };
    const Case cases[] = {
        {{}, ""},
        {{{"LANG", "ja_JP.UTF-8"}}, "ja_JP"},
        {{{"LANG", "ja_JP.eucJP"}}, "ja_JP"},
        {{{"LANG", "ja"}}, "ja"},
        {{{"LC_ALL", "C"}, {"LANG", "ja_JP.UTF-8"}}, ""},
        {{{"LC_ALL", "POSIX"}, {"LC_COLLATE", "ja_JP.UTF-8"}}, ""},
        {{{"LANG", "C.UTF-8"}}, ""},
        {{{"LC_COLLATE", "C"}, {"LANG", "ja_JP.UTF-8"}}, ""},
        {{{"LC_ALL", "tr_TR.UTF-8"}, {"LC_COLLATE", "de_DE.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, "tr_TR"},
        {{{"LC_COLLATE", "de_DE.UTF-8"}, {"LANG", "ja_JP.UTF-8"}}, "de_DE"},
        // An empty value is no value; the messages' variables do not choose the collation.
        {{{"LC_ALL", ""}, {"LC_COLLATE", ""}, {"LANG", "ja_JP.UTF-8"}}, "ja_JP"},
        {{{"LANG", "ja_JP.UTF-8"}, {"LC_MESSAGES", "de_DE.UTF-8"}, {"LANGUAGE", "fr:en"}}, "ja_JP"},
        {{{"LC_MESSAGES", "de_DE.UTF-8"}, {"LANGUAGE", "fr"}}, ""},
        {{{"LANG", "de_DE@euro"}}, "de_DE"},
        {{{"LANG", "sr_RS.UTF-8@latin"}}, "sr_RS"},
        {{{"LANG", "zh_CN.GB18030"}}, "zh_CN"},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const auto& [name, value] : c.variables)
            shown += std::string(name) + "=" + value + " ";
        const nlstest::LocaleEnvironment environment(c.variables);
        EXPECT_EQ(userCollationLocale(), c.locale) << shown;
    }
}
