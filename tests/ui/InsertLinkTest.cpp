// Link (F4) on the real main window over a copy of a real site: the pages holding
// the selected text are offered in the pick list, and the link inserted leads to
// the chosen page's anchor.
#include <QtCore/qtestsupport_core.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "platform/CodePage.h"
#include "shell/LinkPick.h"
#include "shell/MyRich.h"
#include "shell/ShellState.h"
#include "support/Installed.h"
#include "support/PlatformKeys.h"
#include "support/ShownWindowTest.h"
#include "support/TestFiles.h"
#include "ui/shell/HelpViewer.h"
#include "ui/shell/LinkForm.h"

namespace quorrel {
namespace {

namespace fs = std::filesystem;

constexpr char kXsltDocs[] = "/usr/share/doc/libxslt1-dev/html";

class InsertLinkTest : public test::ShownWindowTest {
 protected:
  InsertLinkTest() : ShownWindowTest("insert-link/") {}
  void TearDown() override {
    SetLinkForm(nullptr);
    ShownWindowTest::TearDown();
  }
};

TEST_F(InsertLinkTest, F4OnAnAnchorsTextOffersThePagesHoldingItAndLinksToTheChosenOne) {
  ASSERT_TRUE(test::Installed(kXsltDocs, "libxslt1-dev"));
  const std::string docs = site + "xslt/";
  fs::copy(kXsltDocs, docs, fs::copy_options::recursive);
  const std::string wanted = "The XSLT processing steps";
  OpenFile("xslt/notes.htm", "<p>First read " + wanted + ".</p>\n");
  const size_t at = CurrentEditor->GetText().find(wanted);
  CurrentEditor->Select(CurrentEditor->OffsetToPos(at), wanted.size());
  InstallLinkForm();

  QString caption;
  int help = 0;
  QStringList offered;
  QTimer::singleShot(0, qApp, [&] {
    auto* list = qobject_cast<TLinkForm*>(QApplication::activeModalWidget());
    ASSERT_NE(list, nullptr);
    caption = list->windowTitle();
    help = HelpContextFor(list);
    for (QPushButton* entry : list->findChildren<QPushButton*>("LinkEntry")) {
      offered << entry->text();
      if (entry->text().startsWith("xslt.html:")) entry->click();
    }
    if (list->isVisible()) list->reject();
  });
  test::PressKey(Editor(), Qt::Key_F4);

  EXPECT_EQ(caption.toStdString(), "Links with " + wanted);
  EXPECT_EQ(help, 50660);
  EXPECT_TRUE(offered.contains("internals.html:  id=\"XSLT\">" + QString::fromStdString(wanted)))
      << offered.join("\n").toStdString();
  ASSERT_TRUE(offered.filter("xslt.html:").size() == 1) << offered.join("\n").toStdString();
  // Every entry is a page of the folder that holds the text.
  for (const QString& entry : offered) {
    const std::string file = entry.section(":  ", 0, 0).toStdString();
    EXPECT_NE(test::ReadFile(docs + file).find(wanted), std::string::npos) << file;
  }

  // The link leads to an existing page and to an anchor in it.
  const std::string text = CurrentEditor->GetText();
  const std::string open = "<A Href=\"";
  const size_t href = text.find(open);
  ASSERT_NE(href, std::string::npos) << text;
  const size_t close = text.find("\">", href);
  const std::string target = text.substr(href + open.size(), close - href - open.size());
  EXPECT_EQ(text.substr(close, 2 + wanted.size() + 4), "\">" + wanted + "</A>");
  const size_t hash = target.find('#');
  ASSERT_NE(hash, std::string::npos) << target;
  const std::string page = test::ReadFile(docs + target.substr(0, hash));
  ASSERT_FALSE(page.empty()) << target;
  const std::string anchor = target.substr(hash + 1);
  EXPECT_TRUE(page.find("name=\"" + anchor + "\"") != std::string::npos ||
              page.find("id=\"" + anchor + "\"") != std::string::npos)
      << target;
}

}  // namespace
}  // namespace quorrel
