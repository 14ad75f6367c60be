#include "ui/chapter_edit_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace markwright::ui {

ChapterEditDialog::ChapterEditDialog(ChapterEditRequest::Kind kind, QWidget* parent)
    : ChapterEditDialog(
          kind == ChapterEditRequest::Kind::kShift ? "ShiftDialog" : "DropShortDialog",
          kind == ChapterEditRequest::Kind::kShift ? "Shift Chapters" : "Drop Short Chapters",
          kind == ChapterEditRequest::Kind::kShift
              ? "Move every chapter by a time (1.5s, -2s, 1500ms, 00:00:01.500)\n"
                "or a number of frames at the output rate (24f, -12f):"
              : "Drop each chapter that starts less than this many seconds after\n"
                "the one before it, and a last chapter as close to the end:",
          parent) {}

ChapterEditDialog::ChapterEditDialog(const char* name, const QString& title, const QString& caption,
                                     QWidget* parent)
    : QDialog(parent) {
  setObjectName(name);
  setWindowTitle(title);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  auto* label = new QLabel(caption);
  label->setObjectName("Label1");
  value_ = new QLineEdit;
  value_->setObjectName("Text1");
  auto* buttons = new QDialogButtonBox;
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("Command1");
  buttons->addButton(QDialogButtonBox::Cancel)->setObjectName("Command2");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(value_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

std::string ChapterEditDialog::value() const {
  return value_->text().trimmed().toStdString();
}

}  // namespace markwright::ui
