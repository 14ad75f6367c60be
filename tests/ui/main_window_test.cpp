// The main window: start state, re-timing on rate selection, Open File of every kind, failures
// told without losing the chapters, drops of files and folders.
#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QGroupBox>
#include <QListWidget>
#include <QTest>
#include <filesystem>
#include <memory>

#include "core/frame_rate.h"
#include "disc_builders.h"
#include "support/temp_dir.h"
#include "ui_test_registry.h"
#include "window_harness.h"

namespace markwright::testing {
namespace {

namespace fs = std::filesystem;
using ui::MessageIcon;

constexpr const char* kTwoChapters =
    "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Opening\r\nCHAPTER02=00:10:00.000\r\n"
    "CHAPTER02NAME=Second\r\n";
// Line 2 is not KEY=VALUE.
constexpr const char* kBroken = "CHAPTER01=00:00:00.000\r\nno equals sign\r\n";

QStringList RateLabels(QComboBox* list) {
  QStringList labels;
  for (int i = 0; i < list->count(); ++i) labels << list->itemText(i);
  return labels;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { harness_ = std::make_unique<WindowHarness>(); }
  void cleanup() { harness_.reset(); }

  void StartsWithDefaultRatesAndNoChapters() {
    WindowHarness& h = *harness_;
    QCOMPARE(h.window.objectName(), QString("Form1"));
    QCOMPARE(h.window.windowTitle(), QString("Markwright"));
    QVERIFY(!h.window.windowIcon().isNull());
    const QStringList labels{"23.976", "24", "25", "29.970", "30", "50", "59.940", "60"};
    for (const char* name : {"Combo1", "Combo2"}) {
      auto* list = h.Find<QComboBox>(name);
      QCOMPARE(RateLabels(list), labels);
      QCOMPARE(list->currentText(), QString("23.976"));
      QVERIFY(!list->isEditable());
    }
    QCOMPARE(h.window.input_rate(), 24 / 1.001);
    QCOMPARE(h.window.output_rate(), 24 / 1.001);
    QCOMPARE(h.Find<QListWidget>("List1")->count(), 0);
    QCOMPARE(h.Find<QGroupBox>("Frame1")->title(), QString("Chapters"));
    QCOMPARE(h.Find<QGroupBox>("Frame2")->title(), QString("FPS Options:"));
    const QFont font = h.Find<QListWidget>("List1")->font();
    QVERIFY(font.bold());
    QCOMPARE(font.pointSize(), 12);
    for (const char* name : {"OpenFile", "OpenDisc", "SaveAs", "Exit", "Cmdhelp", "About"}) {
      QVERIFY2(h.Find<QAction>(name)->shortcut().isEmpty(), name);
      QVERIFY(h.Find<QAction>(name)->isEnabled());
    }
    h.window.show();
    QCOMPARE(h.window.minimumSize(), h.window.maximumSize());  // not resizable
  }

  void RateSelectionRetimesAtOnce() {
    WindowHarness& h = *harness_;
    TempDir folder;
    h.OpenFile(folder.Write("chapters.txt", kTwoChapters));
    QCOMPARE(h.Listed(), QStringList({"00:00:00.000", "00:10:00.000"}));
    h.SelectRate("Combo2", "25");
    QCOMPARE(h.Listed(), QStringList({"00:00:00.000", "00:09:35.425"}));
    h.SelectRate("Combo1", "25");
    h.SelectRate("Combo2", "23.976");
    QCOMPARE(h.Listed(), QStringList({"00:00:00.000", "00:10:25.625"}));
    // The chapters themselves stay in input timing; only the display is re-timed.
    QCOMPARE(h.window.chapters(), ChapterList({"00:00:00.000", "00:10:00.000"}));
    h.SelectRate("Combo1", "59.940");
    QCOMPARE(h.window.input_rate(), 60 / 1.001);
    QVERIFY(h.messages.shown.empty());
  }

  void ARateTheChaptersCannotTakeIsToldAndTakenBack() {
    WindowHarness& h = *harness_;
    TempDir folder;
    // Two billion hours fit a millisecond count, two and a half times that do not.
    h.OpenFile(folder.Write("far.txt", "CHAPTER01=2000000000:00:00.000\r\n"));
    QCOMPARE(h.Listed().size(), 1);
    h.SelectRate("Combo1", "60");
    QCOMPARE(h.messages.shown.size(), std::size_t{1});
    QCOMPARE(h.Find<QComboBox>("Combo1")->currentText(), QString("23.976"));
    QCOMPARE(h.window.input_rate(), 24 / 1.001);
    QCOMPARE(h.Listed(), QStringList({"2000000000:00:00.000"}));
  }

  void OpensEveryKindThroughTheDialog() {
    WindowHarness& h = *harness_;
    TempDir folder;
    h.OpenFile(folder.Write("chapters.txt", kTwoChapters));
    QCOMPARE(h.Listed(), QStringList({"00:00:00.000", "00:10:00.000"}));
    const ui::FileDialogRecord& asked = h.file_dialogs.calls.back().second;
    QVERIFY(h.file_dialogs.calls.back().first == ui::DialogMode::kOpen);
    QCOMPARE(asked.title, std::string("Open Chapter file"));
    QVERIFY(asked.filter.starts_with(
        std::string("Supported Files\0*.txt;*.mpls;*.xpl;VTS*.ifo\0", 44)));
    QVERIFY(h.common_dialog.settings().cancel_error);

    // Celltimes frames count at the input rate chosen when the file is opened.
    h.SelectRate("Combo1", "25");
    h.OpenFile(folder.Write("cells.txt", "0\r\n24000\r\n"));
    QCOMPARE(h.window.chapters(), ChapterList({"00:00:00.000", "00:16:00.000"}));
    QCOMPARE(h.Listed(), QStringList({"00:00:00.000", "00:16:41.000"}));
    h.SelectRate("Combo1", "23.976");
    QCOMPARE(h.Listed(), QStringList({"00:00:00.000", "00:16:00.000"}));

    h.OpenFile(folder.Write("00000.mpls", BuildMpls({{{27'000'000, 40'000'000}},
                                                     {{0, 27'000'000, 1}, {0, 29'745'045, 1}}})));
    QCOMPARE(h.Listed(), QStringList({"00:00:00.000", "00:01:01.001"}));

    // Of an HD DVD playlist the first title with the most chapters is read.
    h.OpenFile(folder.Write("VPLST000.XPL", HdDvdPlaylist({5, 12, 7})));
    QCOMPARE(h.Listed().size(), 12);
    QCOMPARE(h.Listed()[1], QString("00:01:00.060"));

    h.OpenFile(fs::path(MARKWRIGHT_SOURCE_DIR) /
               "tests/fixtures/dvd/pal_two_title_sets/VIDEO_TS/VTS_01_0.IFO");
    QCOMPARE(h.Listed().size(), 3);
    QCOMPARE(h.Listed()[0], QString("00:00:00.000"));
    for (const ShownMessage& message : h.messages.shown) qWarning() << message.text;
    QVERIFY(h.messages.shown.empty());
  }

  void FailuresAreToldAndChangeNothing() {
    WindowHarness& h = *harness_;
    TempDir folder;
    h.OpenFile(folder.Write("chapters.txt", kTwoChapters));
    h.SelectRate("Combo2", "25");
    const QStringList listed = h.Listed();

    h.OpenFile(folder.Write("notes.txt", "Hello, world\r\n"));
    QCOMPARE(h.messages.shown.size(), size_t{1});
    QCOMPARE(h.messages.shown[0].text, QString("Unknown Format!"));
    QVERIFY(h.messages.shown[0].icon == MessageIcon::kStop);

    const fs::path broken = folder.Write("broken.txt", kBroken);
    h.OpenFile(broken);
    QCOMPARE(h.messages.shown.size(), size_t{2});
    QVERIFY(h.messages.shown[1].text.startsWith(QString::fromStdString(broken.string()) + ":"));
    QVERIFY(h.messages.shown[1].icon == MessageIcon::kStop);

    const fs::path missing = folder / "gone.mpls";
    h.OpenFile(missing);
    QCOMPARE(h.messages.shown.size(), size_t{3});
    QVERIFY(h.messages.shown[2].text.contains(QString::fromStdString(missing.string())));

    QCOMPARE(h.Listed(), listed);
    QCOMPARE(h.window.chapters(), ChapterList({"00:00:00.000", "00:10:00.000"}));

    // A cancelled dialog is the user's choice: nothing is told, nothing changes.
    h.file_dialogs.answers.push_back(std::nullopt);
    h.Trigger("OpenFile");
    QCOMPARE(h.messages.shown.size(), size_t{3});
    QCOMPARE(h.Listed(), listed);
  }

  void DropsReadTheFirstFileOrScanAFolder() {
    WindowHarness& h = *harness_;
    TempDir folder;
    const fs::path good = folder.Write("chapters.txt", kTwoChapters);
    const fs::path broken = folder.Write("broken.txt", kBroken);
    h.Drop({good});
    QCOMPARE(h.Listed(), QStringList({"00:00:00.000", "00:10:00.000"}));

    // Only the first of several files is read: the broken second one is never looked at.
    h.Drop({folder.Write("one.txt", "CHAPTER01=00:00:05.000\r\n"), broken, good});
    QCOMPARE(h.Listed(), QStringList({"00:00:05.000"}));
    QVERIFY(h.messages.shown.empty());

    // A folder, whatever its permission bits, is scanned as a disc without asking for a folder.
    fs::create_directories(folder / "not a disc");
    fs::permissions(folder / "not a disc", fs::perms::owner_read | fs::perms::owner_exec);
    h.Drop({folder / "not a disc"});
    QCOMPARE(h.messages.shown.size(), size_t{1});
    QCOMPARE(h.messages.shown[0].text,
             QString("Disc or Folder does not contain Blu-Ray, HD DVD or DVD data"));
    QVERIFY(h.messages.shown[0].icon == MessageIcon::kNone);
    QVERIFY(h.folder_chooser.titles.empty());
    QCOMPARE(h.Listed(), QStringList({"00:00:05.000"}));

    // The menu's Open Disc asks for a folder again.
    h.Trigger("OpenDisc");
    QCOMPARE(h.folder_chooser.titles.size(), size_t{1});
    QCOMPARE(h.folder_chooser.titles[0],
             QString("Select Drive or Folder that contain Blu-Ray, HD DVD or DVD files"));
    QCOMPARE(h.messages.shown.size(), size_t{1});  // cancelled: silent
  }

  void ExitClosesTheWindow() {
    WindowHarness& h = *harness_;
    h.window.show();
    QVERIFY(h.window.isVisible());
    h.Trigger("Exit");
    QVERIFY(!h.window.isVisible());
  }

 private:
  std::unique_ptr<WindowHarness> harness_;
};

MARKWRIGHT_UI_TEST(MainWindowTest)

}  // namespace markwright::testing

#include "main_window_test.moc"
