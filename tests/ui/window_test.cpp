// The windows through their real widgets: re-timing on a rate change, Open File of each kind,
// failures that name the file and change nothing, drops, the disc stream choice, Save.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTableView>
#include <cstdio>

#include <sys/stat.h>

#include "cli/help_text.h"
#include "markwright/version.h"
#include "readers/mediainfo_child.h"
#include "readers/source_kinds.h"
#include "support/chapter_times.h"
#include "support/matroska_builder.h"
#include "support/mediainfo_child_program.h"
#include "support/playlist_builders.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "ui/about_window.h"
#include "ui/format_window.h"
#include "window_harness.h"
#include "writers/format_table.h"

namespace markwright::testing {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr const char* kTwoChapters = "CHAPTER01=00:00:00.000\r\nCHAPTER02=00:10:00.000\r\n";

// A Blu-ray playlist with entry marks at 0 s and at 61.001 s.
const std::string kPlaylist =
    BuildMpls({{{27'000'000, 40'000'000}}, {{0, 27'000'000, 1}, {0, 29'745'045, 1}}});

// Clicks the row of a window's list and the button.
auto Choose(int row, const char* button = "Command1") {
  return [=](QDialog& window) {
    WindowHarness::ClickRow(window, row);
    WindowHarness::Click(window, button);
  };
}

// Clicks the format at the row (the format table's order) and returns its preview.
std::string PreviewOf(QDialog& formats, int row) {
  WindowHarness::ClickRow(formats, row);
  return static_cast<ui::FormatWindow&>(formats).PreviewText();
}

TEST(MainWindow, ARateChangeRetimesTheListAndWhatTheWritersGet) {
  WindowHarness h;
  TempDir folder;
  h.OpenFile(folder.Write("chapters.txt", kTwoChapters));
  h.SelectRate("Combo2", "25");
  EXPECT_EQ(h.Listed(), Lines({"00:00:00.000", "00:09:35.425"}));
  h.SelectRate("Combo1", "25");
  h.SelectRate("Combo2", "23.976");
  EXPECT_EQ(h.Listed(), Lines({"00:00:00.000", "00:10:25.625"}));
  EXPECT_EQ(testing::TimesOf(h.window.retimed()), h.Listed());
  EXPECT_EQ(testing::TimesOf(h.window.chapters()),
            Lines({"00:00:00.000", "00:10:00.000"}));  // input timing kept
  // Two billion hours fit a millisecond count; two and a half times that do not.
  const fs::path far = folder.Write("far.txt", "CHAPTER01=2000000000:00:00.000\r\n");
  h.OpenFile(far);
  h.SelectRate("Combo1", "60");
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_TRUE(h.messages[0].starts_with(far.string() + ": ")) << h.messages[0];
  EXPECT_EQ(WindowHarness::Find<QComboBox>(h.window, "Combo1")->currentText(), "25");
  EXPECT_EQ(testing::TimesOf(h.window.retimed()),
            Lines({"2085416666:40:00.000"}));  // as at 25 to 23.976
}

TEST(MainWindow, OpensEachKind) {
  WindowHarness h;
  TempDir folder;
  // Celltimes frames count at the input rate chosen when the file is opened.
  h.SelectRate("Combo1", "25");
  h.OpenFile(folder.Write("cells.txt", "0\r\n24000\r\n"));
  EXPECT_EQ(testing::TimesOf(h.window.chapters()), Lines({"00:00:00.000", "00:16:00.000"}));
  h.OpenFile(folder.Write("00000.mpls", kPlaylist));
  EXPECT_EQ(testing::TimesOf(h.window.chapters()), Lines({"00:00:00.000", "00:01:01.001"}));
  // Of an HD DVD playlist, the title with the most chapters.
  h.OpenFile(folder.Write("VPLST000.XPL", BuildXpl({XplTitleOfChapters(5), XplTitleOfChapters(12),
                                                    XplTitleOfChapters(7)})));
  EXPECT_EQ(h.window.chapters().chapters.size(), 12u);
  h.OpenFile(fs::path(MARKWRIGHT_SOURCE_DIR) /
             "tests/fixtures/dvd/pal_two_title_sets/VIDEO_TS/VTS_01_0.IFO");
  EXPECT_EQ(h.window.chapters().chapters.size(), 3u);
  EXPECT_EQ(h.messages, Lines());
}

TEST(MainWindow, AFailedOpenNamesTheFileAndChangesNothing) {
  WindowHarness h;
  TempDir folder;
  h.OpenFile(folder.Write("chapters.txt", kTwoChapters));
  // A name that would drive a terminal is shown escaped.
  const fs::path broken = folder.Write("bro\x1bken.txt", "CHAPTER01=00:00:00.000\r\nno equals\r\n");
  h.OpenFile(folder.Write("notes.txt", "Hello, world\r\n"));
  h.OpenFile(broken);
  h.OpenFile(folder / "gone.mpls");
  h.OpenFile("");  // cancelled: nothing to tell
  // Refused unopened, as the command line refuses it: opening a FIFO waits for a writer.
  const fs::path fifo = folder / "fifo.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  h.OpenFile(fifo);
  h.Drop({fifo});
  ASSERT_EQ(h.messages.size(), 5u);
  EXPECT_EQ(h.messages[0], (folder / "notes.txt").string() + ": Unknown Format!");
  EXPECT_TRUE(h.messages[1].starts_with((folder / "bro\\x1bken.txt").string() + ": "));
  EXPECT_TRUE(h.messages[2].starts_with((folder / "gone.mpls").string() + ": "));
  EXPECT_EQ(h.messages[3], "Cannot open input file!");
  EXPECT_EQ(h.messages[4], "Cannot open input file!");
  EXPECT_EQ(testing::TimesOf(h.window.chapters()), Lines({"00:00:00.000", "00:10:00.000"}));
  EXPECT_EQ(testing::TimesOf(h.window.chapters()), h.Listed());
}

// Laying out a megabyte of text froze the window for many seconds.
TEST(MainWindow, ALongNameIsShownShortAndSavedWhole) {
  WindowHarness h;
  TempDir folder;
  const std::string name = "Start" + std::string(std::size_t{1} << 20, 'x') + "End";
  std::string source;  // 31 chapters a second apart; the second has the long name
  for (int second = 0; second <= 30; ++second) {
    char chapter[64];
    std::snprintf(chapter, sizeof chapter,
                  "CHAPTER%02d=00:00:%02d.000\r\nCHAPTER%02dNAME=", second + 1, second, second + 1);
    source += chapter + (second == 1 ? name : "c" + std::to_string(second)) + "\r\n";
  }
  h.OpenFile(folder.Write("long.txt", source));
  EXPECT_EQ(h.window.chapters().chapters.at(1).name, name);
  const std::string row = h.Listed().at(1);
  EXPECT_TRUE(row.starts_with("00:00:01.000  Startxxx") && row.ends_with("xxEnd"))
      << row.substr(0, 400);
  EXPECT_NE(row.find("x…x"), std::string::npos);
  EXPECT_LT(row.size(), 400u);  // a few hundred characters
  h.file_answers = {(folder / "saved.txt").string()};
  h.scripts.push_back([&](QDialog& formats) {
    WindowHarness::ClickRow(formats, 15);  // the time list notes each short chapter by name
    const auto* notes_label = WindowHarness::Find<QLabel>(formats, "Label3");
    EXPECT_EQ(notes_label->textFormat(), Qt::PlainText);  // a name "<b>x</b>" is no markup
    const QString notes = notes_label->text();
    EXPECT_TRUE(notes.contains("chapter 2 \"Startxxx") && notes.size() < 31 * 1000) << notes.size();
    // The preview shows the name shortened and cannot be edited; Save writes it whole.
    EXPECT_NE(PreviewOf(formats, 0).find("CHAPTER02NAME=" + name + "\r\n"), std::string::npos);
    const auto* preview = WindowHarness::Find<QPlainTextEdit>(formats, "Text1");
    EXPECT_TRUE(preview->isReadOnly() && preview->toPlainText().size() < 31 * 1000);
    WindowHarness::Click(formats, "Command1");
  });
  h.Trigger("SaveAs");
  EXPECT_EQ(ReadFile(folder / "saved.txt"), source);
  // Keeping 0, 5, 10 ... 30 s drops 24: the first 20 listed.
  h.Edit("DropShortChapters", "5");
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_TRUE(h.messages[0].starts_with(
      "Keeping chapters at least 5 s apart dropped 24 chapters:\r\n00:00:01.000  Startxxx"));
  EXPECT_TRUE(h.messages[0].ends_with("\r\n00:00:24.000  c24\r\nand 4 more"))
      << h.messages[0].substr(0, 400);
  EXPECT_LT(h.messages[0].size(), 2000u);
}

TEST(MainWindow, ADropReadsTheFirstFileOrScansAFolder) {
  WindowHarness h;
  TempDir folder;
  const fs::path broken = folder.Write("broken.txt", "CHAPTER01=garbage\r\n");
  h.Drop({folder.Write("one.txt", "CHAPTER01=00:00:05.000\r\n"), broken});
  EXPECT_EQ(h.Listed(), Lines({"00:00:05.000"}));
  fs::create_directories(folder / "not a disc");
  h.Drop({folder / "not a disc"});
  EXPECT_EQ(h.messages, Lines({"Disc or Folder does not contain Blu-Ray, HD DVD or DVD data"}));
  EXPECT_TRUE(h.folder_starts.empty());
  EXPECT_EQ(h.Listed(), Lines({"00:00:05.000"}));
}

TEST(DiscWindow, TheChosenStreamIsLoadedAndCancelLoadsNothing) {
  WindowHarness h;
  TempDir disc;
  disc.Write("BDMV/PLAYLIST/00000.mpls",
             BuildMpls({{{27'000'000, 40'000'000}}, {{0, 27'000'000, 1}}}));
  const fs::path playlist = disc.Write("BDMV/PLAYLIST/00001.mpls", kPlaylist);
  h.folder_answer = disc.path();
  h.scripts = {Choose(1, "Command2"), Choose(1), [&](QDialog& streams) {
                 disc.Write("BDMV/PLAYLIST/00001.mpls", "MPLS0200");  // damaged meanwhile
                 Choose(1)(streams);
               }};
  h.Trigger("OpenDisc");
  EXPECT_TRUE(h.window.chapters().chapters.empty());
  h.Drop({disc.path()});
  EXPECT_EQ(testing::TimesOf(h.window.chapters()), Lines({"00:00:00.000", "00:01:01.001"}));
  h.Drop({disc.path()});
  h.Trigger("OpenDisc");  // where the last one started, home the first time
  EXPECT_EQ(h.folder_starts, Lines({QDir::homePath().toStdString(), disc.path().string()}));
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_TRUE(h.messages[0].starts_with(playlist.string() + ": ")) << h.messages[0];
  EXPECT_EQ(testing::TimesOf(h.window.chapters()), Lines({"00:00:00.000", "00:01:01.001"}));
}

TEST(DiscWindow, AFileOffersItsEditionsAndMenusAsListedTheDefaultChosen) {
  WindowHarness h;
  TempDir folder;
  const auto edition = [](const char* flag, const char* start) {
    return std::string("<EditionEntry>") + flag + "<ChapterAtom><ChapterTimeStart>" + start +
           "</ChapterTimeStart></ChapterAtom></EditionEntry>";
  };
  const fs::path file = folder.Write(
      "movie.xml", "<Chapters>" + edition("", "00:00:05.000000000") +
                       edition("<EditionFlagDefault>1</EditionFlagDefault>", "00:00:07.000000000") +
                       "</Chapters>");
  h.scripts = {[](QDialog& editions) {
                 QListWidget* list = WindowHarness::Find(editions);
                 ASSERT_EQ(list->count(), 2);
                 EXPECT_EQ(list->item(1)->text(), "2  movie.xml edition 2  1 chapter  default");
                 EXPECT_EQ(list->currentRow(), 1);
                 Choose(0, "Command2")(editions);
               },
               Choose(0)};
  h.Drop({file});
  EXPECT_TRUE(h.window.chapters().chapters.empty());
  h.Drop({file});
  EXPECT_EQ(testing::TimesOf(h.window.chapters()), Lines({"00:00:05.000"}));
  // A Matroska file's editions come from the reading child.
  const fs::path video = folder.Write(
      "movie.webm",
      MatroskaBytes("webm", Ebml(kChapters, Ebml(kEditionEntry, ChapterAtom(1'000'000'000)) +
                                                Ebml(kEditionEntry, ChapterAtom(2'000'000'000)))));
  h.scripts = {Choose(1)};
  h.Drop({video});
  EXPECT_EQ(testing::TimesOf(h.window.chapters()), Lines({"00:00:02.000"}));
  // So are a media file's chapter menus, as --list lines them; OK takes the first with chapters.
  const fs::path menus =
      fs::path(MARKWRIGHT_SOURCE_DIR) / "tests/cases/source-media-file-menus-list";
  h.scripts = {[&](QDialog& window) {
    QListWidget* list = WindowHarness::Find(window);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(ReadFile(menus / "stdout"),
              (list->item(0)->text() + '\n' + list->item(1)->text() + '\n').toStdString());
    WindowHarness::Click(window, "Command1");
  }};
  h.Drop({menus / "book.m4b"});
  EXPECT_TRUE(h.scripts.empty());
  EXPECT_EQ(h.window.chapters().chapters.size(), 112u);
  // What a reader passes over is told once, in one box.
  h.OpenFile(folder.Write("list.txt", "0:00 Start\nno time\nnor here\n1:00 End\n"));
  h.SelectRate("Combo2", "25");
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_NE(h.messages[0].find("line 3 has no time"), std::string::npos) << h.messages[0];
  EXPECT_EQ(testing::TimesOf(h.window.chapters()), Lines({"00:00:00.000", "00:01:00.000"}));
}

TEST(FormatWindow, PreviewsTheRetimedChaptersAndSavesThePreview) {
  WindowHarness h;
  TempDir folder;
  h.OpenFile(folder.Write("chapters.txt", kTwoChapters));
  h.SelectRate("Combo1", "60");  // a rate CCE SP refuses
  h.SelectRate("Combo2", "25");
  const fs::path nowhere = folder / "no" / "out.txt";
  h.file_answers = {(folder / "out.txt").string(), nowhere.string(), ""};
  h.scripts.push_back([&](QDialog& formats) {
    EXPECT_EQ(PreviewOf(formats, 3), "");  // CCE SP
    EXPECT_EQ(h.messages, Lines({"Frame rate is not allowed!, use from 23.976-30.000"}));
    EXPECT_EQ(PreviewOf(formats, 1), "0 I\r\n36000 I\r\n");  // x264
    EXPECT_EQ(PreviewOf(formats, 9), "36000\r\n");           // Celltimes
    Choose(9)(formats);
    EXPECT_EQ(ReadFile(folder / "out.txt"), "36000\r\n");
    EXPECT_EQ(ui::TrimAtNul(h.records.back().file), "Celltimes.txt");
    Choose(9)(formats);  // into a missing folder: told, and the window stays
    ASSERT_EQ(h.messages.size(), 2u);
    EXPECT_NE(h.messages[1].find(nowhere.string()), std::string::npos);
    Choose(9)(formats);  // cancelled: nothing told
    EXPECT_EQ(h.messages.size(), 2u);
    EXPECT_TRUE(formats.isVisible());
  });
  h.Trigger("SaveAs");
  EXPECT_TRUE(h.scripts.empty());
}

TEST(EditMenu, ShiftsAndDropsAsTheCommandLineDoesAgainAfterARateChange) {
  WindowHarness h;
  TempDir folder;
  h.OpenFile(folder.Write("named.txt",
                          "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=Intro\r\n"
                          "CHAPTER02=00:00:01.000\r\nCHAPTER02NAME=Lo\ago\r\n"
                          "CHAPTER03=00:00:30.000\r\nCHAPTER03NAME=Story\r\n"
                          "CHAPTER04=00:00:33.000\r\nCHAPTER04NAME=Stub\r\n"));
  h.SelectRate("Combo2", "25");
  h.Edit("ShiftChapters", "-2s");  // the first two end up at 0: the first stays, name and all
  EXPECT_EQ(h.Listed(),
            Lines({"00:00:00.000  Intro", "00:00:26.771  Story", "00:00:29.648  Stub"}));
  h.Edit("ShiftChapters", "2 seconds");
  h.Edit("DropShortChapters", "-1");
  h.Edit("DropShortChapters", "5");
  h.Edit("ShiftChapters", "24f");
  ASSERT_EQ(h.messages.size(), 4u);
  EXPECT_EQ(h.messages[0], "Shifting by -2s dropped 1 chapter:\r\n00:00:00.959  Lo\\x07go");
  EXPECT_TRUE(h.messages[1].starts_with("cannot shift by \"2 seconds\"")) << h.messages[1];
  EXPECT_EQ(h.messages[2], "cannot use --min-length \"-1\": give a number of seconds (5, 2.5)");
  EXPECT_TRUE(h.messages[3].ends_with(" 1 chapter:\r\n00:00:29.648  Stub")) << h.messages[3];
  // Saved at another output rate: the edits are made again on the re-timed chapters.
  h.SelectRate("Combo2", "29.970");
  h.file_answers = {(folder / "window.txt").string()};
  h.scripts.push_back(Choose(0));
  h.Trigger("SaveAs");
  const ProcessResult run =
      RunProcess(MARKWRIGHT_EXE,
                 {"-i", "named.txt", "-o", "cli.txt", "-f", "ogg", "-outfps", "30000/1001",
                  "--shift", "-2s", "--min-length", "5", "--shift", "24f"},
                 folder.path());
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  EXPECT_EQ(ReadFile(folder / "window.txt"), ReadFile(folder / "cli.txt"));
  EXPECT_EQ(h.Listed(), Lines({"00:00:00.801  Intro", "00:00:22.801  Story"}));
}

// Every kind of edit, by key, in place and from the Edit menu, undone and redone and kept across
// rate changes at the time the user gave; Save writes what the table shows, and the command line
// converting that file gives the window's own output at another rate.
TEST(ChapterEditor, EditsUndoRedoAndARateChangeSaveWhatTheTableShows) {
  WindowHarness h;
  TempDir folder;
  h.window.show();
  QApplication::setActiveWindow(&h.window);
  h.OpenFile(folder.Write("movie.txt",
                          "CHAPTER01=00:00:00.000\r\nCHAPTER02=00:01:00.000\r\n"
                          "CHAPTER03=00:02:00.000\r\nCHAPTER03NAME=Old\r\n"));
  auto* table = WindowHarness::Find<QTableView>(h.window);
  const auto go_to = [&](int row, int column = 0) {
    table->setCurrentIndex(table->model()->index(row, column));
  };
  h.Edit("NamesFromTemplate", "Chapter <NUM:2>");
  go_to(0);
  h.Edit("AddChapter", "");  // halfway to the next
  QTest::keyClick(table, Qt::Key_F2);
  auto* editor = table->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  QTest::keyClicks(editor, "Added");
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_EQ(h.window.windowTitle(), "*movie.txt (4 chapters) - Markwright");
  go_to(3);
  h.Edit("SetChapterTime", "0:00:45");  // moves before Chapter 02
  go_to(0);
  QTest::keyClick(table, Qt::Key_Delete);
  EXPECT_EQ(h.Listed(),
            Lines({"00:00:30.000  Added", "00:00:45.000  Chapter 03", "00:01:00.000  Chapter 02"}));
  h.Trigger("Undo");
  h.Trigger("Undo");
  h.Trigger("Redo");
  table->selectAll();
  h.Edit("SetLanguage", "ger");
  h.Edit("ShiftChapters", "-0:00:01");
  h.Trigger("Undo");
  h.Edit("SetLanguage", "not a code");  // refused: nothing changes
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_TRUE(h.messages[0].starts_with("cannot use \"not a code\" as a language"));
  // A frame typed into the frame cell at 25 frames a second stands for the same source time at
  // any other rate.
  h.SelectRate("Combo2", "25");
  table->model()->setData(table->model()->index(2, 2), "1500");
  EXPECT_EQ(h.Listed(), Lines({"00:00:00.000  Chapter 01", "00:00:28.771  Added",
                               "00:00:57.542  Chapter 02", "00:01:00.000  Chapter 03"}));
  h.SelectRate("Combo2", "23.976");
  EXPECT_EQ(h.Listed()[3], "00:01:02.562  Chapter 03");
  EXPECT_EQ(table->model()->index(0, 4).data(), "ger");
  h.file_answers = {(folder / "window.xml").string(), (folder / "window.txt").string()};
  h.scripts.push_back(Choose(12));  // Matroska
  h.Trigger("SaveAs");
  EXPECT_EQ(h.window.windowTitle(), "movie.txt (4 chapters) - Markwright");
  h.window.activateWindow();  // a shortcut reaches the active window only; a busy machine is slow
  ASSERT_TRUE(QTest::qWaitForWindowActive(&h.window));
  QTest::keyClick(&h.window, Qt::Key_F10);  // the menu bar, by key
  ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
  EXPECT_EQ(h.window.menuBar()->activeAction()->text(), "&File");
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
  h.SelectRate("Combo2", "25");
  h.scripts.push_back(Choose(0));  // OGG
  h.Trigger("SaveAs");
  const ProcessResult run = RunProcess(
      MARKWRIGHT_EXE, {"-i", "window.xml", "-o", "cli.txt", "-f", "OGG", "-outfps", "25"},
      folder.path());
  ASSERT_EQ(run.exit_status, 0) << run.errors;
  EXPECT_EQ(ReadFile(folder / "cli.txt"), ReadFile(folder / "window.txt"));
  EXPECT_NE(ReadFile(folder / "window.xml").find("<ChapterLanguage>ger<"), std::string::npos);
}

// Disc files come in either letter case; the dialog must offer both.
TEST(CommonDialog, FiltersMatchEitherLetterCase) {
  EXPECT_EQ(ui::QtNameFilters(ui::ToNulSeparated("All|*.txt;VTS*.ifo|Celltimes (*.txt)|*.txt")),
            Lines({"All (*.txt *.TXT VTS*.ifo VTS*.IFO vts*.ifo)", "Celltimes (*.txt *.TXT)"}));
}

// The classic texts stay first; what follows names every format and kind, Muxman too.
TEST(HelpAndAbout, TheClassicTextComesFirstAndTheListsNameEveryKind) {
  const std::string about = ui::AboutText();
  EXPECT_TRUE(about.starts_with(std::string("Markwright ") + kVersionText + "\r\n\r\n"));
  EXPECT_NE(about.find("Reads: OGG chapter text, "), std::string::npos) << about;
  EXPECT_NE(about.find(", Muxman, "), std::string::npos) << about;
  EXPECT_TRUE(about.ends_with(", " + std::string(kDestinationFormats.back().display_name) + "."))
      << about;
  WindowHarness h;
  h.Trigger("Cmdhelp");
  ASSERT_EQ(h.messages.size(), 1u);
  const std::string& help = h.messages[0];
  EXPECT_TRUE(help.starts_with(HelpText("\r\n") + "\r\n\r\nMore destination formats for -f:\r\n"
                                                  "\t\t- Muxman: Muxman\r\n"))
      << help;
  EXPECT_TRUE(help.ends_with("\r\n--help\t\t\tPrint this help")) << help;  // as --help
}

}  // namespace
}  // namespace markwright::testing

// Offscreen: no display needed. Title sets are read by this program restarted as the child.
int main(int argc, char** argv) {
  if (argc > 1 && argv[1] == markwright::kMediaInfoChildArgument) {
    return markwright::RunMediaInfoChild(argc, argv);
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
