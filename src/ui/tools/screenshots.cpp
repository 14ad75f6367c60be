// Renders each window with sample chapters to PNG files, for the README and as a check that
// every window builds and draws:
//   markwright_screenshots OUT_FOLDER CHAPTER_FILE [MEDIA_FILE]
// With a media file, the main window once more with that file's chapters and the pictures and
// timeline of its video (main-window-video.png), once every picture is exact.
// Run it on the offscreen platform (QT_QPA_PLATFORM=offscreen) for pictures free of any desktop.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QListWidget>
#include <QThread>
#include <cstdio>

#include "readers/mediainfo_child.h"
#include "ui/about_window.h"
#include "ui/app_icon.h"
#include "ui/main_window.h"
#include "ui/stream_window.h"
#include "ui/video_thumbnails.h"

namespace markwright::ui {
namespace {

bool Save(QWidget& window, const QString& folder, QString file_name = {}) {
  QApplication::processEvents();
  static const QHash<QString, QString> kFileNames = {{"Form1", "main-window.png"},
                                                     {"Form2", "stream-window.png"},
                                                     {"Form3", "format-window.png"},
                                                     {"Form4", "about-window.png"}};
  if (file_name.isEmpty()) file_name = kFileNames.value(window.objectName());
  const QString path = QDir(folder).filePath(file_name);
  if (!window.grab().save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// Nothing on screen asks the user anything here: every message is a failure to report.
class ReportingMessages : public MessageBoxes {
 public:
  void Show(const QString& text, MessageIcon) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
    failed = true;
  }
  bool failed = false;
};

class NoFileDialogs : public FileDialogs {
 public:
  bool Run(DialogMode, FileDialogRecord&) override { return false; }
};

class NoFolderChooser : public FolderChooser {
 public:
  QString ChooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
};

// Shows each modal window long enough to draw it, with a format picked in the format window.
class PictureTaker : public ModalRunner {
 public:
  explicit PictureTaker(QString folder) : folder_(std::move(folder)) {}
  int Run(QDialog& dialog) override {
    if (auto* formats = dialog.findChild<QListWidget*>("List1");
        formats != nullptr && dialog.objectName() == "Form3") {
      formats->setCurrentRow(0);
    }
    dialog.show();
    saved = Save(dialog, folder_) && saved;
    dialog.reject();
    return dialog.result();
  }
  bool saved = true;

 private:
  QString folder_;
};

// The main window with a media file's chapters and, once they have all arrived, the pictures of
// its video and its timeline.
bool SaveWithVideo(MainWindow& window, const QString& folder, const QString& media_file) {
  window.resize(640, 560);  // room for the pictures beside the names
  // At the video's own rate the chapters fall where the video has them.
  window.findChild<QComboBox*>("Combo2")->setCurrentText("23.976");
  window.OpenPath(media_file);
  const VideoThumbnails& video = window.video();
  const auto done = [&] {
    for (const Chapter& chapter : window.retimed().chapters) {
      if (!video.IsExact(chapter.start)) return false;
    }
    return video.Frames() != nullptr;
  };
  QElapsedTimer waited;
  waited.start();
  while (!done() && waited.elapsed() < 120'000) {
    QApplication::processEvents();
    QThread::msleep(20);
  }
  if (!done()) {
    std::fprintf(stderr, "the pictures of %s did not arrive\n", qPrintable(media_file));
    return false;
  }
  QThread::msleep(50);  // the table is told of pictures in batches
  return Save(window, folder, "main-window-video.png");
}

int Run(const QString& folder, const QString& chapter_file, const QString& media_file) {
  QDir().mkpath(folder);
  ReportingMessages messages;
  NoFileDialogs file_dialogs;
  NoFolderChooser folder_chooser;
  PictureTaker pictures(folder);
  CommonDialog common_dialog(file_dialogs);
  MainWindow window({messages, file_dialogs, folder_chooser, pictures}, common_dialog);
  window.show();
  window.OpenPath(chapter_file);
  window.findChild<QComboBox*>("Combo2")->setCurrentText("25");
  bool saved = Save(window, folder);
  window.findChild<QAction*>("SaveAs")->trigger();
  window.findChild<QAction*>("About")->trigger();
  StreamWindow streams(
      {"1  00000.mpls  12 chapters  01:52:08.016", "2  00001.mpls  1 chapter  00:00:15.015",
       "3  00800.mpls  32 chapters  02:14:31.352"},
      &window);
  pictures.Run(streams);
  if (!media_file.isEmpty()) saved = SaveWithVideo(window, folder, media_file) && saved;
  return saved && pictures.saved && !messages.failed ? 0 : 1;
}

}  // namespace
}  // namespace markwright::ui

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 3 && argc != 4) {
    std::fprintf(stderr, "usage: %s OUT_FOLDER CHAPTER_FILE [MEDIA_FILE]\n", argv[0]);
    return 2;
  }
  // Media files are read by the markwright executable's reading child.
  markwright::SetMediaInfoChildProgram(MARKWRIGHT_EXE);
  QApplication::setWindowIcon(markwright::ui::AppIcon());
  return markwright::ui::Run(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                             argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString());
}
