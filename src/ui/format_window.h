#pragma once

#include <QDialog>
#include <filesystem>
#include <string>

#include "core/chapter_list.h"
#include "ui/platform_services.h"
#include "writers/format_table.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace markwright::ui {

// What the writers read in window mode: the main window's listed (re-timed) chapters, its output
// rate and the text of its Input FPS selection; and where the chapters came from.
struct FormatInputs {
  TitleChapters retimed_chapters;
  double output_rate = 0;
  std::string input_rate_text;
  // The chapters' file, or the disc folder; empty when none. Save starts beside it.
  std::filesystem::path source_file;
};

// The folder the save dialog starts in for chapters from the source: a folder itself, the folder
// of a file, and for a playlist or title set inside a disc's structure the disc's folder. Empty
// when there is no source.
std::filesystem::path SaveFolderFor(const std::filesystem::path& source);

// "Select destination format": every format with a preview of its output, and Save.
class FormatWindow : public QDialog {
  Q_OBJECT

 public:
  FormatWindow(FormatInputs inputs, MessageBoxes& messages, CommonDialog& common_dialog,
               QWidget* parent = nullptr);

  // What Save writes: the selected format's text exactly as its writer made it (byte-order mark
  // and line ends included); empty while no format is selected or its writer refused the list.
  const std::string& PreviewText() const { return text_; }
  // Whether Save wrote a file while the window was open.
  bool saved() const { return saved_; }

 private:
  void RebuildPreview();
  void Save();

  FormatInputs inputs_;
  MessageBoxes& messages_;
  CommonDialog& common_dialog_;
  QListWidget* format_list_;
  QPlainTextEdit* preview_;
  QLabel* notes_;
  QPushButton* save_;
  // The format whose text is held; nullptr when none is (Save is disabled then).
  const DestinationFormat* format_ = nullptr;
  std::string text_;
  bool saved_ = false;
};

}  // namespace markwright::ui
