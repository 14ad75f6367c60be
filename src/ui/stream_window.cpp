#include "ui/stream_window.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/message_text.h"
#include "ui/twips.h"

namespace markwright::ui {

StreamWindow::StreamWindow(const QStringList& labels, QWidget* parent, int selected)
    : QDialog(parent) {
  setObjectName("Form2");
  setWindowTitle("Select stream");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  stream_list_ = new QListWidget;
  stream_list_->setObjectName("List1");
  stream_list_->setMinimumSize(Twips(4500), Twips(3000));
  // A file name may hold control characters or be very long: shown as messages show it.
  for (const QString& label : labels) stream_list_->addItem(MessageText(label.toStdString()));
  stream_list_->setCurrentRow(selected);  // a disc's: nothing chosen until the user picks
  auto* ok = new QPushButton("OK");
  ok->setObjectName("Command1");
  auto* cancel = new QPushButton("Cancel");
  cancel->setObjectName("Command2");
  cancel->setAutoDefault(false);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(stream_list_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(ok, &QPushButton::clicked, this, &StreamWindow::TakeSelection);
  connect(stream_list_, &QListWidget::itemDoubleClicked, this, &StreamWindow::TakeSelection);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void StreamWindow::TakeSelection() {
  const QList<QListWidgetItem*> selected = stream_list_->selectedItems();
  if (selected.isEmpty()) return;  // OK without a choice keeps the window open
  selected_stream_ = stream_list_->row(selected.front()) + 1;
  accept();
}

}  // namespace markwright::ui
