#include "platform/fake_platform.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace velmaro::platform {
namespace {

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row>& info) {
  return info.param.name;
}

// ---- message boxes ----

struct AnswerRow {
  const char* name;
  std::vector<Answer> script;
  std::vector<Buttons> boxes;  // shown in this order
  std::vector<Answer> expected;
};

class FakeMessageAnswers : public ::testing::TestWithParam<AnswerRow> {};

TEST_P(FakeMessageAnswers, FollowTheScriptThenTheDefaultButton) {
  FakePlatform platform;
  for (Answer answer : GetParam().script) platform.queueAnswer(answer);
  std::vector<Answer> answers;
  for (Buttons buttons : GetParam().boxes) answers.push_back(platform.showMessage(Message{"?", buttons, Icon::None, std::nullopt}));
  EXPECT_EQ(answers, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FakeMessageAnswers, ::testing::Values(
    AnswerRow{"no_script_ok_box", {}, {Buttons::Ok}, {Answer::Ok}},
    AnswerRow{"no_script_yes_no_box_takes_yes", {}, {Buttons::YesNo}, {Answer::Yes}},
    AnswerRow{"scripted_no_then_default", {Answer::No}, {Buttons::YesNo, Buttons::YesNo}, {Answer::No, Answer::Yes}},
    AnswerRow{"script_used_by_ok_boxes_too", {Answer::Ok, Answer::No}, {Buttons::Ok, Buttons::YesNo}, {Answer::Ok, Answer::No}},
    AnswerRow{"answer_returned_as_queued", {Answer::Yes}, {Buttons::Ok}, {Answer::Yes}}),
    rowName<AnswerRow>);

// ---- file dialogs ----

struct FileRow {
  const char* name;
  std::vector<std::optional<std::string>> script;
  std::vector<std::string> presets;  // one dialog per preset
  std::vector<std::string> expected;
};

class FakeFileDialogs : public ::testing::TestWithParam<FileRow> {};

TEST_P(FakeFileDialogs, YieldTheScriptedNameOrThePreset) {
  FakePlatform platform;
  for (const auto& name : GetParam().script) platform.queueFileName(name);
  std::vector<std::string> names;
  for (const std::string& preset : GetParam().presets) {
    names.push_back(platform.chooseFile(FileDialogRequest{DialogMode::Open, "File selection All", "*.jpg", preset}));
  }
  EXPECT_EQ(names, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FakeFileDialogs, ::testing::Values(
    FileRow{"no_script_cancels", {}, {"*.jpg"}, {"*.jpg"}},
    FileRow{"scripted_name", {"/maps/a.jpg"}, {"*.jpg"}, {"/maps/a.jpg"}},
    FileRow{"scripted_cancel_then_name", {std::nullopt, "/maps/b.txt"}, {"*.txt", "*.txt"}, {"*.txt", "/maps/b.txt"}},
    FileRow{"script_runs_out", {"/maps/a.jpg"}, {"*.jpg", "*.txt"}, {"/maps/a.jpg", "*.txt"}},
    FileRow{"empty_name_is_not_a_cancel", {""}, {"*.jpg"}, {""}}),
    rowName<FileRow>);

// ---- shell open ----

struct ShellRow {
  const char* name;
  bool defaultResult;
  std::vector<bool> script;
  int calls;
  std::vector<bool> expected;
};

class FakeShellResults : public ::testing::TestWithParam<ShellRow> {};

TEST_P(FakeShellResults, FollowTheScriptThenTheDefault) {
  FakePlatform platform;
  platform.setDefaultShellResult(GetParam().defaultResult);
  for (bool result : GetParam().script) platform.queueShellResult(result);
  std::vector<bool> results;
  for (int i = 0; i < GetParam().calls; ++i) results.push_back(platform.shellOpen(Launch{}));
  EXPECT_EQ(results, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, FakeShellResults, ::testing::Values(
    ShellRow{"default_success", true, {}, 2, {true, true}},
    ShellRow{"default_failure", false, {}, 1, {false}},
    ShellRow{"scripted_failure_then_default", true, {false}, 2, {false, true}},
    ShellRow{"scripted_success_over_failing_default", false, {true, false}, 3, {true, false, false}}),
    rowName<ShellRow>);

// ---- records and settings ----

TEST(FakePlatformRecords, EveryCallInOrder) {
  FakePlatform platform;
  platform.queueAnswer(Answer::No);
  platform.queueFileName("/maps/sheet12.jpg");
  platform.queueShellResult(false);

  platform.showMessage(Message{"Display KML Code ?", Buttons::YesNo, Icon::None, "Tessaro"});
  platform.showMessage(Message{"Unable Transko.EXE ", Buttons::Ok, Icon::None, std::nullopt});
  platform.chooseFile(FileDialogRequest{DialogMode::Save, "File selection All", "*.txt", "*.txt"});
  platform.beep();
  platform.beep();
  platform.shellOpen(Launch{LaunchKind::Program, "/opt/velmaro/Transko.EXE", "", "/opt/velmaro"});
  platform.shellOpen(Launch{LaunchKind::Link, "mailto:a@b.c", std::nullopt, std::nullopt});
  platform.quit();

  ASSERT_EQ(platform.messages().size(), 2u);
  EXPECT_EQ(platform.messages()[0].text, "Display KML Code ?");
  EXPECT_EQ(platform.messages()[0].buttons, Buttons::YesNo);
  EXPECT_EQ(platform.messages()[0].title, std::optional<std::string>("Tessaro"));
  EXPECT_EQ(platform.messages()[1].text, "Unable Transko.EXE ");
  EXPECT_EQ(platform.messages()[1].title, std::nullopt);
  ASSERT_EQ(platform.fileDialogs().size(), 1u);
  EXPECT_EQ(platform.fileDialogs()[0].mode, DialogMode::Save);
  EXPECT_EQ(platform.fileDialogs()[0].presetName, "*.txt");
  EXPECT_EQ(platform.beepCount(), 2);
  ASSERT_EQ(platform.launches().size(), 2u);
  EXPECT_EQ(platform.launches()[0].kind, LaunchKind::Program);
  EXPECT_EQ(platform.launches()[0].parameters, std::optional<std::string>(""));
  EXPECT_EQ(platform.launches()[1].target, "mailto:a@b.c");
  EXPECT_EQ(platform.launches()[1].workingFolder, std::nullopt);
  EXPECT_EQ(platform.quitCount(), 1);
  EXPECT_EQ(platform.pendingAnswers() + platform.pendingFileNames() + platform.pendingShellResults(), 0u);
}

TEST(FakePlatformRecords, UnusedScriptStaysPending) {
  FakePlatform platform;
  platform.queueAnswer(Answer::Yes);
  platform.queueFileName(std::nullopt);
  platform.queueShellResult(true);
  platform.queueShellResult(false);
  EXPECT_EQ(platform.pendingAnswers(), 1u);
  EXPECT_EQ(platform.pendingFileNames(), 1u);
  EXPECT_EQ(platform.pendingShellResults(), 2u);
}

TEST(FakePlatformSettings, StartsWithTheProjectVersionAndAFolder) {
  FakePlatform platform;
  EXPECT_EQ(platform.version().major, VELMARO_TEST_VERSION_MAJOR);
  EXPECT_EQ(platform.version().minor, VELMARO_TEST_VERSION_MINOR);
  EXPECT_EQ(platform.version().revision, VELMARO_TEST_VERSION_PATCH);
  EXPECT_EQ(platform.applicationFolder(), "/opt/velmaro");

  platform.setVersion(Version{2, 0, 7});
  platform.setApplicationFolder("/srv/app");
  EXPECT_EQ(platform.version().revision, 7);
  EXPECT_EQ(platform.applicationFolder(), "/srv/app");
}

}  // namespace
}  // namespace velmaro::platform
