// The documents a user reads: the reference names every public name of the
// header, the README shows every example with its picture, every link leads
// to a file or a heading, and every example includes the header the same way.
// And the facts that stand in more than one place agree: the key codes of the
// header, the reference and the library's table; the version; the map of the
// library's files; the list of drawing operations that the tests make.
#include "../drawing_operations.hpp"
#include "font.hpp"
#include "pixels.hpp"
#include "sdl_side.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path source_dir = KAVEX_SOURCE_DIR;
const fs::path build_dir = KAVEX_BUILD_DIR;

std::string read(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<fs::path> files_in(const fs::path& dir, const std::string& extension) {
    std::vector<fs::path> out;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == extension) out.push_back(entry.path());
    return out;
}

// The sources of the list's programs of one kind ("example" or "installed"), as
// the build wrote the list (programs.tsv).
std::vector<fs::path> listed_programs(const std::string& kind) {
    std::istringstream rows(read(build_dir / "programs.tsv"));
    std::vector<fs::path> out;
    std::string row;
    std::getline(rows, row);  // the header line
    while (std::getline(rows, row)) {
        std::istringstream fields(row);
        std::string name, source, its_kind;
        std::getline(fields, name, '\t');
        std::getline(fields, source, '\t');
        std::getline(fields, its_kind, '\t');
        if (its_kind == kind) out.push_back(source_dir / source);
    }
    return out;
}

// Every match of the pattern's first group in the text.
std::vector<std::string> captures(const std::string& text, const std::regex& pattern) {
    std::vector<std::string> out;
    for (std::sregex_iterator m(text.begin(), text.end(), pattern), end; m != end; ++m) out.push_back((*m)[1]);
    return out;
}

bool is_word_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// --- The header's public names -------------------------------------------

// Identifiers and single punctuation characters, without comments, string
// literals or preprocessor lines.
std::vector<std::string> tokens_of(const std::string& code) {
    std::vector<std::string> out;
    bool line_start = true;
    for (std::size_t i = 0; i < code.size();) {
        const char c = code[i];
        const bool directive = c == '#' && line_start;
        if (!std::isspace(static_cast<unsigned char>(c))) line_start = false;
        if (code.compare(i, 2, "//") == 0 || directive) {
            i = code.find('\n', i);
        } else if (code.compare(i, 2, "/*") == 0) {
            i = code.find("*/", i);
            if (i != std::string::npos) i += 2;
        } else if (c == '"' || c == '\'') {
            for (++i; i < code.size() && code[i] != c; ++i)
                if (code[i] == '\\') ++i;
            ++i;
        } else if (is_word_char(c)) {
            std::size_t end = i;
            while (end < code.size() && is_word_char(code[end])) ++end;
            out.push_back(code.substr(i, end - i));
            i = end;
        } else {
            if (c == '\n') line_start = true;
            if (!std::isspace(static_cast<unsigned char>(c))) out.push_back(std::string(1, c));
            ++i;
        }
    }
    return out;
}

bool is_identifier(const std::string& t) {
    return !t.empty() && (std::isalpha(static_cast<unsigned char>(t[0])) || t[0] == '_');
}

// The tokens of a declaration without a leading `template <...>`.
std::vector<std::string> without_template(const std::vector<std::string>& statement) {
    if (statement.empty() || statement[0] != "template") return statement;
    std::size_t i = 1;
    for (int depth = 0; i < statement.size(); ++i) {
        if (statement[i] == "<") ++depth;
        if (statement[i] == ">" && --depth == 0) break;
    }
    return {statement.begin() + static_cast<long>(std::min(i + 1, statement.size())), statement.end()};
}

