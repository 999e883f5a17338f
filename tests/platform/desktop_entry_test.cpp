#include "platform/desktop_entry.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace velmaro::platform {

bool operator==(const DesktopEntry& a, const DesktopEntry& b) {
  return std::tie(a.exec, a.name, a.icon, a.path, a.terminal) == std::tie(b.exec, b.name, b.icon, b.path, b.terminal);
}

void PrintTo(const DesktopEntry& e, std::ostream* os) {
  *os << "{exec=" << e.exec << " name=" << e.name << " icon=" << e.icon << " path=" << e.path
      << " terminal=" << e.terminal << "}";
}

namespace {

using Words = std::optional<std::vector<std::string>>;

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// ---- key-file escapes ----

struct UnescapeRow {
  const char* name;
  const char* value;
  const char* expected;
};

class UnescapeKeyFileValue : public ::testing::TestWithParam<UnescapeRow> {};

TEST_P(UnescapeKeyFileValue, ResolvesEscapes) {
  EXPECT_EQ(unescapeKeyFileValue(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, UnescapeKeyFileValue, ::testing::Values(
    UnescapeRow{"no_escape", "viewer %f", "viewer %f"},
    UnescapeRow{"blank", R"(my\sviewer)", "my viewer"},
    UnescapeRow{"controls", R"(a\nb\tc\rd)", "a\nb\tc\rd"},
    UnescapeRow{"backslash", R"(a\\b)", R"(a\b)"},
    UnescapeRow{"escaped_backslash_before_s", R"(a\\s)", R"(a\s)"},
    UnescapeRow{"unknown_pair_kept", R"(a\"b)", R"(a\"b)"},
    UnescapeRow{"trailing_backslash_kept", R"(a\)", R"(a\)"}),
    rowName<UnescapeRow>);

// ---- splitting the Exec line ----

struct SplitRow {
  const char* name;
  const char* exec;
  Words expected;
};

class SplitExecLine : public ::testing::TestWithParam<SplitRow> {};

TEST_P(SplitExecLine, GivesWords) { EXPECT_EQ(splitExecLine(GetParam().exec), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Table, SplitExecLine, ::testing::Values(
    SplitRow{"plain_words", "gedit --new-window %U", Words{{"gedit", "--new-window", "%U"}}},
    SplitRow{"blanks_and_tabs", " a \t  b ", Words{{"a", "b"}}},
    SplitRow{"quoted_program_with_blank", R"("/opt/my app/run" -x)", Words{{"/opt/my app/run", "-x"}}},
    SplitRow{"quotes_inside_word", R"(--name="a b"c)", Words{{"--name=a bc"}}},
    SplitRow{"escaped_quote", R"("say \"hi\"")", Words{{R"(say "hi")"}}},
    SplitRow{"escaped_dollar_backtick_backslash", R"("\$HOME \` \\")", Words{{R"($HOME ` \)"}}},
    SplitRow{"other_backslash_kept", R"("a\b")", Words{{R"(a\b)"}}},
    SplitRow{"backslash_outside_quotes_kept", R"(a\ b)", Words{{R"(a\)", "b"}}},
    SplitRow{"empty_quoted_word", R"(prog "")", Words{{"prog", ""}}},
    SplitRow{"only_blanks", "   ", Words{std::vector<std::string>{}}},
    SplitRow{"unterminated_quote", R"(prog "abc)", std::nullopt},
    SplitRow{"escaped_closing_quote_leaves_it_open", R"(prog "abc\")", std::nullopt}),
    rowName<SplitRow>);

// ---- field codes ----

// The target holds a blank and a "%u" of its own, so every row also shows that substituted text is taken
// as it stands: never split at the blank, never expanded again.
const ExecTarget kTarget{"/maps/my sheet%u.kml", "file:///maps/my%20sheet%25u.kml"};
constexpr const char* kFile = "/maps/my sheet%u.kml";
constexpr const char* kUrl = "file:///maps/my%20sheet%25u.kml";
constexpr const char* kDesktopFile = "/apps/viewer.desktop";

struct CommandRow {
  const char* name;
  const char* exec;
  const char* icon;
  Words expected;
};

class CommandLineFor : public ::testing::TestWithParam<CommandRow> {};

TEST_P(CommandLineFor, SubstitutesFieldCodes) {
  DesktopEntry entry;
  entry.exec = GetParam().exec;
  entry.name = "Map Viewer";
  entry.icon = GetParam().icon;
  EXPECT_EQ(commandLineFor(entry, kDesktopFile, kTarget), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, CommandLineFor, ::testing::Values(
    CommandRow{"file", "viewer %f", "", Words{{"viewer", kFile}}},
    CommandRow{"file_list", "viewer %F", "", Words{{"viewer", kFile}}},
    CommandRow{"url", "viewer %u", "", Words{{"viewer", kUrl}}},
    CommandRow{"url_list", "viewer --new %U", "", Words{{"viewer", "--new", kUrl}}},
    CommandRow{"code_inside_word", "viewer --open=%f", "", Words{{"viewer", std::string("--open=") + kFile}}},
    CommandRow{"icon", "viewer %i %f", "globe", Words{{"viewer", "--icon", "globe", kFile}}},
    CommandRow{"icon_absent", "viewer %i %f", "", Words{{"viewer", kFile}}},
    CommandRow{"name", "viewer --title=%c %f", "", Words{{"viewer", "--title=Map Viewer", kFile}}},
    CommandRow{"desktop_file", "viewer --entry %k %u", "", Words{{"viewer", "--entry", kDesktopFile, kUrl}}},
    CommandRow{"percent", "viewer --zoom=100%% %f", "", Words{{"viewer", "--zoom=100%", kFile}}},
    CommandRow{"no_code_appends_file", "viewer --new-window", "", Words{{"viewer", "--new-window", kFile}}},
    CommandRow{"only_program_appends_file", "viewer", "", Words{{"viewer", kFile}}},
    CommandRow{"percent_alone_is_not_a_target", "viewer %%", "", Words{{"viewer", "%", kFile}}},
    CommandRow{"deprecated_codes_removed", "viewer %d %D %n %N %v %m %f", "", Words{{"viewer", kFile}}},
    CommandRow{"unknown_code_removed_in_word", "viewer -x%z %f", "", Words{{"viewer", "-x", kFile}}},
    CommandRow{"lone_percent_at_end_removed", "viewer %", "", Words{{"viewer", kFile}}},
    CommandRow{"quoted_program", R"("/opt/Map Viewer/bin/viewer" %f)", "", Words{{"/opt/Map Viewer/bin/viewer", kFile}}},
    CommandRow{"empty_quoted_word_kept", R"(viewer "" %f)", "", Words{{"viewer", "", kFile}}},
    CommandRow{"target_given_twice", "viewer %f %u", "", Words{{"viewer", kFile, kUrl}}},
    CommandRow{"unterminated_quote", R"(viewer "%f)", "", std::nullopt},
    CommandRow{"empty_program", R"("" %f)", "", std::nullopt},
    CommandRow{"only_removed_codes", "%d", "", std::nullopt}),
    rowName<CommandRow>);

// The two escape levels of a desktop file compose: the key file's \\ becomes the \ that protects a quote
// inside a quoted Exec word.
TEST(DesktopEntryEscapes, KeyFileAndExecQuotingCompose) {
  const std::optional<DesktopEntry> entry = parseDesktopEntry("[Desktop Entry]\nExec=\"say \\\\\"hi\\\\\"\\sloud\" %f\n");
  ASSERT_TRUE(entry.has_value());
  EXPECT_EQ(entry->exec, R"("say \"hi\" loud" %f)");
  EXPECT_EQ(commandLineFor(*entry, kDesktopFile, kTarget), (Words{{R"(say "hi" loud)", kFile}}));
}

// ---- reading the entry ----

DesktopEntry entryOf(const char* exec, const char* name = "", const char* icon = "", const char* path = "",
                     bool terminal = false) {
  return DesktopEntry{exec, name, icon, path, terminal};
}

struct ParseRow {
  const char* name;
  const char* text;
  std::optional<DesktopEntry> expected;
};

class ParseDesktopEntry : public ::testing::TestWithParam<ParseRow> {};

TEST_P(ParseDesktopEntry, ReadsTheEntryGroup) { EXPECT_EQ(parseDesktopEntry(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Table, ParseDesktopEntry, ::testing::Values(
    ParseRow{"minimal", "[Desktop Entry]\nType=Application\nName=Viewer\nExec=viewer %f\n", entryOf("viewer %f", "Viewer")},
    ParseRow{"all_keys", "[Desktop Entry]\nExec=ed\nName=Ed\nIcon=ed-icon\nPath=/srv/ed\nTerminal=true\n",
             entryOf("ed", "Ed", "ed-icon", "/srv/ed", true)},
    ParseRow{"crlf_and_blanks_around_equals", "[Desktop Entry]\r\nExec = viewer %u \r\nName=V\r\n", entryOf("viewer %u", "V")},
    ParseRow{"no_final_line_end", "[Desktop Entry]\nExec=viewer", entryOf("viewer")},
    ParseRow{"localized_name_ignored", "[Desktop Entry]\nName[de]=Betrachter\nName=Viewer\nExec=v", entryOf("v", "Viewer")},
    ParseRow{"other_groups_ignored", "[Desktop Action new]\nExec=other\n[Desktop Entry]\nExec=viewer\n[X-Extra]\nName=No",
             entryOf("viewer")},
    ParseRow{"comments_ignored", "# Exec=bad\n[Desktop Entry]\n# Name=bad\nExec=good", entryOf("good")},
    ParseRow{"first_value_wins", "[Desktop Entry]\nExec=first\nExec=second", entryOf("first")},
    ParseRow{"escapes_resolved", "[Desktop Entry]\nExec=\"/opt/my\\sapp\" %f\nName=My\\sApp", entryOf("\"/opt/my app\" %f", "My App")},
    ParseRow{"terminal_false", "[Desktop Entry]\nExec=v\nTerminal=false", entryOf("v")},
    ParseRow{"missing_group", "Exec=viewer %f\n", std::nullopt},
    ParseRow{"exec_only_in_other_group", "[Desktop Entry]\nName=V\n[Desktop Action a]\nExec=v", std::nullopt},
    ParseRow{"missing_exec", "[Desktop Entry]\nName=V\n", std::nullopt},
    ParseRow{"blank_exec", "[Desktop Entry]\nExec=  \n", std::nullopt},
    ParseRow{"hidden", "[Desktop Entry]\nExec=v\nHidden=true", std::nullopt},
    ParseRow{"not_an_application", "[Desktop Entry]\nType=Link\nExec=v\nURL=http://x", std::nullopt}),
    rowName<ParseRow>);

}  // namespace
}  // namespace velmaro::platform
