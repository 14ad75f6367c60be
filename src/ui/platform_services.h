#pragma once

#include <QString>

#include "ui/common_dialog.h"

class QDialog;
class QWidget;

namespace markwright::ui {

enum class MessageIcon { kNone, kStop };

// A modal message box titled "Markwright" with an OK button.
class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void Show(const QString& text, MessageIcon icon) = 0;
};

// The folder chooser of Open Disc, opened at start: the chosen folder, or an empty text on cancel.
class FolderChooser {
 public:
  virtual ~FolderChooser() = default;
  virtual QString ChooseFolder(QWidget* owner, const QString& title, const QString& start) = 0;
};

// Shows one of the program's own modal windows and returns its QDialog result once it closed.
// Tests answer with a script instead of entering a nested event loop.
class ModalRunner {
 public:
  virtual ~ModalRunner() = default;
  virtual int Run(QDialog& dialog) = 0;
};

// Everything the windows ask of the desktop, in one bundle handed down from the entry point.
struct PlatformServices {
  MessageBoxes& messages;
  FileDialogs& file_dialogs;
  FolderChooser& folder_chooser;
  ModalRunner& modal_runner;
};

}  // namespace markwright::ui