// The names a declaration introduces: a function's (operators as
// "operator<<", destructors as "~name"), or every declarator's of a variable list.
std::vector<std::string> declared_names(const std::vector<std::string>& statement) {
    const auto s = without_template(statement);
    if (s.empty() || s[0] == "friend" || s[0] == "static_assert" || s[0] == "return") return {};
    if (s[0] == "using") return s.size() > 2 && s[2] == "=" ? std::vector<std::string>{s[1]} : std::vector<std::string>{};
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == "operator") {
            std::string name = "operator";
            for (std::size_t j = i + 1; j < s.size() && s[j] != "("; ++j) name += s[j];
            return {name};
        }
        if (s[i] == "=") break;  // a variable whose initialiser may call a function
        if (s[i] == "(") {
            if (i == 0 || !is_identifier(s[i - 1])) return {};
            return {(i >= 2 && s[i - 2] == "~" ? "~" : "") + s[i - 1]};
        }
    }
    std::vector<std::string> names;
    std::string last;
    bool in_initializer = false;
    for (const auto& t : s) {
        if (t == "=" || t == "[") in_initializer = true;
        if (t == ",") {
            if (!last.empty()) names.push_back(last);
            last.clear();
            in_initializer = false;
        } else if (!in_initializer && is_identifier(t)) {
            last = t;
        }
    }
    if (!last.empty()) names.push_back(last);
    return names;
}

// Every name that a program can use from the header: classes, their public
// members, functions, variables and constants, outside the namespaces that
// hold the library's own helpers.
std::set<std::string> public_names(const std::string& header) {
    struct scope {
        enum { names, hidden, body } kind;
        bool is_public;
    };
    std::vector<scope> scopes{{scope::names, true}};
    std::vector<std::string> statement;
    std::set<std::string> out;
    auto visible = [&] { return scopes.back().kind == scope::names && scopes.back().is_public; };
    auto keep = [&](const std::vector<std::string>& names) {
        if (visible()) out.insert(names.begin(), names.end());
    };

    const auto tokens = tokens_of(header);
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const std::string& t = tokens[i];
        if (scopes.back().kind != scope::names) {
            if (t == "{") scopes.push_back({scopes.back().kind, false});
            if (t == "}") scopes.pop_back();
            continue;
        }
        if ((t == "public" || t == "private" || t == "protected") && i + 1 < tokens.size() &&
            tokens[i + 1] == ":") {
            scopes.back().is_public = t == "public";
            ++i;
        } else if (t == ";") {
            keep(declared_names(statement));
            statement.clear();
        } else if (t == "{") {
            const auto s = without_template(statement);
            if (!s.empty() && s[0] == "namespace") {
                const bool helpers = s.size() < 2 || s[1] == "detail" || s[1] == "internal";
                scopes.push_back({helpers ? scope::hidden : scope::names, true});
            } else if (!s.empty() && (s[0] == "class" || s[0] == "struct" || s[0] == "union")) {
                if (s.size() > 1) keep({s[1]});
                scopes.push_back({scope::names, s[0] != "class"});
            } else if (!s.empty() && s[0] == "enum") {
                // Enumerators are names of the enclosing scope.
                std::size_t j = i + 1;
                for (bool expect_name = true; j < tokens.size() && tokens[j] != "}"; ++j) {
                    if (expect_name && is_identifier(tokens[j])) keep({tokens[j]});
                    expect_name = tokens[j] == ",";
                }
                i = j;
            } else {
                keep(declared_names(statement));
                scopes.push_back({scope::body, false});
            }
            statement.clear();
        } else if (t == "}") {
            scopes.pop_back();
            statement.clear();
        } else {
            statement.push_back(t);
        }
    }
    return out;
}

// Whether `name` stands in the text as a whole word; operators are looked
// for with the spaces taken out.
bool mentions(const std::string& text, const std::string& name) {
    std::string squeezed;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c))) squeezed += c;
    const std::string& haystack = name.rfind("operator", 0) == 0 ? squeezed : text;
    for (auto at = haystack.find(name); at != std::string::npos; at = haystack.find(name, at + 1)) {
        const bool starts = at == 0 || !is_word_char(haystack[at - 1]) || name[0] == '~';
        const std::size_t end = at + name.size();
        const bool ends = end == haystack.size() || !is_word_char(haystack[end]) || !is_word_char(name.back());
        if (starts && ends) return true;
    }
    return false;
}

