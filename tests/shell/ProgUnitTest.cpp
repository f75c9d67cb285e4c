#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/Abort.h"
#include "shell/ProgUnit.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"

namespace quorrel {
namespace {

using test::Dialogs;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Records what the box is asked to do; ProcessMessages runs what a user would do
// meanwhile.
class RecordingView : public TProgressView {
 public:
  void RunPrepared() override { ++prepared; }
  void LineAdded(const std::string& line) override { lines.push_back(line); }
  void StateChanged() override {}
  void ShowBox() override { ++shown; }
  void HideBox() override {}
  void ShowModalBox() override {
    ++modal;
    linesWhenModal = ProgBoxState().lines;
    reportWhenModal = reportPath.empty() ? "" : ReadAll(reportPath);
  }
  void ProcessMessages() override {
    if (onMessages) onMessages();
  }
  void PrintLines(const std::vector<std::string>& printedLines) override { printed = printedLines; }

  int prepared = 0, shown = 0, modal = 0;
  std::vector<std::string> lines, linesWhenModal, printed;
  std::string reportPath, reportWhenModal;
  std::function<void()> onMessages;
};

class ProgUnitTest : public ::testing::Test {
 protected:
  void SetUp() override { SetProgressView(&view_); }
  void TearDown() override { SetProgressView(nullptr); }
  RecordingView view_;
};

TEST_F(ProgUnitTest, ARunWithoutErrors) {
  {
    TProgress progress("Possible errors", 0, false, true);
    EXPECT_EQ(ActiveProgress, &progress);
    EXPECT_EQ(view_.shown, 0);  // not shown before the first line
    progress.Add("index.htm");
    progress.Add("about.htm");
    EXPECT_EQ(view_.shown, 1);
    EXPECT_EQ(ProgBoxState().caption, "Possible errors");
    EXPECT_EQ(ProgBoxState().cancelCaption, "Cancel");
    EXPECT_FALSE(ProgBoxState().printVisible);
    view_.reportPath = progress.ReportPath();
    progress.Destroy();
  }
  EXPECT_EQ(view_.linesWhenModal,
            (std::vector<std::string>{"index.htm", "about.htm", "End of processing."}));
  EXPECT_EQ(view_.modal, 1);
  EXPECT_EQ(ProgBoxState().errorLabel, "");
  EXPECT_EQ(ProgBoxState().cancelCaption, "OK");
  EXPECT_TRUE(ProgBoxState().printVisible);
  EXPECT_EQ(ProgBoxState().caption, "");  // idle again
  EXPECT_EQ(ActiveProgress, nullptr);
  EXPECT_TRUE(Dialogs().Calls().empty());
}

TEST_F(ProgUnitTest, ErrorsAreCountedAndEveryLineIsReported) {
  std::vector<std::string> labels;
  std::string reportPath;
  {
    TProgress progress("Possible errors", 0, false, true);
    progress.SetWidth(460);
    progress.Add("index.htm");
    reportPath = progress.ReportPath();
    ASSERT_FALSE(reportPath.empty());
    view_.reportPath = reportPath;
    progress.Error("index.htm: missing </p>");
    labels.push_back(ProgBoxState().errorLabel);
    progress.Add("about.htm");
    progress.Error("about.htm: bad link");
    progress.Error("about.htm: no title");
    labels.push_back(ProgBoxState().errorLabel);
    EXPECT_EQ(progress.ErrorCount(), 3);
    progress.Destroy();
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"Errors: 1", "Errors: 3"}));
  std::vector<std::string> expected = {"index.htm",           "index.htm: missing </p>",
                                       "about.htm",           "about.htm: bad link",
                                       "about.htm: no title", "*** ERRORS: 3"};
  EXPECT_EQ(view_.linesWhenModal, expected);
  EXPECT_EQ(view_.lines, expected);  // each line drawn once
  std::string report;
  for (const auto& line : expected) report += line + "\r\n";
  EXPECT_EQ(view_.reportWhenModal, report);
  EXPECT_EQ(ProgBoxState().errorLabel, "");           // cleared for the final count line
  EXPECT_FALSE(std::filesystem::exists(reportPath));  // a work file only
}

TEST_F(ProgUnitTest, ARunWithoutLinesEndsWithoutTheModalBox) {
  {
    TProgress progress("Possible errors", 0, false, true);
    progress.Destroy();
  }
  EXPECT_EQ(view_.lines, (std::vector<std::string>{"End of processing."}));
  EXPECT_EQ(view_.modal, 0);
}

TEST_F(ProgUnitTest, ScrollBarOnlyAfterTwentyNineLines) {
  for (int count : {29, 30}) {
    TProgress progress("Run", 0, false, true);
    for (int i = 0; i < count; ++i) progress.Add("file " + std::to_string(i));
    progress.Destroy();
    EXPECT_EQ(ProgBoxState().scrollBar, count == 30) << count;
  }
}

TEST_F(ProgUnitTest, LinesWithoutARunAreMessages) {
  TProgress progress("Run", 0, false, true);
  progress.Destroy();
  Dialogs().Clear();
  progress.Add("late line");
  progress.Error("late error");
  ASSERT_EQ(Dialogs().Calls().size(), 2u);
  EXPECT_NE(Dialogs().Calls()[0].text.find("late line"), std::string::npos);
  EXPECT_NE(Dialogs().Calls()[1].text.find("late error"), std::string::npos);
}

