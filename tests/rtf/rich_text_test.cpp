// The rich-text box on a real QTextEdit, loaded with the user manual and with every seed of the
// reader's fuzzer: the box's document, formats and all, compared with its HTML form in expected/.

#include <QApplication>
#include <QTextBlock>
#include <QTextEdit>

#include "tests/files/support.h"
#include "ui/rich_text/rich_text_loader.h"

namespace velmaro::ui {
namespace {

namespace fs = std::filesystem;

// HTML has no tab stops: they follow it, in pixels. Qt joins neighbouring fragments of one format, so the
// number of runs of each paragraph of the reader's model follows as well.
std::string Shown(const QTextEdit& box, const fs::path& file) {
  QString shown = box.document()->toHtml();
  for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
    for (const QTextOption::Tab& tab : block.blockFormat().tabPositions()) shown += " tab " + QString::number(tab.position);
  }
  for (const rtf::Paragraph& paragraph : rtf::ReadDocument(test::Slurp(file)).paragraphs) shown += " runs " + QString::number(paragraph.runs.size());
  return shown.toStdString();
}

TEST(RichTextBox, ShowsTheManualAndEverySeed) {
  int argc = 0;
  const QApplication application(argc, nullptr);
  std::vector<fs::path> files = {VELMARO_MANUAL_RTF};
  for (const auto& seed : fs::directory_iterator(VELMARO_RTF_SEEDS)) files.push_back(seed.path());
  for (const fs::path& file : files) {
    QTextEdit box;
    ASSERT_TRUE(LoadRichTextFile(box, QString::fromStdString(file.string())));
    test::ExpectGolden(fs::path(VELMARO_RTF_TESTS) / "expected" / (file.filename().string() + ".txt"), Shown(box, file));
  }
  QTextEdit box;  // a file that cannot be read leaves the box as it was
  box.setHtml("<p><b>previous</b> content</p>");
  const QString before = box.toHtml();
  EXPECT_FALSE(LoadRichTextFile(box, QString::fromStdString(files.back().string() + ".missing")));
  EXPECT_EQ(box.toHtml(), before);
}

}  // namespace
}  // namespace velmaro::ui
