#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <QString>
#include <QWidget>
#include <chrono>
#include <future>
#include <memory>
#include <utility>

namespace markwright::ui {

// Whether RunWhilePainting is waiting for work: what arrives meanwhile (a drop queued before it
// started) must not change what the work reads.
inline int& WorkRunning() {
  static int running = 0;
  return running;
}

// Runs work (plain C++, touching no widget) on a thread of its own and returns its result or
// rethrows its failure. Meanwhile the window keeps painting, taking no input; once the work has
// taken half a second, a busy indicator says what it is doing. Short work (most lists) ends before
// any event is handled, so nothing else runs in between.
template <typename Work>
auto RunWhilePainting(QWidget* owner, const QString& doing, Work work) {
  using namespace std::chrono_literals;
  auto result = std::async(std::launch::async, std::move(work));
  if (result.wait_for(50ms) == std::future_status::ready) return result.get();
  ++WorkRunning();
  const auto started = std::chrono::steady_clock::now();
  std::unique_ptr<QProgressDialog> progress;
  while (result.wait_for(20ms) != std::future_status::ready) {
    if (!progress && std::chrono::steady_clock::now() - started > 450ms) {
      progress = std::make_unique<QProgressDialog>(doing, QString(), 0, 0, owner);
      progress->setObjectName("Progress");
      progress->setWindowModality(Qt::WindowModal);
      progress->setMinimumDuration(0);
      progress->show();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  }
  --WorkRunning();
  return result.get();
}

}  // namespace markwright::ui
