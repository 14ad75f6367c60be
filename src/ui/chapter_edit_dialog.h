#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "cli/long_options.h"
#include "core/chapter.h"

class QLineEdit;

namespace markwright::ui {

// The small dialog of the Edit menu: one value, the shift or the shortest length to keep, with OK
// and Cancel.
class ChapterEditDialog : public QDialog {
  Q_OBJECT

 public:
  ChapterEditDialog(ChapterEditRequest::Kind kind, QWidget* parent = nullptr);

  // The value as typed, without the blanks around it.
  std::string value() const;

 private:
  QLineEdit* value_;
};

// Applies one edit to re-timed chapters as the command line's --shift and --min-length do (frames
// counted at output_rate) and returns the chapters it dropped. A value that is neither a shift
// nor a number of seconds throws Refusal before anything changes.
std::vector<Chapter> ApplyChapterEdit(const ChapterEditRequest& edit, TitleChapters& title,
                                      double output_rate);

}  // namespace markwright::ui
