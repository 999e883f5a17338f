// LoadRichTextFile on a real QTextEdit: formats reach the QTextDocument, a KML file shows as plain
// lines, and a file that cannot be read leaves the box untouched.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextFragment>

#include <optional>
#include <ostream>

#include "ui/rich_text/rich_text_loader.h"

namespace velmaro::ui {
namespace {

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

std::optional<QTextFragment> FindFragment(const QTextDocument& document, const QString& text) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      if (it.fragment().text() == text) return it.fragment();
    }
  }
  return std::nullopt;
}

constexpr char kFormattedRtf[] =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}"
    "{\\colortbl;\\red0\\green51\\blue153;}"
    "\\qc{\\b\\fs32\\cf1 Heading}\\par\\pard\\li1440\\sb720 "
    "plain {\\b heavy} {\\i slanted} {\\ul lined} {\\f1 fixed}\\line caf\\'e9\\par}";

struct FragmentCase {
  const char* name;
  const char* text;
  bool bold;
  bool italic;
  bool underline;
  double pointSize;
  const char* colour;  // #rrggbb, or nullptr for the default text colour
  const char* family;
};

const FragmentCase kFragmentCases[] = {
    {"Heading", "Heading", true, false, false, 16.0, "#003399", "Arial"},
    {"Plain", "plain ", false, false, false, 12.0, nullptr, "Arial"},
    {"Bold", "heavy", true, false, false, 12.0, nullptr, "Arial"},
    {"Italic", "slanted", false, true, false, 12.0, nullptr, "Arial"},
    {"Underline", "lined", false, false, true, 12.0, nullptr, "Arial"},
    {"FontFamily", "fixed", false, false, false, 12.0, nullptr, "Courier New"},
};

void PrintTo(const FragmentCase& row, std::ostream* out) { *out << row.name; }

class FragmentTest : public ::testing::TestWithParam<FragmentCase> {};

TEST_P(FragmentTest, RunFormatReachesTheDocument) {
  QTemporaryDir dir;
  QTextEdit box;
  ASSERT_TRUE(LoadRichTextFile(box, WriteFile(dir, "manual.rtf", kFormattedRtf)));
  const FragmentCase& row = GetParam();
  const auto fragment = FindFragment(*box.document(), QString::fromUtf8(row.text));
  ASSERT_TRUE(fragment.has_value()) << row.text;
  const QTextCharFormat format = fragment->charFormat();
  EXPECT_EQ(format.fontWeight(), row.bold ? QFont::Bold : QFont::Normal);
  EXPECT_EQ(format.fontItalic(), row.italic);
  EXPECT_EQ(format.fontUnderline(), row.underline);
  EXPECT_EQ(format.fontPointSize(), row.pointSize);
  EXPECT_EQ(format.hasProperty(QTextFormat::ForegroundBrush), row.colour != nullptr);
  if (row.colour) {
    EXPECT_EQ(format.foreground().color().name(), QString(row.colour));
  }
  EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{row.family});
}

INSTANTIATE_TEST_SUITE_P(Runs, FragmentTest, ::testing::ValuesIn(kFragmentCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RichTextLoaderTest, ParagraphsBecomeBlocksWithAlignmentAndLineBreaks) {
  QTemporaryDir dir;
  QTextEdit box;
  ASSERT_TRUE(LoadRichTextFile(box, WriteFile(dir, "manual.rtf", kFormattedRtf)));
  const QTextDocument& document = *box.document();
  ASSERT_EQ(document.blockCount(), 2);
  EXPECT_EQ(document.begin().blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_EQ(document.begin().next().blockFormat().alignment(), Qt::AlignLeft);
  // One inch of left indent and half an inch of space before, in the box's pixels.
  EXPECT_EQ(document.begin().next().blockFormat().leftMargin(), box.logicalDpiX());
  EXPECT_EQ(document.begin().next().blockFormat().topMargin(), box.logicalDpiX() / 2.0);
  const QString expected =
      QStringLiteral("plain heavy slanted lined fixed") + QChar(QChar::LineSeparator) + QStringLiteral("caf\u00e9");
  EXPECT_EQ(document.begin().next().text(), expected);
}

TEST(RichTextLoaderTest, KmlFileShowsAsPlainTextLines) {
  const QStringList lines = {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<Document>", "     <IconStyle>",
                             "<name>Pt 1</name>", "<coordinates>6.5,46.50138</coordinates>", "</kml>"};
  QTemporaryDir dir;
  QTextEdit box;
  box.setHtml("<b>manual</b>");
  ASSERT_TRUE(LoadRichTextFile(box, WriteFile(dir, "map.kml", (lines.join("\r\n") + "\r\n").toUtf8())));
  EXPECT_EQ(box.toPlainText(), lines.join("\n"));
  for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) EXPECT_EQ(it.fragment().charFormat().fontWeight(), QFont::Normal);
  }
}

struct UnreadableCase {
  const char* name;
  QString (*makePath)(const QTemporaryDir&);
};

const UnreadableCase kUnreadableCases[] = {
    {"MissingFile", [](const QTemporaryDir& dir) { return dir.filePath("manual/velmaro.rtf"); }},
    {"Folder", [](const QTemporaryDir& dir) { return dir.path(); }},
    {"EmptyPath", [](const QTemporaryDir&) { return QString(); }},
    {"LargerThanLimit",
     [](const QTemporaryDir& dir) {
       const QString path = WriteFile(dir, "huge.rtf", "{\\rtf1 x}");
       QFile(path).resize(kMaxRichTextFileBytes + 1);  // sparse: costs no disk space
       return path;
     }},
};

void PrintTo(const UnreadableCase& row, std::ostream* out) { *out << row.name; }

class UnreadableTest : public ::testing::TestWithParam<UnreadableCase> {};

TEST_P(UnreadableTest, ReturnsFalseAndLeavesTheBoxAsItWas) {
  QTemporaryDir dir;
  QTextEdit box;
  box.setHtml("<p><b>previous</b> content</p>");
  const QString before = box.toHtml();
  EXPECT_FALSE(LoadRichTextFile(box, GetParam().makePath(dir)));
  EXPECT_EQ(box.toHtml(), before);
}

INSTANTIATE_TEST_SUITE_P(Paths, UnreadableTest, ::testing::ValuesIn(kUnreadableCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RichTextLoaderTest, FileOfExactlyTheLimitIsRead) {
  QTemporaryDir dir;
  QTextEdit box;
  const QString path = WriteFile(dir, "limit.txt", "x");
  QFile(path).resize(kMaxRichTextFileBytes);  // the zero bytes after the x are dropped as controls
  ASSERT_TRUE(LoadRichTextFile(box, path));
  EXPECT_EQ(box.toPlainText(), "x");
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