TEST(Docs, HeaderParserFindsPublicNamesOnly) {
    const auto names = public_names(R"(
        #include <x>
        namespace kavex {
        // not_a_name(
        class shape {
        public:
            int x, y = 3;          // fields
            shape();
            virtual ~shape();
            bool open(unsigned w);
            void inline_body() { int local = 0; helper(local); }
            template <class T> void each(T t);
        private:
            int secret;
        };
        struct command { int w; command(int w_) : w(w_) {} };
        namespace detail { int hidden_helper(); }
        constexpr int key_up = 0x10000;
        enum named { first = 1, second };
        extern shape& the_shape;
        inline shape& the_inline_shape = shape::instance();
        inline shape& operator<<(shape& s, const command&) { return s; }
        }
    )");
    const std::set<std::string> expected{"shape", "x", "y", "~shape", "open", "inline_body", "each",
                                         "command", "w", "key_up", "first", "second", "the_shape", "the_inline_shape",
                                         "operator<<"};
    EXPECT_EQ(names, expected);
}

TEST(Docs, TheReferenceNamesEveryPublicNameOfTheHeader) {
    const auto names = public_names(read(source_dir / "graphics/graphics.hpp"));
    ASSERT_GT(names.size(), 20u) << "the header parser found too little";
    for (const char* known : {"canvas", "gout", "draw_line", "move_abs", "refresh", "pen_x"}) {
        EXPECT_TRUE(names.count(known)) << known << " should have been found in the header";
    }

    const std::string reference = read(source_dir / "docs/api.md");
    for (const auto& name : names) {
        EXPECT_TRUE(mentions(reference, name)) << "docs/api.md does not mention " << name;
    }
}

// --- Examples, links and include lines --------------------------------------

std::vector<std::string> link_targets(const std::string& markdown) {
    static const std::regex link(R"(\]\(([^)\s]+)\))");
    std::vector<std::string> out;
    for (std::sregex_iterator m(markdown.begin(), markdown.end(), link), end; m != end; ++m)
        out.push_back((*m)[1]);
    return out;
}

// The anchor a heading gets on the usual Markdown sites: lower case, spaces
// as hyphens, punctuation other than hyphens and underscores dropped.
std::set<std::string> anchors_of(const std::string& markdown) {
    std::set<std::string> out;
    std::istringstream lines(markdown);
    bool in_code = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("```", 0) == 0) in_code = !in_code;
        if (in_code || line.rfind("#", 0) != 0) continue;
        std::string anchor;
        for (char c : line.substr(line.find_first_not_of('#'))) {
            if (c == ' ') anchor += '-';
            else if (is_word_char(c) || c == '-') anchor += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        out.insert(anchor.substr(anchor.find_first_not_of('-')));
    }
    return out;
}

std::vector<fs::path> documents() {
    auto docs = files_in(source_dir / "docs", ".md");
    docs.push_back(source_dir / "README.md");
    return docs;
}

TEST(Docs, EveryLinkLeadsToAFileOrAHeading) {
    for (const auto& doc : documents()) {
        const std::string text = read(doc);
        for (const auto& target : link_targets(text)) {
            if (target.find("://") != std::string::npos) continue;
            const auto hash = target.find('#');
            const std::string file = target.substr(0, hash);
            const fs::path linked = file.empty() ? doc : doc.parent_path() / file;
            EXPECT_TRUE(fs::exists(linked)) << doc.filename() << " links to " << target << ", which does not exist";
            if (hash != std::string::npos && fs::exists(linked) && linked.extension() == ".md") {
                EXPECT_TRUE(anchors_of(read(linked)).count(target.substr(hash + 1)))
                    << doc.filename() << " links to " << target << ", a heading that does not exist";
            }
        }
    }
}

TEST(Docs, TheReadmeShowsEveryExampleWithItsPicture) {
    const std::string readme = read(source_dir / "README.md");
    const auto examples = listed_programs("example");
    ASSERT_FALSE(examples.empty());
    for (const auto& example : examples) {
        const std::string name = example.stem().string();
        EXPECT_TRUE(mentions(readme, "examples/" + name + ".cpp")) << "the README does not link examples/" << name << ".cpp";
        EXPECT_TRUE(mentions(readme, "docs/" + name + ".png")) << "the README does not show docs/" << name << ".png";
    }
    EXPECT_TRUE(mentions(readme, "examples/template/CMakeLists.txt"));
    EXPECT_TRUE(mentions(readme, "docs/api.md"));
}

