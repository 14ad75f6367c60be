// The entry point of the window module, which the markwright executable loads at run time so
// that the executable itself needs no Qt.
#include <QAbstractItemView>
#include <QApplication>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "core/error.h"
#include "markwright/version.h"
#include "ui/app_icon.h"
#include "ui/main_window.h"
#include "ui/qt_services.h"
#include "ui/window_entry.h"

namespace {

bool HasDisplay() {
  for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

// Qt ends the process with an abort when no platform plugin starts (a display that cannot be
// reached, WAYLAND_DISPLAY without a compositor, an unknown QT_QPA_PLATFORM). While the application
// starts, its messages are held back: a fatal one becomes the message for a window that cannot
// open, with the first warning as its cause, and exit status 3.
QStringList held_messages;

void HoldStartMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtFatalMsg) {
    held_messages.append(message);
    return;
  }
  const QString cause = held_messages.isEmpty() ? message.section('\n', 0, 0) : held_messages[0];
  std::fprintf(stderr,
               "Markwright: the window cannot be opened: %s\n"
               "The command line works without it; see markwright --help.\n",
               qPrintable(cause));
  std::fflush(stderr);
  std::_Exit(static_cast<int>(markwright::ExitStatus::kWindowUnavailable));
}

// Ends the holding once the application is up and passes the held messages on.
void ReleaseStartMessages(QtMessageHandler previous) {
  qInstallMessageHandler(previous);
  for (const QString& message : std::exchange(held_messages, {})) {
    qWarning("%s", qPrintable(message));
  }
}

void CenterOnScreen(QWidget& window) {
  if (const QScreen* screen = window.screen()) {
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
  }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int markwright_run_window(
    const char* program_path, const char* open_path) {
  using namespace markwright::ui;
  static_assert(std::is_same_v<decltype(&markwright_run_window), markwright::WindowEntry>);
  if (!HasDisplay()) {
    std::fputs(
        "Markwright: no display for the window (neither DISPLAY nor WAYLAND_DISPLAY is set); "
        "for the command line see markwright --help\n",
        stderr);
    return static_cast<int>(markwright::ExitStatus::kWindowUnavailable);
  }
  // Qt sees no arguments of the user: any argument means command-line mode.
  std::string program = program_path != nullptr ? program_path : "markwright";
  int argc = 1;
  char* argv[] = {program.data(), nullptr};
  const QtMessageHandler previous_handler = qInstallMessageHandler(HoldStartMessages);
  QApplication application(argc, argv);
  ReleaseStartMessages(previous_handler);
  QApplication::setApplicationName("Markwright");
  QApplication::setApplicationVersion(markwright::kVersionText);
  QApplication::setDesktopFileName("markwright");
  QApplication::setWindowIcon(AppIcon());

  QtMessageBoxes messages;
  QtFileDialogs file_dialogs;
  QtFolderChooser folder_chooser;
  QtModalRunner modal_runner;
  CommonDialog common_dialog(file_dialogs);
  MainWindow window({messages, file_dialogs, folder_chooser, modal_runner}, common_dialog);
  window.show();
  CenterOnScreen(window);

  if (open_path != nullptr && *open_path != '\0') {
    const QString path = QString::fromLocal8Bit(open_path);
    QTimer::singleShot(0, &window, [&window, path] { window.OpenPath(path); });
  }
  // For automated checks: report the windows once they are up, then close like Exit does.
  if (std::getenv("MARKWRIGHT_SMOKE_TEST") != nullptr) {
    QTimer::singleShot(0, &window, [&window] {
      for (const QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible()) {
          std::printf("%s: %s\n", qPrintable(top->objectName()), qPrintable(top->windowTitle()));
        }
      }
      std::printf("List1: %d chapter(s)\n",
                  window.findChild<QAbstractItemView*>("List1")->model()->rowCount());
      std::fflush(stdout);
      window.close();
    });
  }
  return QApplication::exec();
}
