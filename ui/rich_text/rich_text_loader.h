#pragma once
// Filling the window's rich-text box: the user manual (RTF) on the "Infos" tab, and the KML document
// after an export, which is not RTF and is shown as plain text, one line per paragraph.

#include <QString>
#include <QTextEdit>

#include <cstddef>

#include "files/rtf/rtf_document.h"

namespace velmaro::ui {

// Files larger than this are refused rather than read whole into memory.
inline constexpr std::size_t kMaxRichTextFileBytes = std::size_t{64} * 1024 * 1024;

// Reads the file and, when it could be read, replaces the box's content by it and returns true: RTF
// when the bytes start with "{\rtf", plain text otherwise. A missing, unreadable or oversized file
// returns false and leaves the box exactly as it was. Never shows a message.
bool LoadRichTextFile(QTextEdit& box, const QString& path);

// Replaces the box's content by the document: one block per paragraph with its alignment, indents,
// spacing and tab stops (twips turned into the box's pixels), one
// fragment per run with its weight, slant, underline, size, colour and font family. A font family
// that is not installed is left to Qt's font matching. The cursor ends at the top, the undo history
// is cleared.
void ShowRichText(QTextEdit& box, const rtf::Document& document);

}  // namespace velmaro::ui
