#pragma once

#include <QDialog>
#include <QFileInfo>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/platform_services.h"

// Test stand-ins for the desktop services: they record what the windows ask and answer from a
// script, so no test ever waits on a real modal dialog.
namespace markwright::testing {

struct ShownMessage {
  QString text;
  ui::MessageIcon icon;
};

class RecordingMessages : public ui::MessageBoxes {
 public:
  void Show(const QString& text, ui::MessageIcon icon) override { shown.push_back({text, icon}); }
  std::vector<ShownMessage> shown;
};

// Answers each dialog with the next path of the script; nullopt (or an empty script) cancels.
class ScriptedFileDialogs : public ui::FileDialogs {
 public:
  bool Run(ui::DialogMode mode, ui::FileDialogRecord& record) override {
    calls.push_back({mode, record});
    if (answers.empty()) return false;
    const std::optional<std::string> answer = answers.front();
    answers.pop_front();
    if (!answer) return false;
    record.file = *answer + '\0';
    record.file_title = QFileInfo(QString::fromStdString(*answer)).fileName().toStdString() + '\0';
    return true;
  }
  std::deque<std::optional<std::string>> answers;
  std::vector<std::pair<ui::DialogMode, ui::FileDialogRecord>> calls;
};

class ScriptedFolderChooser : public ui::FolderChooser {
 public:
  QString ChooseFolder(QWidget*, const QString& title) override {
    titles.push_back(title);
    if (answers.empty()) return {};
    const QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<QString> answers;
  std::vector<QString> titles;
};

// Shows each modal window and runs the next script on it instead of an event loop of its own;
// whatever the script leaves open is closed as by the close box.
class ScriptedModalRunner : public ui::ModalRunner {
 public:
  int Run(QDialog& dialog) override {
    shown.push_back(dialog.objectName());
    dialog.show();
    if (!scripts.empty()) {
      const auto script = std::move(scripts.front());
      scripts.pop_front();
      script(dialog);
    }
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
  }
  std::deque<std::function<void(QDialog&)>> scripts;
  std::vector<QString> shown;
};

}  // namespace markwright::testing
