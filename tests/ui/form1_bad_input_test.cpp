// Form1 with files it did not make and folders that refuse writes: maps whose paths hold blanks, commas,
// quotes, non-ASCII letters or a name shorter than four characters must load and save beside themselves,
// and a save that fails (read-only folder, a folder under the name, a full disk) must leave every
// existing file byte for byte as it was, leave no temporary file, and show no confirmation.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <sys/mount.h>
#include <unistd.h>

#include <optional>

#include "form1_fixture.h"

using velmaro::testing::Form1Fixture;

namespace {

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Every entry below the folder, hidden ones included, with the bytes of each file.
QMap<QString, QByteArray> Snapshot(const QString& folder) {
  QMap<QString, QByteArray> entries;
  QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    entries[QDir(folder).relativeFilePath(path)] = it.fileInfo().isDir() ? QByteArray("<folder>") : ReadBytes(path);
  }
  return entries;
}

// A small filesystem of its own, mounted for one test; only root may mount.
class SmallFilesystem {
 public:
  explicit SmallFilesystem(const QString& folder) : folder_(folder.toStdString()) {
    mounted_ = ::geteuid() == 0 && ::mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=64k") == 0;
  }
  ~SmallFilesystem() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallFilesystem(const SmallFilesystem&) = delete;
  SmallFilesystem& operator=(const SmallFilesystem&) = delete;

  bool mounted() const { return mounted_; }
  bool makeReadOnly() {
    return ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=64k") == 0;
  }
  // Writes a filler file until the filesystem has no block left.
  void fill() const {
    QFile filler(QString::fromStdString(folder_) + "/filler");
    if (!filler.open(QIODevice::WriteOnly)) return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
  }

 private:
  std::string folder_;
  bool mounted_ = false;
};

enum class Fault { ReadOnlyFolder, NameIsFolder, FullDisk };

}  // namespace

Q_DECLARE_METATYPE(Fault)

class Form1BadInputTest : public QObject {
  Q_OBJECT

 private slots:
  void mapPathsOfEveryKindLoadAndSaveBesideTheMap_data() {
    QTest::addColumn<QString>("map");     // below the test's folder
    QTest::addColumn<QString>("xyFile");  // where the XY file is expected, below the same folder
    QTest::newRow("blanks") << "old maps/sheet 12 north.jpg" << "old maps/sheet 12 north.txt";
    QTest::newRow("commas") << "a,b/sheet,12.jpg" << "a,b/sheet,12.txt";
    QTest::newRow("quotes") << "\"west\"/it's 'here'.jpg" << "\"west\"/it's 'here'.txt";
    QTest::newRow("non-ASCII letters") << "Cartes été/Ölberg 地図.jpg" << "Cartes été/Ölberg 地図.txt";
    // Four characters are cut whatever the name holds: the companion files land beside the folder.
    QTest::newRow("name shorter than four characters") << "maps/a" << "ma.txt";
    QTest::newRow("name of four characters") << "maps/abcd" << "maps/.txt";
  }

  void mapPathsOfEveryKindLoadAndSaveBesideTheMap() {
    QFETCH(QString, map);
    QFETCH(QString, xyFile);
    QTemporaryDir dir;
    const QString mapPath = dir.path() + "/" + map;
    QVERIFY(QDir().mkpath(QFileInfo(mapPath).path()));
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(QColor(200, 210, 190));
    QVERIFY(picture.save(mapPath, "JPG"));

    Form1Fixture f;
    f.platform.queueFileName(mapPath.toStdString());
    f.form->Command1_Click();
    QCOMPARE(f.form->Picture1->picture().size(), QSize(64, 48));
    QCOMPARE(f.form->Text1->text(), mapPath);
    QCOMPARE(f.form->Text6->text(), dir.path() + "/" + xyFile);

    f.form->setNotation(velmaro::CoordinateType::Meters);
    f.pressCanvas({10, 10});
    f.form->Command3_Click();
    QCOMPARE(QString::fromStdString(f.platform.messages().back().text), dir.path() + "/" + xyFile + " has been saved");
    QVERIFY(ReadBytes(dir.path() + "/" + xyFile).startsWith(",, X coord,, Y coord\r\nPt 1,"));

    Form1Fixture reopened;  // the info file saved beside the map brings the notation back
    reopened.platform.queueFileName(mapPath.toStdString());
    reopened.form->Command1_Click();
    QVERIFY(reopened.form->notation() == velmaro::CoordinateType::Meters);
    QCOMPARE(reopened.form->Text1->text(), mapPath);
  }

  void failedSaveKeepsEveryFileAndSaysNothing_data() {
    QTest::addColumn<Fault>("fault");
    QTest::newRow("read-only folder") << Fault::ReadOnlyFolder;
    QTest::newRow("name is a folder") << Fault::NameIsFolder;
    QTest::newRow("full disk") << Fault::FullDisk;
  }

  void failedSaveKeepsEveryFileAndSaysNothing() {
    QFETCH(Fault, fault);
    QTemporaryDir dir;
    const QString folder = dir.path() + "/maps";
    QVERIFY(QDir().mkpath(folder));
    std::optional<SmallFilesystem> filesystem;
    if (fault != Fault::NameIsFolder && ::geteuid() == 0) {
      filesystem.emplace(folder);
      if (!filesystem->mounted()) QSKIP("no small filesystem can be mounted here");
    } else if (fault == Fault::FullDisk) {
      QSKIP("a full disk needs a small filesystem, which only root may mount");
    }

    // The info file is saved quietly after the XY file and meets the same fault.
    const QString xyName = folder + "/sheet12.txt";
    const QString infoName = folder + "/sheet12.info";
    if (fault == Fault::NameIsFolder) {
      QVERIFY(QDir().mkpath(xyName + "/inside"));
      QVERIFY(QDir().mkpath(infoName + "/inside"));
    } else {
      QVERIFY(WriteBytes(xyName, "Pt 1,E,10000,N,30000\r\n"));
      QVERIFY(WriteBytes(infoName, " 1 \r\n 0 \r\n 0 \r\nold\r\n"));
    }
    if (fault == Fault::FullDisk) filesystem->fill();
    if (fault == Fault::ReadOnlyFolder) {
      if (filesystem) QVERIFY(filesystem->makeReadOnly());
      // A writable file in a read-only folder is replaced in place; read-only files make the save fail.
      else QVERIFY(QFile::setPermissions(xyName, QFileDevice::ReadOwner) &&
                   QFile::setPermissions(infoName, QFileDevice::ReadOwner) &&
                   QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    const QMap<QString, QByteArray> before = Snapshot(folder);

    Form1Fixture f;
    f.givePicture(400, 300);
    f.form->setNotation(velmaro::CoordinateType::Meters);
    for (int i = 0; i < 250; ++i) f.pressCanvas({i % 400, i % 300});  // far more than the free blocks hold
    f.form->Text6->setText(xyName);
    f.form->Text8->setText(infoName);
    f.form->Command3_Click();

    QCOMPARE(Snapshot(folder), before);
    QVERIFY(f.platform.messages().empty());
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
};

QTEST_MAIN(Form1BadInputTest)
#include "form1_bad_input_test.moc"
