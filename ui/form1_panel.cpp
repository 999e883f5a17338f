// Form1's converter panel, the buttons that lead out of the map work, the manual tab, and the wiring
// of every control to its handler.

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

#include "core/converter.h"
#include "platform/platform.h"
#include "ui/arrow_picture.h"
#include "ui/edge_field.h"
#include "ui/form1.h"
#include "ui/utf8_text.h"
#include "ui/map_canvas.h"
#include "ui/point_grid.h"
#include "ui/preview_image.h"
#include "ui/rich_text/rich_text_loader.h"
#include "ui/session_journal.h"
#include "ui/tab_control.h"

namespace velmaro::ui {

namespace {
constexpr char kContactLink[] = "mailto:velmaro@example.org?CC=&BCC=&Subject=Velmaro&Body=Velmaro";
}  // namespace

void Form1::Command6_Click() { Text9->setText(Utf8(DecimalToMarked(Text7->text().toStdString()))); }

void Form1::Command8_Click() {
  const MarkedReadResult result = MarkedToDecimal(Text7->text().toStdString());
  if (result.outcome == MarkedReadOutcome::MissingMarks) {
    platform_.showMessage({"Error", platform::Buttons::Ok, platform::Icon::Stop, kMessageTitle});
    return;
  }
  Text9->setText(Utf8(result.text));
}

void Form1::Command4_Click() {
  const std::string folder = platform_.applicationFolder();
  if (!platform_.shellOpen({platform::LaunchKind::Program, folder + "/Transko.EXE", std::string(), folder}))
    platform_.showMessage({"Unable Transko.EXE ", platform::Buttons::Ok, platform::Icon::None, {}});
}

void Form1::Command7_Click() {
  if (!platform_.shellOpen({platform::LaunchKind::Link, kContactLink, std::nullopt, std::nullopt}))
    platform_.showMessage({"Unable to launch e-mail", platform::Buttons::Ok, platform::Icon::None, {}});
}

void Form1::Command5_Click() {
  journal_->quit();  // a deliberate end: nothing is to be brought back
  platform_.quit();
}

void Form1::SSTab1_Click(int /*previousTab*/) {
  if (SSTab1->currentCaption() != "Infos") return;
  // A missing manual leaves the box as it was, without a word.
  LoadRichTextFile(*RichTextBox1, Utf8(platform_.applicationFolder() + "/manual/velmaro.rtf"));
}

void Form1::connectHandlers() {
  connect(Picture1, &MapCanvas::mouseDown, this, &Form1::Picture1_MouseDown);
  connect(Picture1, &MapCanvas::mouseMove, this, &Form1::Picture1_MouseMove);
  connect(Image1, &PreviewImage::mouseMove, this, &Form1::Image1_MouseMove);
  connect(XY_Grid, &PointGrid::mouseDown, this, &Form1::XY_Grid_MouseDown);
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
  connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
  connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
  connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
  connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
  connect(Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
  // Both the change and the drag of a bar reposition the canvas, so dragging moves it continuously.
  connect(HScroll1, &QScrollBar::valueChanged, this, &Form1::ApplyHorizontalScroll);
  connect(HScroll1, &QScrollBar::sliderMoved, this, &Form1::ApplyHorizontalScroll);
  connect(VScroll1, &QScrollBar::valueChanged, this, &Form1::ApplyVerticalScroll);
  connect(VScroll1, &QScrollBar::sliderMoved, this, &Form1::ApplyVerticalScroll);
  connect(Picture3, &ArrowPicture::clicked, this, &Form1::Picture3_Click);
  connect(Picture4, &ArrowPicture::clicked, this, &Form1::Picture4_Click);
  connect(Picture5, &ArrowPicture::clicked, this, &Form1::Picture5_Click);
  connect(Picture6, &ArrowPicture::clicked, this, &Form1::Picture6_Click);
  Text2->setKeyPressHandler([this](std::int16_t& key) { Text2_KeyPress(key); });
  Text3->setKeyPressHandler([this](std::int16_t& key) { Text3_KeyPress(key); });
  Text4->setKeyPressHandler([this](std::int16_t& key) { Text4_KeyPress(key); });
  Text5->setKeyPressHandler([this](std::int16_t& key) { Text5_KeyPress(key); });
  connect(SSTab1, &TabControl::tabSelected, this, &Form1::SSTab1_Click);
}

}  // namespace velmaro::ui
