#pragma once

#include "ui/platform_services.h"

namespace markwright::ui {

// The desktop's own message boxes, file dialogs and folder chooser through Qt.
class QtMessageBoxes : public MessageBoxes {
 public:
  void Show(const QString& text, MessageIcon icon) override;
};

class QtFileDialogs : public FileDialogs {
 public:
  bool Run(DialogMode mode, FileDialogRecord& record) override;
};

class QtFolderChooser : public FolderChooser {
 public:
  QString ChooseFolder(QWidget* owner, const QString& title, const QString& start) override;
};

class QtModalRunner : public ModalRunner {
 public:
  int Run(QDialog& dialog) override;
};

}  // namespace markwright::ui
