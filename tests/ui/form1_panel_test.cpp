// The converter panel, the buttons that lead out of the map work, and the manual on the "Infos" tab.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include "form1_fixture.h"
#include "ui/tab_control.h"

using velmaro::platform::Icon;
using velmaro::platform::LaunchKind;
using velmaro::testing::Form1Fixture;

namespace {
QString Text(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

class Form1PanelTest : public QObject {
  Q_OBJECT

 private slots:
  void decimalToMarked_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::newRow("start value") << "11.36334" << QString::fromUtf8(" 11\u00b0  21'  48.02''");
    QTest::newRow("negative") << "-11.5" << QString::fromUtf8("-12\u00b0  30'  0''");
    QTest::newRow("not a number shows nothing") << "abc" << "";
  }

  void decimalToMarked() {
    QFETCH(QString, input);
    QFETCH(QString, output);
    Form1Fixture f;
    f.form->Text7->setText(input);
    QTest::mouseClick(f.form->Command6, Qt::LeftButton);
    QCOMPARE(f.form->Text9->text(), output);
    QVERIFY(f.platform.messages().empty());
  }

  void markedToDecimal_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");  // "Error" means the message box and Text9 unchanged
    QTest::newRow("marked form") << QString::fromUtf8(" 11\u00b0  21'  48.02''") << " 11.3633388888889";
    QTest::newRow("no seconds mark") << QString::fromUtf8("11\u00b0 30'") << " 11.5";
    QTest::newRow("negative") << QString::fromUtf8("-12\u00b0  30'  0''") << "-11.5";
    QTest::newRow("no marks") << "11 21 48" << "Error";
    QTest::newRow("no minute mark") << QString::fromUtf8("11\u00b0 21") << "Error";
  }

  void markedToDecimal() {
    QFETCH(QString, input);
    QFETCH(QString, output);
    Form1Fixture f;
    f.form->Text7->setText(input);
    QTest::mouseClick(f.form->Command8, Qt::LeftButton);
    if (output != "Error") {
      QCOMPARE(f.form->Text9->text(), output);
      QVERIFY(f.platform.messages().empty());
      return;
    }
    QCOMPARE(f.form->Text9->text(), QString("OutPut"));
    QCOMPARE(f.platform.messages().size(), std::size_t{1});
    const auto& message = f.platform.messages().front();
    QCOMPARE(Text(message.text), QString("Error"));
    QVERIFY(message.icon == Icon::Stop);
    QCOMPARE(Text(message.title.value_or("")), QString("Tessaro"));
  }

  void companionProgram_data() {
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("started") << true << QStringList{};
    QTest::newRow("missing") << false << QStringList{"Unable Transko.EXE "};
  }

  void companionProgram() {
    QFETCH(bool, starts);
    QFETCH(QStringList, messages);
    Form1Fixture f;
    f.platform.setApplicationFolder("/opt/velmaro");
    f.platform.queueShellResult(starts);
    QTest::mouseClick(f.form->Command4, Qt::LeftButton);
    QCOMPARE(f.platform.launches().size(), std::size_t{1});
    const auto& launch = f.platform.launches().front();
    QVERIFY(launch.kind == LaunchKind::Program);
    QCOMPARE(Text(launch.target), QString("/opt/velmaro/Transko.EXE"));
    QCOMPARE(Text(launch.parameters.value_or("?")), QString());
    QCOMPARE(Text(launch.workingFolder.value_or("?")), QString("/opt/velmaro"));
    QStringList shown;
    for (const auto& message : f.platform.messages()) {
      shown << Text(message.text);
      QVERIFY(!message.title.has_value() && message.icon == Icon::None);
    }
    QCOMPARE(shown, messages);
  }

  void contactLink_data() {
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("mail program found") << true << QStringList{};
    QTest::newRow("no mail program") << false << QStringList{"Unable to launch e-mail"};
  }

  void contactLink() {
    QFETCH(bool, starts);
    QFETCH(QStringList, messages);
    Form1Fixture f;
    f.platform.queueShellResult(starts);
    QTest::mouseClick(f.form->Command7, Qt::LeftButton);
    const auto& launch = f.platform.launches().front();
    QVERIFY(launch.kind == LaunchKind::Link);
    QCOMPARE(Text(launch.target), QString("mailto:velmaro@example.org?CC=&BCC=&Subject=Velmaro&Body=Velmaro"));
    QVERIFY(!launch.parameters.has_value());
    QVERIFY(!launch.workingFolder.has_value());
    QStringList shown;
    for (const auto& message : f.platform.messages()) shown << Text(message.text);
    QCOMPARE(shown, messages);
  }

  void quitAsksNothing() {
    Form1Fixture f;
    f.givePicture(100, 100);
    f.pressCanvas({10, 10});
    QTest::mouseClick(f.form->Command5, Qt::LeftButton);
    QCOMPARE(f.platform.quitCount(), 1);
    QVERIFY(f.platform.messages().empty());
  }

  void infosTabReloadsTheManual() {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath("manual");
    QFile manual(dir.path() + "/manual/velmaro.rtf");
    QVERIFY(manual.open(QIODevice::WriteOnly));
    manual.write("{\\rtf1\\ansi {\\b Capturing points}\\par Left click on the map.\\par}");
    manual.close();
    Form1Fixture f;
    f.platform.setApplicationFolder(dir.path().toStdString());

    f.form->SSTab1->setCurrentIndex(0);
    QVERIFY(f.form->RichTextBox1->toPlainText().isEmpty());
    f.form->SSTab1->setCurrentIndex(2);
    QVERIFY(f.form->RichTextBox1->toPlainText().startsWith("Capturing points"));

    f.form->RichTextBox1->setPlainText("<kml/>");
    f.form->SSTab1->setCurrentIndex(1);
    QCOMPARE(f.form->RichTextBox1->toPlainText(), QString("<kml/>"));
    f.form->SSTab1->setCurrentIndex(2);
    QVERIFY(f.form->RichTextBox1->toPlainText().startsWith("Capturing points"));
  }

  void missingManualLeavesTheBoxAsItWas() {
    QTemporaryDir dir;
    Form1Fixture f;
    f.platform.setApplicationFolder(dir.path().toStdString());
    f.form->RichTextBox1->setPlainText("earlier text");
    f.form->SSTab1->setCurrentIndex(2);
    QCOMPARE(f.form->RichTextBox1->toPlainText(), QString("earlier text"));
    QVERIFY(f.platform.messages().empty());
  }
};

QTEST_MAIN(Form1PanelTest)
#include "form1_panel_test.moc"