// The README's program is examples/hello.cpp, less its opening comment.
TEST(Docs, TheReadmesFirstProgramIsTheHelloExample) {
    const std::string readme = read(source_dir / "README.md");
    const auto start = readme.find("```cpp\n");
    ASSERT_NE(start, std::string::npos);
    const auto body = start + 7;
    const std::string shown = readme.substr(body, readme.find("```", body) - body);

    std::istringstream lines(read(source_dir / "examples/hello.cpp"));
    std::string hello, line;
    while (std::getline(lines, line) && line.rfind("//", 0) == 0) {}
    do hello += line + "\n";
    while (std::getline(lines, line));
    EXPECT_EQ(shown, hello);
}

TEST(Docs, ExamplesAndDocsIncludeTheHeaderOneWay) {
    auto files = documents();
    for (const char* kind : {"example", "installed"})
        for (const auto& program : listed_programs(kind)) files.push_back(program);
    static const std::regex include_line(R"(#include\s*[<"][^>"]*graphics[^>"]*[>"])");
    int seen = 0;
    for (const auto& file : files) {
        const std::string text = read(file);
        for (std::sregex_iterator m(text.begin(), text.end(), include_line), end; m != end; ++m, ++seen)
            EXPECT_EQ(m->str(), "#include \"graphics.hpp\"") << "in " << file.filename();
    }
    EXPECT_GT(seen, 2);
}

// --- Facts that stand in more than one place ----------------------------

// name -> value, for each pattern match of a name and a hexadecimal number.
std::map<std::string, long> named_numbers(const std::string& text, const std::regex& pattern) {
    std::map<std::string, long> out;
    for (std::sregex_iterator m(text.begin(), text.end(), pattern), end; m != end; ++m)
        out[(*m)[1]] = std::stol((*m)[2], nullptr, 16);
    return out;
}

TEST(Facts, TheKeyCodesAreTheSameInTheHeaderTheReferenceAndTheLibrarysTable) {
    const auto header = named_numbers(read(source_dir / "graphics/graphics.hpp"),
                                      std::regex(R"(constexpr std::int32_t (key_\w+) = 0x([0-9A-Fa-f]+);)"));
    const auto reference = named_numbers(read(source_dir / "docs/api.md"),
                                         std::regex(R"(\| `(key_\w+)` \| 0x([0-9A-Fa-f]+) \|)"));
    EXPECT_EQ(header.size(), 37u);
    EXPECT_EQ(reference, header) << "the key table of docs/api.md differs from graphics.hpp's constants";
    std::set<std::string> in_library;
    for (const auto& name : captures(read(source_dir / "graphics/keys.inc"), std::regex(R"(\{SDLK_\w+, (key_\w+)\})")))
        in_library.insert(name);
    std::set<std::string> in_header;
    for (const auto& [name, value] : header) in_header.insert(name);
    EXPECT_EQ(in_library, in_header) << "graphics/keys.inc maps SDL's keys to other codes than the header names";
}

