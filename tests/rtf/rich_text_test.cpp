// The rich-text box on a real QTextEdit: every block and fragment of a loaded file, formats included,
// compared with a golden dump; a file that cannot be read leaves the box as it was.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTextBlock>
#include <QTextEdit>

#include "tests/files/support.h"
#include "ui/rich_text/rich_text_loader.h"

namespace velmaro::ui {
namespace {

const std::filesystem::path kSeeds = VELMARO_RTF_SEEDS;

// Lengths back in twips, so the dump does not depend on the screen's resolution.
std::string Dump(const QTextEdit& box) {
  const auto twips = [&box](double pixels) { return QString::number(qRound(pixels * 1440 / box.logicalDpiX())); };
  QString dump;
  for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
    const QTextBlockFormat f = block.blockFormat();
    dump += QString("block align=%1 left=%2 indent=%3 top=%4 bottom=%5 tabs=")
                .arg(int(f.alignment())).arg(twips(f.leftMargin()), twips(f.textIndent()), twips(f.topMargin()), twips(f.bottomMargin()));
    for (const QTextOption::Tab& tab : f.tabPositions()) dump += twips(tab.position) + " ";
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat c = it.fragment().charFormat();
      dump += QString("\n  [%1] weight=%2 italic=%3 underline=%4 size=%5 colour=%6 family=%7")
                  .arg(it.fragment().text()).arg(c.fontWeight()).arg(c.fontItalic()).arg(c.fontUnderline())
                  .arg(c.fontPointSize()).arg(c.hasProperty(QTextFormat::ForegroundBrush) ? c.foreground().color().name() : "-")
                  .arg(c.fontFamilies().toStringList().join(","));
    }
    dump += "\n";
  }
  return dump.toStdString();
}

TEST(RichTextBox, ShowsTheDocumentWithItsFormats) {
  for (const char* seed : {"rich_text_box.rtf", "plain_kml_lines_cr_lf.txt"}) {
    QTextEdit box;
    ASSERT_TRUE(LoadRichTextFile(box, QString::fromStdString((kSeeds / seed).string())));
    test::ExpectGolden(std::filesystem::path(VELMARO_RTF_TESTS) / "expected" / (std::string(seed) + ".box"), Dump(box));
  }
}

TEST(RichTextBox, UnreadableFileLeavesTheBoxAsItWas) {
  QTextEdit box;
  box.setHtml("<p><b>previous</b> content</p>");
  const QString before = box.toHtml();
  EXPECT_FALSE(LoadRichTextFile(box, QString::fromStdString((kSeeds / "missing.rtf").string())));
  EXPECT_EQ(box.toHtml(), before);
}

}  // namespace
}  // namespace velmaro::ui

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests (at build time, for ctest) needs no display; running them needs the application.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
