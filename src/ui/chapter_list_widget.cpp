#include "ui/chapter_list_widget.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace markwright::ui {
namespace {

// The first local path among the dropped URLs; empty when there is none.
QString FirstLocalPath(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) return url.toLocalFile();
  }
  return {};
}

}  // namespace

ChapterListWidget::ChapterListWidget(QWidget* parent) : QListWidget(parent) {
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void ChapterListWidget::dragEnterEvent(QDragEnterEvent* event) {
  if (FirstLocalPath(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void ChapterListWidget::dragMoveEvent(QDragMoveEvent* event) {
  if (FirstLocalPath(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void ChapterListWidget::dropEvent(QDropEvent* event) {
  const QString path = FirstLocalPath(event->mimeData());
  if (path.isEmpty()) return event->ignore();
  event->acceptProposedAction();
  emit PathDropped(path);
}

}  // namespace markwright::ui
