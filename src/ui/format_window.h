#pragma once

#include <QDialog>
#include <string>

#include "core/chapter_list.h"
#include "ui/platform_services.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace markwright::ui {

// What the writers read in window mode: the main window's listed (re-timed) chapters, its output
// rate and the text of its Input FPS selection.
struct FormatInputs {
  TitleChapters retimed_chapters;
  double output_rate = 0;
  std::string input_rate_text;
};

// "Select destination format": every format with a live preview of its output, and Save.
class FormatWindow : public QDialog {
  Q_OBJECT

 public:
  FormatWindow(FormatInputs inputs, MessageBoxes& messages, CommonDialog& common_dialog,
               QWidget* parent = nullptr);

  // The preview as it will be written: its lines end with CR LF (LF for the newer formats). When
  // the preview shows long lines shortened, the writer's whole text instead, ended the same way.
  std::string PreviewText() const;

 private:
  void RebuildPreview();
  void Save();

  FormatInputs inputs_;
  MessageBoxes& messages_;
  CommonDialog& common_dialog_;
  QListWidget* format_list_;
  QPlainTextEdit* preview_;
  QLabel* notes_;
  // The writer's text when the preview shows it with long lines shortened (and cannot be edited);
  // empty when the preview holds the text itself.
  std::string whole_text_;
};

}  // namespace markwright::ui
