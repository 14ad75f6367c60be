// Save As writes the writer's bytes beside the source, once a format gives them; the stream
// window lists what --list lists.
#include <gtest/gtest.h>

#include "support/run_process.h"
#include "support/temp_dir.h"
#include "window_harness.h"

namespace markwright::testing {
namespace {

namespace fs = std::filesystem;

// A name ending in CR (ffmpeg's metadata escapes it; a text box loses it) and Matroska XML's
// byte-order mark reach the file as on the command line. Save waits for a text (none before a
// choice, none from CCE SP at 60 fps); Enter saves; notes leave the window's size alone.
TEST(FormatWindow, SavesTheWritersBytesBesideTheSourceOnceThereAreAny) {
  WindowHarness h;
  TempDir folder;
  h.OpenFile(
      folder.Write("in.xml",
                   "<Chapters><EditionEntry><ChapterAtom><ChapterTimeStart>00:00:00"
                   "</ChapterTimeStart><ChapterDisplay><ChapterString>One&#13;</ChapterString>"
                   "</ChapterDisplay></ChapterAtom></EditionEntry></Chapters>"));
  h.SelectRate("Combo1", "60");
  h.SelectRate("Combo2", "60");
  h.file_answers = {(folder / "w.ffmetadata").string(), (folder / "w.matroska").string()};
  h.scripts.push_back([](QDialog& formats) {
    auto* save = WindowHarness::Find<QPushButton>(formats, "Command1");
    QTest::keyClick(WindowHarness::Find(formats), Qt::Key_Return);  // nothing chosen
    WindowHarness::ClickRow(formats, 3);
    QTest::keyClick(WindowHarness::Find(formats), Qt::Key_Return);  // refused
    EXPECT_FALSE(save->isEnabled());
    const QSize size = formats.sizeHint();
    WindowHarness::ClickRow(formats, 15);  // a time list of one chapter has a note
    EXPECT_EQ(formats.sizeHint(), size);
    WindowHarness::ClickRow(formats, 13);
    WindowHarness::Click(formats, "Command1");
    WindowHarness::ClickRow(formats, 12);
    QTest::keyClick(WindowHarness::Find(formats), Qt::Key_Return);
  });
  h.Trigger("SaveAs");
  ASSERT_EQ(h.records.size(), 3u);  // Open File's, then Save's two
  EXPECT_EQ(h.records[1].initial_dir, folder.path().string());
  for (const char* key : {"ffmetadata", "matroska"}) {
    const ProcessResult run = RunProcess(
        MARKWRIGHT_EXE, {"-i", "in.xml", "-o", "c", "-f", key, "-infps", "60", "-outfps", "60"},
        folder.path());
    ASSERT_EQ(run.exit_status, 0) << run.errors;
    EXPECT_EQ(ReadFile(folder / (std::string("w.") + key)), ReadFile(folder / "c")) << key;
  }
}

// The lines of the stream window are those of --list; Save starts in the disc's folder.
TEST(StreamWindow, ListsWhatTheListOptionLists) {
  const fs::path cases = fs::path(MARKWRIGHT_SOURCE_DIR) / "tests/cases";
  for (const char* name : {"disc-list", "disc-hddvd-list-chapterless-title"}) {
    WindowHarness h;
    h.folder_answer = (cases / name / "disc").string();
    QStringList shown;
    h.scripts = {[&](QDialog& streams) {
                   QListWidget* list = WindowHarness::Find(streams);
                   for (int row = 0; row < list->count(); ++row) shown << list->item(row)->text();
                   WindowHarness::ClickRow(streams, 0);
                   WindowHarness::Click(streams, "Command1");
                 },
                 [](QDialog& formats) {
                   WindowHarness::ClickRow(formats, 0);
                   WindowHarness::Click(formats, "Command1");
                 }};
    h.Trigger("OpenDisc");
    EXPECT_EQ(shown.join('\n') + '\n', QString::fromStdString(ReadFile(cases / name / "stdout")));
    h.file_answers = {""};  // cancelled: nothing is written into the source tree
    h.Trigger("SaveAs");
    EXPECT_EQ(h.records.at(0).initial_dir, (cases / name / "disc").string());
  }
}

}  // namespace
}  // namespace markwright::testing