TEST_F(ProgUnitTest, ASecondRunCannotTakeOverTheBox) {
  TProgress first("Unwanted and non-matching files", 101250, false, true);
  first.Add("one");
  first.Error("bad");
  std::string report = first.ReportPath();
  EXPECT_THROW(TProgress("Possible errors", 0, false, true), EAbort);
  ASSERT_EQ(Dialogs().Calls().size(), 1u);
  EXPECT_NE(Dialogs().Last().text.find("is still running"), std::string::npos);
  // The first run goes on undisturbed.
  EXPECT_EQ(ProgBoxState().caption, "Unwanted and non-matching files");
  EXPECT_EQ(ProgBoxState().helpContext, 101250);
  EXPECT_EQ(ActiveProgress, &first);
  first.Add("two");
  EXPECT_EQ(first.ErrorCount(), 1);
  EXPECT_EQ(ReadAll(report), "one\r\nbad\r\ntwo\r\n");
}

TEST_F(ProgUnitTest, CancelAsksAndStopsTheRunBetweenFiles) {
  std::vector<std::string> files = {"a.htm", "b.htm", "c.htm", "d.htm", "e.htm"};
  int processed = 0;
  {
    TProgress progress("Build", 0, false, true);
    // The user presses Cancel while b.htm is reported, says No, then again, Yes.
    view_.onMessages = [&] {
      if (ProgBoxState().lines.back() == "b.htm") {
        Dialogs().Answer(mrNo);
        EXPECT_FALSE(ProgBoxCancelClick());
        EXPECT_FALSE(RunCancelled);
        EXPECT_EQ(ProgBoxState().cancelCaption, "Cancel");
      }
      if (ProgBoxState().lines.back() == "c.htm") {
        Dialogs().Answer(mrYes);
        EXPECT_FALSE(ProgBoxCancelClick());  // the box stays up
      }
    };
    for (const auto& file : files) {
      if (RunCancelled) break;
      progress.Add(file);
      ++processed;
    }
    view_.onMessages = nullptr;
    EXPECT_EQ(ProgBoxState().cancelCaption, "OK");
    EXPECT_TRUE(ProgBoxCancelClick());  // "OK" closes without asking
    progress.Destroy();
  }
  EXPECT_EQ(processed, 3);
  EXPECT_EQ(view_.linesWhenModal.back(), "End of processing.");
  ASSERT_EQ(Dialogs().Calls().size(), 2u);
  EXPECT_EQ(Dialogs().Calls()[0].text, "Cancel the run?");
  EXPECT_TRUE(RunCancelled);  // until the next run starts
  TProgress next("Next", 0, false, true);
  EXPECT_FALSE(RunCancelled);
}

TEST_F(ProgUnitTest, AnAbortedRunLeavesNothingBehind) {
  std::string report;
  try {
    TProgress progress("Build", 0, false, true);
    progress.Error("broken");
    report = progress.ReportPath();
    ASSERT_TRUE(std::filesystem::exists(report));
    Abort();
  } catch (const EAbort&) {
  }
  EXPECT_FALSE(std::filesystem::exists(report));
  EXPECT_EQ(ProgBoxState().caption, "");
  EXPECT_EQ(ActiveProgress, nullptr);
  EXPECT_EQ(view_.modal, 0);
  TProgress next("Next", 0, false, true);  // the box is free again
}

TEST_F(ProgUnitTest, AUserFileNamedLikeTheReportIsLeftAlone) {
  std::string folder = test::TestHome() + "site-with-report/";
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "EReport.Txt") << "the user's own notes";
  std::string previous = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  {
    TProgress progress("Build", 0, false, true);
    progress.Error("an error");
    EXPECT_NE(progress.ReportPath(), folder + "EReport.Txt");
    progress.Destroy();
  }
  std::filesystem::current_path(previous);
  EXPECT_EQ(ReadAll(folder + "EReport.Txt"), "the user's own notes");
}

TEST_F(ProgUnitTest, LinesWithTimesAndThePrinterReport) {
  {
    TProgress progress("Timed", 0, true, false);
    progress.Add("step");
    progress.Error("fault");
    EXPECT_EQ(progress.ReportPath(), "");
    progress.Destroy();
  }
  ASSERT_EQ(view_.lines.size(), 3u);
  // "hh:mm  " before every shown line.
  for (const auto& line : view_.lines) {
    ASSERT_GE(line.size(), 7u);
    EXPECT_EQ(line[2], ':');
    EXPECT_EQ(line.substr(5, 2), "  ");
  }
  EXPECT_EQ(view_.lines[1].substr(7), "fault");
  // The printed report has progress lines as shown and error lines without the time.
  EXPECT_EQ(view_.printed, (std::vector<std::string>{view_.lines[0], "fault", view_.lines[2]}));
  EXPECT_EQ(view_.lines[2].substr(7), "*** ERRORS: 1");
}

}  // namespace
}  // namespace quorrel
