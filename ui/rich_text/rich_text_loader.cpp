#include "ui/rich_text/rich_text_loader.h"

#include <QColor>
#include <QFont>
#include <QStringList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <string_view>

#include "files/bounded_file.h"

namespace velmaro::ui {
namespace {

Qt::Alignment QtAlignment(rtf::Alignment alignment) {
  switch (alignment) {
    case rtf::Alignment::Center: return Qt::AlignHCenter;
    case rtf::Alignment::Right: return Qt::AlignRight;
    case rtf::Alignment::Justify: return Qt::AlignJustify;
    case rtf::Alignment::Left: break;
  }
  return Qt::AlignLeft;
}

QTextCharFormat QtCharFormat(const rtf::CharFormat& format) {
  QTextCharFormat qt;
  qt.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
  qt.setFontItalic(format.italic);
  qt.setFontUnderline(format.underline);
  qt.setFontPointSize(format.pointSize);
  if (format.colour) qt.setForeground(QColor(format.colour->red, format.colour->green, format.colour->blue));
  if (format.fontFamily) qt.setFontFamilies(QStringList{QString::fromStdString(*format.fontFamily)});
  return qt;
}

// The model's line break inside a paragraph becomes Qt's line separator, which does not start a block.
QString QtRunText(std::string_view utf8) {
  QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  text.replace(QLatin1Char('\n'), QChar(QChar::LineSeparator));
  return text;
}

QTextBlockFormat QtBlockFormat(const rtf::ParagraphFormat& format, double pixelsPerTwip) {
  QTextBlockFormat block;
  block.setAlignment(QtAlignment(format.alignment));
  block.setLeftMargin(format.leftIndent * pixelsPerTwip);
  block.setTextIndent(format.firstLineIndent * pixelsPerTwip);
  block.setTopMargin(format.spaceBefore * pixelsPerTwip);
  block.setBottomMargin(format.spaceAfter * pixelsPerTwip);
  QList<QTextOption::Tab> tabs;
  for (const int stop : format.tabStops) tabs.append(QTextOption::Tab(stop * pixelsPerTwip, QTextOption::LeftTab));
  block.setTabPositions(tabs);
  return block;
}

void InsertParagraph(QTextCursor& cursor, const rtf::Paragraph& paragraph, bool first, double pixelsPerTwip) {
  const QTextBlockFormat block = QtBlockFormat(paragraph.format, pixelsPerTwip);
  if (first) {
    cursor.setBlockFormat(block);
  } else {
    cursor.insertBlock(block);
  }
  for (const rtf::Run& run : paragraph.runs) cursor.insertText(QtRunText(run.text), QtCharFormat(run.format));
}

}  // namespace

bool LoadRichTextFile(QTextEdit& box, const QString& path) {
  const FileContents file = ReadWholeFile(path.toStdString(), kMaxRichTextFileBytes);
  if (file.error) return false;
  ShowRichText(box, rtf::ReadDocument(file.bytes));
  return true;
}

void ShowRichText(QTextEdit& box, const rtf::Document& document) {
  QTextDocument* target = box.document();
  target->setUndoRedoEnabled(false);  // a manual is not an edit the user could undo
  target->clear();
  QTextCursor cursor(target);
  cursor.beginEditBlock();
  const double pixelsPerTwip = box.logicalDpiX() / 1440.0;
  for (std::size_t i = 0; i < document.paragraphs.size(); ++i) {
    InsertParagraph(cursor, document.paragraphs[i], i == 0, pixelsPerTwip);
  }
  cursor.endEditBlock();
  target->setUndoRedoEnabled(true);
  box.moveCursor(QTextCursor::Start);
}

}  // namespace velmaro::ui
