#include "ui/chapter_edit_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/chapter_edit.h"
#include "core/decimal.h"
#include "core/error.h"

namespace markwright::ui {
namespace {

// The same bounds as --min-length: no negative length, none beyond any title.
double MinimumSeconds(const std::string& text) {
  const auto seconds = ParseDecimal(text);
  if (!seconds || !(*seconds >= 0) || *seconds > 1e9) {
    throw Refusal("cannot drop chapters shorter than " + QuotedText(text) +
                  ": give a number of seconds (5, 2.5)");
  }
  return *seconds;
}

}  // namespace

ChapterEditDialog::ChapterEditDialog(ChapterEditRequest::Kind kind, QWidget* parent)
    : QDialog(parent) {
  const bool shift = kind == ChapterEditRequest::Kind::kShift;
  setObjectName(shift ? "ShiftDialog" : "DropShortDialog");
  setWindowTitle(shift ? "Shift Chapters" : "Drop Short Chapters");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  auto* caption =
      new QLabel(shift ? "Move every chapter by a time (1.5s, -2s, 1500ms, 00:00:01.500)\n"
                         "or a number of frames at the output rate (24f, -12f):"
                       : "Drop each chapter that starts less than this many seconds after\n"
                         "the one before it, and a last chapter as close to the end:");
  caption->setObjectName("Label1");
  value_ = new QLineEdit;
  value_->setObjectName("Text1");
  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("Command1");
  buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("Command2");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(caption);
  layout->addWidget(value_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::string ChapterEditDialog::value() const {
  return value_->text().trimmed().toStdString();
}

std::vector<Chapter> ApplyChapterEdit(const ChapterEditRequest& edit, TitleChapters& title,
                                      double output_rate) {
  if (edit.kind == ChapterEditRequest::Kind::kShift) {
    return ShiftChapters(title, ParseShift(edit.value, output_rate));
  }
  return DropShortChapters(title, MinimumSeconds(edit.value));
}

}  // namespace markwright::ui
