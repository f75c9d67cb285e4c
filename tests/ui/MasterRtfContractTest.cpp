// The page builder reads what the editor writes: a master typed into the real
// editor with the formatting a page uses, and a word processor's document opened
// and saved by the editor, read without a word the builder does not know.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

#include "platform/Abort.h"
#include "shell/ShellState.h"
#include "sitebuild/BuildBuffers.h"
#include "sitebuild/BuildPages.h"
#include "sitebuild/BuildSource.h"
#include "support/ScriptedDialogs.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"
#include "ui/platform/RichEdit.h"

namespace quorrel::test {
namespace {

struct TRead {
  std::string page;
  std::vector<std::string> messages;
  bool aborted = false;
};

// Saves the editor's RTF as the master, collects it and reads its body (the text
// after the first page command, which this build cannot run yet).
TRead ReadSaved(TRichEdit& rich) {
  CurrentFolder = TestHome() + "site/";
  CurrentFileName = CurrentFolder + "master.rtf";
  WriteFile(CurrentFileName, rich.GetRtfSource());
  TRead read;
  TBuildRun run;
  try {
    std::string source = CollectBuildSource(false, 0);
    source.erase(0, source.find("\r\n"));
    StartBuildRun(run, source);
    RunBuildLoop(run);
  } catch (const EAbort&) {
    read.aborted = true;
  }
  read.page = PageBuffer;
  read.messages = Dialogs().Texts();
  return read;
}

std::unique_ptr<TRichEdit> MakeEditor() {
  auto rich = std::make_unique<TRichEdit>();
  rich->resize(600, 400);
  rich->show();
  QApplication::processEvents();
  return rich;
}

void Format(TRichEdit& rich, const std::string& text, const QTextCharFormat& format) {
  const size_t at = rich.GetText().find(text);
  ASSERT_NE(at, std::string::npos) << text;
  QTextCursor cursor(rich.document());
  cursor.setPosition(static_cast<int>(rich.OffsetToPos(at)));
  cursor.setPosition(static_cast<int>(rich.OffsetToPos(at + text.size())), QTextCursor::KeepAnchor);
  cursor.mergeCharFormat(format);
}

TEST(MasterRtfContract, TypedMasterReadsWithoutUnknownWords) {
  auto rich = MakeEditor();
  rich->SetRtfSource(
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs24 \r\n\\par }\r\n");
  rich->Select(0, rich->TextLength());
  rich->SetSelText(
      ".PG index|Home\r\nSome bold and italic and underlined words, x2 squared.\r\n\x95 a "
      "bullet point");
  QTextCharFormat bold, italic, underline, super;
  bold.setFontWeight(QFont::Bold);
  italic.setFontItalic(true);
  underline.setFontUnderline(true);
  super.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
  Format(*rich, "bold", bold);
  Format(*rich, "italic", italic);
  Format(*rich, "underlined", underline);
  Format(*rich, "2", super);

  const TRead read = ReadSaved(*rich);
  EXPECT_FALSE(read.aborted) << (read.messages.empty() ? "" : read.messages.back());
  for (const std::string& message : read.messages) {
    EXPECT_EQ(message.find("Unknown RTF"), std::string::npos) << message;
  }
  EXPECT_NE(read.page.find("<b>bold</b>"), std::string::npos) << read.page;
  EXPECT_NE(read.page.find("<i>italic</i>"), std::string::npos) << read.page;
  EXPECT_NE(read.page.find("<u>underlined</u>"), std::string::npos) << read.page;
  EXPECT_NE(read.page.find("x<Sup>2</Sup>"), std::string::npos) << read.page;
  EXPECT_NE(read.page.find("&bull; a bullet point"), std::string::npos) << read.page;
}

// A word processor's document opened in the editor, made a master and saved: its
// fonts and sizes are left out of what is written, its character formatting and
// paragraph layout stay; the builder passes over the layout and refuses centring.
TEST(MasterRtfContract, WordProcessorDocumentSavedByTheEditorReads) {
  auto rich = MakeEditor();
  rich->SetRtfSource(ReadFile(std::string(QUORREL_FIXTURES) + "/rtf/libreoffice-sample.rtf"));
  rich->Select(0, 0);
  rich->SetSelText(".PG sample|Sample\r\n");
  const TRead centred = ReadSaved(*rich);
  EXPECT_TRUE(centred.aborted);
  ASSERT_FALSE(centred.messages.empty());
  EXPECT_NE(centred.messages.back().find("Use <center> rather than centring"), std::string::npos)
      << centred.messages.back();

  QTextCursor all(rich->document());
  all.select(QTextCursor::Document);
  QTextBlockFormat left;
  left.setAlignment(Qt::AlignLeft);
  all.mergeBlockFormat(left);
  const TRead read = ReadSaved(*rich);
  EXPECT_FALSE(read.aborted) << (read.messages.empty() ? "" : read.messages.back());
  for (const std::string& message : read.messages) {
    EXPECT_EQ(message.find("Unknown RTF"), std::string::npos) << message;
  }
  EXPECT_NE(read.page.find("<b>"), std::string::npos) << read.page;
  EXPECT_NE(read.page.find("<i>"), std::string::npos) << read.page;
}

// An empty last paragraph typed in the editor is refused before anything is built.
TEST(MasterRtfContract, EmptyLastParagraphIsRefused) {
  auto rich = MakeEditor();
  rich->SetRtfSource(
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs24 \r\n\\par }\r\n");
  rich->Select(0, rich->TextLength());
  rich->SetSelText(".PG index|Home\r\nText\r\n");
  const TRead read = ReadSaved(*rich);
  EXPECT_TRUE(read.aborted);
  ASSERT_FALSE(read.messages.empty());
  EXPECT_NE(read.messages.back().find("Remove blank line at end of page!"), std::string::npos);
}

}  // namespace
}  // namespace quorrel::test
