#pragma once

#include <QDialog>
#include <string>

#include "core/chapter_edit.h"

class QLineEdit;

namespace markwright::ui {

// The small dialog of the Edit menu: one value with OK and Cancel. For a shift or the shortest
// length to keep, the window applies it with ApplyChapterEdit (core/chapter_edit.h), as the command
// line applies --shift and --min-length, messages included; the other edits ask with a caption of
// their own.
class ChapterEditDialog : public QDialog {
  Q_OBJECT

 public:
  ChapterEditDialog(ChapterEditRequest::Kind kind, QWidget* parent = nullptr);
  ChapterEditDialog(const char* name, const QString& title, const QString& caption,
                    QWidget* parent = nullptr);

  // The value as typed, without the blanks around it.
  std::string value() const;

 private:
  QLineEdit* value_;
};

}  // namespace markwright::ui
