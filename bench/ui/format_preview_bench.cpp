// The format window's preview: for 5 and for 1,000,000 named chapters, the time from a click on
// each format until its preview is shown and painted (Qt's offscreen platform), one line each:
// the wall time and the processor time of both threads (on a busy machine the wall time grows,
// the processor time much less).
//   build-bench/bench/markwright_format_preview_bench
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <cstdio>

#include <sys/resource.h>

#include "ui/format_window.h"

namespace markwright::ui {
namespace {

struct Desktop : MessageBoxes, FileDialogs {
  void Show(const QString&, MessageIcon) override {}
  bool Run(DialogMode, FileDialogRecord&) override { return false; }
};

double ProcessorSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  const auto seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

FormatInputs Chapters(int count) {
  FormatInputs inputs;
  inputs.output_rate = 25;
  inputs.input_rate_text = "25";
  inputs.retimed_chapters.chapters.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    inputs.retimed_chapters.chapters.push_back(
        {i * 7'919LL, "Chapter " + std::to_string(i + 1), "eng"});
  }
  inputs.retimed_chapters.length = count * 7'919LL;
  return inputs;
}

void Measure(int count) {
  Desktop desktop;
  CommonDialog dialog(desktop);
  FormatWindow window(Chapters(count), desktop, dialog);
  window.show();
  QCoreApplication::processEvents();
  auto* list = window.findChild<QListWidget*>("List1");
  for (int row = 0; row < list->count(); ++row) {
    QElapsedTimer clock;
    clock.start();
    const double processor = ProcessorSeconds();
    list->setCurrentRow(row);
    window.repaint();
    QCoreApplication::processEvents();
    std::printf("%9d chapters  %-28s %7.3f s wall %7.3f s processor\n", count,
                list->item(row)->text().toUtf8().data(),
                static_cast<double>(clock.nsecsElapsed()) / 1e9, ProcessorSeconds() - processor);
  }
}

}  // namespace
}  // namespace markwright::ui

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  for (const int count : {5, 1'000'000}) markwright::ui::Measure(count);
  return 0;
}
