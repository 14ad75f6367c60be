// Save As writes the writer's bytes beside the source, only once a format gives them; the stream
// window lists what --list lists.
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "support/run_process.h"
#include "support/temp_dir.h"
#include "window_harness.h"

namespace markwright::testing {
namespace {

namespace fs = std::filesystem;

// A name ending in CR (ffmpeg's metadata escapes it; a box would lose it) and Matroska XML's
// byte-order mark reach the file as the command line writes them; Enter saves too.
TEST(FormatWindow, SavesTheWritersBytesBesideTheSource) {
  WindowHarness h;
  TempDir folder;
  h.OpenFile(folder.Write(
      "in.xml",
      "<Chapters><EditionEntry><ChapterAtom><ChapterTimeStart>00:00:00</ChapterTimeStart>"
      "<ChapterDisplay><ChapterString>One&#13;</ChapterString></ChapterDisplay>"
      "</ChapterAtom><ChapterAtom><ChapterTimeStart>00:01:00</ChapterTimeStart>"
      "</ChapterAtom></EditionEntry></Chapters>"));
  ASSERT_EQ(h.window.chapters().chapters.at(0).name, "One\r");
  h.file_answers = {(folder / "w.ffmeta").string(), (folder / "w.xml").string()};
  h.scripts.push_back([](QDialog& formats) {
    WindowHarness::ClickRow(formats, 13);
    WindowHarness::Click(formats, "Command1");
    WindowHarness::ClickRow(formats, 12);
    QTest::keyClick(WindowHarness::Find(formats), Qt::Key_Return);
  });
  h.Trigger("SaveAs");
  ASSERT_EQ(h.records.size(), 3u);  // Open File's, then Save's two
  EXPECT_EQ(h.records[1].initial_dir, folder.path().string());
  for (const char* key : {"ffmetadata", "matroska"}) {
    const std::string saved = ReadFile(folder / (key[0] == 'f' ? "w.ffmeta" : "w.xml"));
    ASSERT_EQ(RunProcess(MARKWRIGHT_EXE, {"-i", "in.xml", "-o", "c", "-f", key}, folder.path())
                  .exit_status,
              0);
    EXPECT_EQ(saved, ReadFile(folder / "c")) << key;
  }
}

// Nothing to save until a format is chosen whose writer takes the rates; notes keep the size.
TEST(FormatWindow, SaveWaitsForTextAndTheWindowKeepsItsSize) {
  WindowHarness h;
  TempDir folder;
  h.OpenFile(folder.Write("c.txt", "CHAPTER01=00:00:00.000\r\nCHAPTER02=00:00:05.000\r\n"));
  h.SelectRate("Combo1", "60");  // CCE SP refuses it
  h.scripts.push_back([&](QDialog& formats) {
    auto* save = WindowHarness::Find<QPushButton>(formats, "Command1");
    EXPECT_FALSE(save->isEnabled());
    QTest::keyClick(WindowHarness::Find(formats), Qt::Key_Return);
    WindowHarness::ClickRow(formats, 3);
    EXPECT_FALSE(save->isEnabled());
    QTest::keyClick(WindowHarness::Find(formats), Qt::Key_Return);
    const QSize size = formats.sizeHint();
    WindowHarness::ClickRow(formats, 15);  // a time list of two chapters has notes
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(formats.sizeHint(), size);
  });
  h.Trigger("SaveAs");
  EXPECT_EQ(h.records.size(), 1u);   // Open File's only
  EXPECT_EQ(h.messages.size(), 1u);  // the refusal
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
