// Open Disc: the stream window's entries for Blu-ray, HD DVD and DVD folders, its OK and Cancel
// rules, and a chosen stream that cannot be loaded.
#include <QDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "disc_builders.h"
#include "support/temp_dir.h"
#include "ui_test_registry.h"
#include "window_harness.h"

namespace markwright::testing {
namespace {

namespace fs = std::filesystem;
using ui::MessageIcon;

QStringList Entries(QDialog& streams) {
  QStringList labels;
  auto* list = streams.findChild<QListWidget*>("List1");
  for (int row = 0; row < list->count(); ++row) labels << list->item(row)->text();
  return labels;
}

// A script that picks the entry at the row and presses OK.
auto Choose(int row) {
  return [row](QDialog& streams) {
    streams.findChild<QListWidget*>("List1")->setCurrentRow(row);
    streams.findChild<QPushButton*>("Command1")->click();
  };
}

}  // namespace

class DiscWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { harness_ = std::make_unique<WindowHarness>(); }
  void cleanup() { harness_.reset(); }

  void BluRayOkNeedsAChoiceAndCancelLoadsNothing() {
    WindowHarness& h = *harness_;
    TempDir disc;
    disc.Write("BDMV/PLAYLIST/00000.mpls", PlaylistWithChapters(12));
    disc.Write("BDMV/PLAYLIST/00001.mpls", PlaylistWithChapters(1));
    h.folder_chooser.answers.push_back(QString::fromStdString(disc.path().string()));
    h.modal_runner.scripts.push_back([](QDialog& streams) {
      QCOMPARE(streams.objectName(), QString("Form2"));
      QCOMPARE(streams.windowTitle(), QString("Select stream"));
      QCOMPARE(Entries(streams),
               QStringList({"00000.mpls, 12 Chapter(s)", "00001.mpls, 1 Chapter(s)"}));
      QVERIFY(streams.findChild<QListWidget*>("List1")->selectedItems().isEmpty());
      streams.findChild<QPushButton*>("Command1")->click();  // OK without a choice
      QVERIFY(streams.isVisible());
      streams.findChild<QPushButton*>("Command2")->click();
      QVERIFY(!streams.isVisible());
    });
    h.Trigger("OpenDisc");
    QCOMPARE(h.modal_runner.shown.size(), size_t{1});
    QCOMPARE(h.Listed().size(), 0);

    h.folder_chooser.answers.push_back(QString::fromStdString(disc.path().string()));
    h.modal_runner.scripts.push_back(Choose(1));
    h.Trigger("OpenDisc");
    QCOMPARE(h.Listed(), QStringList({"00:00:00.000"}));
    QVERIFY(h.messages.shown.empty());
  }

  void HdDvdOffersOneEntryPerTitle() {
    WindowHarness& h = *harness_;
    TempDir disc;
    disc.Write("ADV_OBJ/VPLST000.XPL", HdDvdPlaylist({8, 1, 20}));
    h.modal_runner.scripts.push_back([](QDialog& streams) {
      QCOMPARE(Entries(streams),
               QStringList({"VPLST000.XPL, 8 Chapter(s)", "VPLST000.XPL, 1 Chapter(s)",
                            "VPLST000.XPL, 20 Chapter(s)"}));
      Choose(2)(streams);
    });
    h.Drop({disc.path()});
    QCOMPARE(h.Listed().size(), 20);
    QVERIFY(h.messages.shown.empty());
  }

  void DvdTitleSetsOfAnAuthoredDisc() {
    WindowHarness& h = *harness_;
    h.folder_chooser.answers.push_back(QString::fromStdString(
        (fs::path(MARKWRIGHT_SOURCE_DIR) / "tests/fixtures/dvd/pal_two_title_sets").string()));
    h.modal_runner.scripts.push_back([](QDialog& streams) {
      QCOMPARE(Entries(streams),
               QStringList({"VTS_01_0.IFO, 3 Chapter(s)", "VTS_02_0.IFO, 2 Chapter(s)"}));
      Choose(1)(streams);
    });
    h.Trigger("OpenDisc");
    QCOMPARE(h.Listed().size(), 2);
    QCOMPARE(h.Listed()[0], QString("00:00:00.000"));
    QVERIFY(h.messages.shown.empty());
  }

  void FoldersWithoutStreamsAreTold() {
    WindowHarness& h = *harness_;
    TempDir disc;
    fs::create_directories(disc / "VIDEO_TS");
    h.Drop({disc.path()});
    QCOMPARE(h.messages.shown.size(), size_t{1});
    QCOMPARE(h.messages.shown[0].text, QString("Disc or Folder does not contain valid DVD data"));
    QVERIFY(h.messages.shown[0].icon == MessageIcon::kNone);
    QVERIFY(h.modal_runner.shown.empty());
  }

  void ChosenStreamThatFailsToLoadIsToldAndChangesNothing() {
    WindowHarness& h = *harness_;
    TempDir folder;
    h.OpenFile(folder.Write("chapters.txt", "CHAPTER01=00:00:07.000\r\nCHAPTER01NAME=\r\n"));
    TempDir disc;
    const fs::path playlist = disc.Write("BDMV/PLAYLIST/00000.mpls", PlaylistWithChapters(3));
    h.modal_runner.scripts.push_back([&](QDialog& streams) {
      disc.Write("BDMV/PLAYLIST/00000.mpls", "MPLS0200");  // damaged while the user chooses
      Choose(0)(streams);
    });
    h.Drop({disc.path()});
    QCOMPARE(h.messages.shown.size(), size_t{1});
    QVERIFY(h.messages.shown[0].text.contains(QString::fromStdString(playlist.string())));
    QVERIFY(h.messages.shown[0].icon == MessageIcon::kStop);
    QCOMPARE(h.Listed(), QStringList({"00:00:07.000"}));
  }

 private:
  std::unique_ptr<WindowHarness> harness_;
};

MARKWRIGHT_UI_TEST(DiscWindowTest)

}  // namespace markwright::testing

#include "disc_window_test.moc"
