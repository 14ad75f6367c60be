// The main window on a large list: the time to show 5 and 1,000,000 chapters, a rate change and
// an undo on the million, and the peak memory of each run beside the command line's converting
// the same file. Each measurement runs in a process of its own (this program started again), so
// one run's memory is not counted in the next. Offscreen; build with -DMARKWRIGHT_BENCH=ON in a
// release build and run build-bench/bench/markwright_window_bench.
// With --thumbnails VIDEO (bench/thumbnails.sh passes its 1080p video): the time from opening
// the video beside 40 chapters spread over its first 2 minutes to a picture in every row, to an
// exact picture in every row and to the timeline (the frames and key frames). With
// --thumbnails-scroll VIDEO: the same beside a million chapters, for the rows in view.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QThread>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "readers/mediainfo_child.h"
#include "ui/common_dialog.h"
#include "ui/main_window.h"
#include "ui/video_thumbnails.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// An OGG chapter file of count named chapters, 7.919 s apart.
fs::path ChapterFile(const fs::path& folder, int count) {
  const fs::path path = folder / ("chapters-" + std::to_string(count) + ".txt");
  if (fs::exists(path)) return path;
  std::ofstream out(path, std::ios::binary);
  char line[128];
  for (long i = 1; i <= count; ++i) {
    const long t = (i - 1) * 7919;
    std::snprintf(line, sizeof line,
                  "CHAPTER%02ld=%02ld:%02ld:%02ld.%03ld\r\nCHAPTER%02ldNAME=Part %ld\r\n", i,
                  t / 3600000, t / 60000 % 60, t / 1000 % 60, t % 1000, i, i);
    out << line;
  }
  return path;
}

struct Quiet : markwright::ui::MessageBoxes,
               markwright::ui::FileDialogs,
               markwright::ui::FolderChooser,
               markwright::ui::ModalRunner {
  void Show(const QString& text, markwright::ui::MessageIcon) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
  }
  bool Run(markwright::ui::DialogMode, markwright::ui::FileDialogRecord&) override { return false; }
  QString ChooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
  int Run(QDialog&) override { return 0; }
};

// In the child: the window shown with the file, then a rate change, a deletion and its undo.
int MeasureWindow(int argc, char** argv, const char* file) {
  const auto started = Clock::now();
  QApplication application(argc, argv);
  Quiet desktop;
  markwright::ui::CommonDialog common_dialog(desktop);
  markwright::ui::MainWindow window({desktop, desktop, desktop, desktop}, common_dialog);
  window.show();
  window.OpenPath(file);
  window.repaint();
  QApplication::processEvents();
  const double shown = SecondsSince(started);
  auto* rows = window.findChild<QAbstractItemView*>("List1");
  const int count = rows->model()->rowCount();
  auto time = [&](auto step) {
    const auto start = Clock::now();
    step();
    window.repaint();
    QApplication::processEvents();
    return SecondsSince(start);
  };
  const double rate = time([&] { window.findChild<QComboBox*>("Combo2")->setCurrentText("25"); });
  const double remove = time([&] {
    rows->setCurrentIndex(rows->model()->index(count / 2, 0));
    window.findChild<QAction*>("DeleteChapters")->trigger();
  });
  const double undo = time([&] { window.findChild<QAction*>("Undo")->trigger(); });
  std::printf("%9d chapters: shown %.3f s, rate change %.3f s, delete %.3f s, undo %.3f s", count,
              shown, rate, remove, undo);
  return 0;
}

