// The message tables: every language has every message, with English's
// places and its own word forms, in its own words; the forms after a number.
#include "messages.hpp"

#include <gtest/gtest.h>

#include <iostream>

using namespace kavex::detail;

TEST(Messages, EveryLanguageHasEveryMessageWithEnglishPlacesInItsOwnWords) {
    std::vector<tables::entry> english;
    ASSERT_FALSE(tables::read(tables::built_in("en"), "en", true, english));
    for (const std::string& language : tables::languages()) {
        std::vector<tables::entry> entries;
        const tables::problem p = tables::read(tables::built_in(language), language, true, entries);
        EXPECT_FALSE(p) << language << ": " << tables::worded(p);
        int checked = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            checked += entries[i].checked;
            if (language != "en") {
                EXPECT_NE(entries[i].text, english[i].text) << language << " has " << message_names()[i] << " in English";
            }
        }
        std::cout << language << ": " << entries.size() << " messages, " << checked << " checked by a native speaker\n";
    }
    EXPECT_EQ(message_names().size(), static_cast<std::size_t>(text::count));
}

TEST(Messages, ATableWithWrongPlacesFormsOrNamesIsRefusedWithTheLineThatIsWrong) {
    const struct {
        const char* table;
        const char* language;
        text problem;
        int line;
    } cases[] = {
        {"# a comment\n\nmove_refused = to ({x}, {y})\n", "en", text::messages_places, 3},
        {"box_outside = {pen_x} {pen_y} {x} {y} {width} {height} {width:one|two}\n", "pl", text::messages_forms, 1},
        {"no_such_message = x\n", "hu", text::messages_unknown, 1},
        {"refresh_unopened\n", "cs", text::messages_line, 1},
    };
    for (const auto& c : cases) {
        std::vector<tables::entry> entries;
        const tables::problem p = tables::read(c.table, c.language, false, entries);
        EXPECT_EQ(p.message, c.problem) << c.table;
        EXPECT_EQ(p.line, c.line) << c.table;
    }
    std::vector<tables::entry> entries;
    // As Notepad saves it: a byte order mark, CR LF.
    EXPECT_EQ(tables::read("\xEF\xBB\xBFrefresh_unopened [checked] = ok\r\n", "sk", true, entries).message,
              text::messages_missing);
    EXPECT_EQ(entries[static_cast<int>(text::refresh_unopened)].text, "ok");
    EXPECT_TRUE(entries[static_cast<int>(text::refresh_unopened)].checked);
}

TEST(Messages, TheWordAfterANumberTakesItsLanguagesForm) {
    const struct {
        const char* language;
        std::vector<long long> numbers;
        std::vector<int> forms;
    } cases[] = {
        {"en", {1, 0, 2, -1, 21}, {0, 1, 1, 0, 1}},
        {"hu", {1, 2, 5}, {0, 0, 0}},
        {"cs", {1, 2, 4, 5, 0, 22}, {0, 1, 1, 2, 2, 2}},
        {"sk", {1, 3, 11}, {0, 1, 2}},
        {"pl", {1, 2, 4, 5, 12, 14, 22, 25, 112, 122, 0}, {0, 1, 1, 2, 2, 2, 1, 2, 2, 1, 2}},
    };
    for (const auto& c : cases)
        for (std::size_t i = 0; i < c.numbers.size(); ++i)
            EXPECT_EQ(tables::form_for(c.language, c.numbers[i]), c.forms[i]) << c.language << " " << c.numbers[i];
    EXPECT_EQ(tables::code_of("hu_HU.UTF-8"), "hu");
    EXPECT_EQ(tables::code_of("PL"), "pl");
    EXPECT_EQ(tables::code_of("cs-CZ"), "cs");
    EXPECT_EQ(tables::code_of("sk@latin"), "sk");
    EXPECT_EQ(tables::code_of("huh"), "");
    EXPECT_EQ(tables::code_of("de_DE"), "");
    EXPECT_EQ(tables::code_of("C"), "");
}
