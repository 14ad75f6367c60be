// The window beside a video ffmpeg makes: a picture per row, the timeline's ticks, the chapter
// that is not on a key frame marked, and a video that cannot be read told once.
#include <gtest/gtest.h>

#include <QTableView>

#include "core/timestamp.h"
#include "support/run_process.h"
#include "support/temp_dir.h"
#include "ui/chapter_table_model.h"
#include "ui/timeline_widget.h"
#include "ui/video_thumbnails.h"
#include "window_harness.h"

namespace markwright::testing {
namespace {

using Model = ui::ChapterTableModel;

TEST(VideoWindow, PicturesTimelineAndKeyFrameMarks) {
  if (RunProcess("/bin/sh", {"-c", "command -v ffmpeg"}, "/").exit_status != 0) {
    GTEST_SKIP() << "ffmpeg is not installed";
  }
  TempDir folder;
  // Key frames every second at 25 fps (frames 0, 25, 50, 75); the third chapter, 2.4 s, is
  // frame 60, 10 frames after key frame 50.
  folder.Write("chapters.txt",
               ";FFMETADATA1\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=0\nEND=1000\ntitle=One\n"
               "[CHAPTER]\nTIMEBASE=1/1000\nSTART=1000\nEND=2400\ntitle=Two\n"
               "[CHAPTER]\nTIMEBASE=1/1000\nSTART=2400\nEND=4000\ntitle=Three\n");
  ASSERT_EQ(RunProcess("/bin/sh",
                       {"-c",
                        "ffmpeg -v error -f lavfi -i testsrc2=d=4:s=320x180:r=25 "
                        "-i chapters.txt -map 0 -map_metadata 1 -c:v libx264 -g 25 "
                        "-keyint_min 25 -sc_threshold 0 clip.mkv"},
                       folder.path())
                .exit_status,
            0);
  WindowHarness h;
  h.window.show();
  h.OpenFile(folder / "clip.mkv");
  const ui::VideoThumbnails& video = h.window.video();
  auto* table = WindowHarness::Find<QTableView>(h.window);
  const QAbstractItemModel* rows = table->model();
  ASSERT_EQ(rows->rowCount(), 3);
  const auto all_exact = [&] {
    for (int row = 0; row < 3; ++row) {
      if (!video.IsExact(h.window.retimed().chapters[static_cast<std::size_t>(row)].start)) {
        return false;
      }
    }
    return video.Frames() != nullptr;
  };
  ASSERT_TRUE(QTest::qWaitFor(all_exact, 50'000));
  QTest::qWait(50);  // the table is told of pictures in batches
  for (int row = 0; row < 3; ++row) {
    const auto picture = rows->index(row, Model::kPicture).data(Qt::DecorationRole).value<QImage>();
    EXPECT_EQ(picture.size(), QSize(ui::VideoThumbnails::kPictureWidth, 54)) << row;
    EXPECT_EQ(rows->index(row, Model::kPicture).data(Qt::BackgroundRole).isValid(), row == 2);
  }
  EXPECT_FALSE(table->isColumnHidden(Model::kPicture));
  EXPECT_GE(table->rowHeight(0), 54);
  EXPECT_EQ(rows->index(2, Model::kPicture).data(Qt::ToolTipRole).toString(),
            "Not on a key frame: key frame 50 is 10 frames (400 ms) earlier");
  // A key-frame tick each second; a click on the third chapter's tick selects its row.
  auto* timeline = WindowHarness::Find<ui::TimelineWidget>(h.window, "Timeline");
  ASSERT_TRUE(timeline->isVisible());
  const std::vector<int> ticks = timeline->KeyFrameXs();
  ASSERT_EQ(ticks.size(), 4u);
  EXPECT_EQ(ticks[2], timeline->X(2000));
  QTest::mouseClick(timeline, Qt::LeftButton, {}, QPoint(timeline->X(2400) + 2, 10));
  EXPECT_EQ(table->currentIndex().row(), 2);

  // A file that is no video: one message, whatever asks for pictures again; the chapters stay.
  h.file_answers.push_back(folder / "chapters.txt");
  h.Trigger("OpenVideo");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !h.messages.empty(); }, 50'000));
  h.SelectRate("Combo2", "25");
  QTest::qWait(300);
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_TRUE(h.messages[0].starts_with((folder / "chapters.txt").string() + ": "))
      << h.messages[0];
  EXPECT_EQ(rows->rowCount(), 3);
  // Scrolled down a long list, the rows in view are read before those above them.
  std::string many;
  for (int ms = 0; ms < 4000; ms += 10) many += FormatTimestamp(ms) + "\n";
  h.OpenFile(folder.Write("many.txt", many));
  h.file_answers.push_back(folder / "clip.mkv");
  h.Trigger("OpenVideo");
  table->scrollToBottom();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        const std::vector<std::int64_t> asked = video.Asked();
        return !asked.empty() &&
               asked.front() ==
                   h.window.retimed().chapters[static_cast<std::size_t>(table->rowAt(0))].start;
      },
      20'000));
}

}  // namespace
}  // namespace markwright::testing