int MeasureThumbnails(int argc, char** argv, const char* video_file) {
  markwright::SetMediaInfoChildProgram(MARKWRIGHT_EXE);
  QApplication application(argc, argv);
  Quiet desktop;
  markwright::ui::CommonDialog common_dialog(desktop);
  markwright::ui::MainWindow window({desktop, desktop, desktop, desktop}, common_dialog);
  window.show();
  const fs::path chapters = fs::temp_directory_path() / "markwright_window_bench_40.txt";
  {
    std::ofstream out(chapters, std::ios::binary);
    char line[64];
    for (int i = 0; i < 40; ++i) {
      const int t = i * 2950 + 500;  // most between key frames
      std::snprintf(line, sizeof line, "CHAPTER%02d=00:%02d:%02d.%03d\r\n", i + 1, t / 60000,
                    t / 1000 % 60, t % 1000);
      out << line;
    }
  }
  window.OpenPath(QString::fromStdString(chapters.string()));
  const markwright::ui::VideoThumbnails& video = window.video();
  const auto count = [&](bool exact) {
    int shown = 0;
    for (const markwright::Chapter& chapter : window.retimed().chapters) {
      shown += exact ? video.IsExact(chapter.start) : !video.Picture(chapter.start).isNull();
    }
    return shown;
  };
  const auto started = Clock::now();
  window.OpenVideoPath(video_file);
  double first = 0;
  double all = 0;
  double exact = 0;
  double timeline = 0;
  while (SecondsSince(started) < 120 && (exact == 0 || video.Frames() == nullptr)) {
    QApplication::processEvents();
    QThread::msleep(5);
    const double now = SecondsSince(started);
    if (first == 0 && count(false) > 0) first = now;
    if (all == 0 && count(false) == 40) all = now;
    if (exact == 0 && count(true) == 40) exact = now;
    if (timeline == 0 && video.Frames() != nullptr) timeline = now;
  }
  std::printf(
      "40 pictures in the window: first %.3f s, every row %.3f s, every row exact %.3f s, "
      "timeline %.3f s\n",
      first, all, exact, timeline);
  return 0;
}

// A million chapters beside the video: the rows in view pictured after opening it, and again
// after a jump to the middle of the list (the pictures asked for follow the view).
int MeasureScrolling(int argc, char** argv, const char* video_file) {
  markwright::SetMediaInfoChildProgram(MARKWRIGHT_EXE);
  QApplication application(argc, argv);
  Quiet desktop;
  markwright::ui::CommonDialog common_dialog(desktop);
  markwright::ui::MainWindow window({desktop, desktop, desktop, desktop}, common_dialog);
  window.show();
  const fs::path folder = fs::temp_directory_path() / "markwright_window_bench";
  fs::create_directories(folder);
  window.OpenPath(QString::fromStdString(ChapterFile(folder, 1'000'000).string()));
  auto* rows = window.findChild<QAbstractItemView*>("List1");
  const markwright::ui::VideoThumbnails& video = window.video();
  const auto wait_for_view = [&] {
    const auto started = Clock::now();
    while (SecondsSince(started) < 60) {
      QApplication::processEvents();
      QThread::msleep(5);
      const int top = rows->indexAt(QPoint(1, 1)).row();
      const int bottom = rows->indexAt(QPoint(1, rows->viewport()->height() - 2)).row();
      bool all = top >= 0;
      for (int row = top; all && row <= bottom; ++row) {
        all =
            !video.Picture(window.retimed().chapters[static_cast<std::size_t>(row)].start).isNull();
      }
      if (all) return SecondsSince(started);
    }
    return -1.0;
  };
  window.OpenVideoPath(video_file);
  const double opened = wait_for_view();
  rows->scrollTo(rows->model()->index(500'000, 0));
  const double scrolled = wait_for_view();
  std::printf(
      "1000000 chapters beside the video: rows in view pictured %.3f s after opening it, "
      "%.3f s after a jump to the middle\n",
      opened, scrolled);
  return 0;
}

// Runs the program and prints its wall time and peak memory.
void Run(std::vector<std::string> args) {
  const auto start = Clock::now();
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  std::printf("; process %.3f s, peak %ld MB\n", SecondsSince(start), usage.ru_maxrss / 1024);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--window") return MeasureWindow(1, argv, argv[2]);
  if (argc == 3 && std::string(argv[1]) == "--thumbnails") {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return MeasureThumbnails(1, argv, argv[2]);
  }
  if (argc == 3 && std::string(argv[1]) == "--thumbnails-scroll") {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return MeasureScrolling(1, argv, argv[2]);
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const fs::path folder = fs::temp_directory_path() / "markwright_window_bench";
  fs::create_directories(folder);
  const std::string self = fs::canonical("/proc/self/exe").string();
  for (const int count : {5, 1'000'000}) {
    const std::string file = ChapterFile(folder, count).string();
    Run({self, "--window", file});
    std::printf("%9d chapters, command line (OGG to x264 at 25)", count);
    Run({MARKWRIGHT_EXE, "-i", file, "-o", (folder / "out.txt").string(), "-f", "x264", "-outfps",
         "25"});
  }
  return 0;
}