// Numbers that the documents write out: each is the code's, so that changing
// the font's cell, the size limit or the ticks that wait fails here until
// the prose says the same. Each pattern must be found; every match is checked.
TEST(Facts, TheNumbersInTheDocumentsAreTheCodes) {
    using namespace kavex::detail;
    using kavex::sdl_side::tick_limit;
    struct stated {
        std::vector<const char*> documents;
        const char* pattern;
        std::vector<long> values;
    };
    const std::vector<stated> facts = {
        {{"README.md", "graphics/graphics.hpp"}, R"((\d+) (?:x|×) (\d+) font)", {glyph_width, glyph_rows}},
        {{"graphics/graphics.hpp"}, R"(cascent\(\) const; +// (\d+):)", {ascent}},
        {{"graphics/graphics.hpp"}, R"(cdescent\(\) const; +// (\d+): the pen row and the (\d+) rows)", {descent, descent - 1}},
        {{"graphics/graphics.hpp", "docs/api.md"}, R"(at most\s+(\w+) ticks wait)", {tick_limit}},
        {{"docs/api.md"}, R"(a cell (\d+) pixels wide\s+and (\d+) rows high)", {glyph_width, glyph_rows}},
        {{"docs/api.md"}, R"(row (\d+) of the cell\): (\d+) rows reach up)", {ascent - 1, ascent}},
        {{"docs/api.md"}, R"(the pen row and the (\d+) rows below it)", {descent - 1}},
        {{"docs/api.md"}, R"(the next line (\d+) rows lower)", {glyph_rows}},
        {{"docs/api.md"}, R"(down: (\d+)\. A line needs\s+`cascent\(\) \+ cdescent\(\)` = (\d+) rows)", {descent, glyph_rows}},
        {{"docs/api.md"}, R"(moves the pen (\d+)n pixels,\s+a newline (\d+)n rows)", {glyph_width, glyph_rows}},
        {{"docs/api.md"}, R"(larger than a canvas may be \((\d+) x\s+(\d+)\))", {max_width, max_height}},
        {{"docs/benchmarks.md"}, R"(kavex of its (\d+) x (\d+) cell)", {glyph_width, glyph_rows}},
    };
    const std::map<std::string, long> words = {{"one", 1}, {"two", 2}, {"three", 3}, {"four", 4}};
    const auto number = [&](const std::string& s) { return words.count(s) ? words.at(s) : std::stol(s); };
    for (const auto& fact : facts) {
        const std::regex pattern(fact.pattern);
        for (const char* document : fact.documents) {
            const std::string text = read(source_dir / document);
            int found = 0;
            for (std::sregex_iterator m(text.begin(), text.end(), pattern), end; m != end; ++m, ++found) {
                std::vector<long> said;
                for (std::size_t i = 1; i < m->size(); ++i) said.push_back(number((*m)[i]));
                EXPECT_EQ(said, fact.values) << document << " says \"" << m->str() << "\"";
            }
            EXPECT_GT(found, 0) << document << " no longer says /" << fact.pattern << "/: say it, or change this test";
        }
    }
}

// The version is the project's (CMakeLists.txt); the file names that the
// README and the Windows text give carry it.
TEST(Facts, TheDocumentsNameTheProjectsVersion) {
    for (const char* document : {"README.md", "docs/windows.txt"}) {
        const auto versions = captures(read(source_dir / document), std::regex(R"(kavex[-_](\d+\.\d+\.\d+)[-_])"));
        EXPECT_FALSE(versions.empty()) << document << " names no file of a version";
        for (const auto& version : versions) EXPECT_EQ(version, KAVEX_VERSION) << "in " << document;
    }
}

TEST(Facts, TheMapNamesEveryFileOfTheLibrary) {
    const std::string map = read(source_dir / "docs/design.md");
    int files = 0;
    for (const auto& entry : fs::directory_iterator(source_dir / "graphics")) {
        const std::string name = entry.path().filename().string();
        ++files;
        EXPECT_TRUE(mentions(map, "`" + name + "`")) << "docs/design.md does not say what graphics/" << name << " is";
    }
    EXPECT_GT(files, 20);
}

// The canvas's drawing calls and the stream's drawing commands, as the
// header's own comments mark them, are each in tests/drawing_operations.hpp.
TEST(Facts, TheTestsMakeEveryDrawingOperationOfTheHeader) {
#define KAVEX_NAME_OF(number, name) #name,
    const std::set<std::string> listed{KAVEX_DRAWING_OPERATIONS(KAVEX_NAME_OF)};
#undef KAVEX_NAME_OF
    const std::string header = std::regex_replace(read(source_dir / "graphics/graphics.hpp"),
                                                  std::regex(R"(\nprivate:[^}]*\};)"), "};");
    std::vector<std::string> drawing = captures(header, std::regex(R"(\n +void (draw_\w+|blitfrom)\()"));
    for (const auto& command : captures(header, std::regex(R"(\nstruct (\w+) \{ +// draw_)"))) drawing.push_back(command);
    for (const auto& manipulator : captures(header, std::regex(R"(\nvoid (\w+)\(canvas& c\); +// draw_)")))
        drawing.push_back(manipulator);
    EXPECT_GE(drawing.size(), 9u);
    for (const auto& name : drawing)
        EXPECT_TRUE(listed.count(name)) << name << " is a drawing operation of graphics.hpp that "
                                        << "tests/drawing_operations.hpp does not list";
}

}  // namespace
