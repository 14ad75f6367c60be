#include "ui/chapter_table_view.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "ui/chapter_table_model.h"
#include "ui/video_thumbnails.h"

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

ChapterTableView::ChapterTableView(QWidget* parent) : QTableView(parent) {
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  setWordWrap(false);
  setShowGrid(false);
  verticalHeader()->hide();
  // Every row the same height, so the view never asks a row for its size: a million rows scroll
  // as lightly as ten.
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  horizontalHeader()->setStretchLastSection(true);
  horizontalHeader()->setHighlightSections(false);
}

void ChapterTableView::setModel(QAbstractItemModel* model) {
  QTableView::setModel(model);
  // The name comes right after the time, as the list always showed it; at the window's first
  // size the frame and the language are a scroll away.
  horizontalHeader()->moveSection(ChapterTableModel::kName, ChapterTableModel::kFrame);
  // The picture, when there is a video, comes after the number.
  horizontalHeader()->moveSection(horizontalHeader()->visualIndex(ChapterTableModel::kPicture), 1);
  setColumnHidden(ChapterTableModel::kPicture, true);
  QFont header_font = font();
  header_font.setBold(false);
  horizontalHeader()->setFont(header_font);
}

void ChapterTableView::FitColumns() {
  auto* chapters = qobject_cast<ChapterTableModel*>(model());
  if (chapters == nullptr) return;
  const QFontMetrics metrics(font());
  verticalHeader()->setDefaultSectionSize(std::max(metrics.height(), picture_height_) + 4);
  // Numbers, times and frames are as wide as the last row's: measured from that row alone. A
  // name is measured over what the view would measure for a short list; a longer list is measured
  // over its first rows only.
  const int padding = metrics.horizontalAdvance(QLatin1Char('0'));
  for (int column = 0; column < ChapterTableModel::kColumnCount; ++column) {
    const QString header = chapters->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    int width =
        std::max(metrics.horizontalAdvance(header), horizontalHeader()->sectionSizeHint(column));
    if (column == ChapterTableModel::kPicture) {
      width = VideoThumbnails::kPictureWidth + 6;
    } else if (column == ChapterTableModel::kName) {
      width = std::max(width, sizeHintForColumn(column));
    } else if (column != ChapterTableModel::kLanguage) {
      width = std::max(width, metrics.horizontalAdvance(chapters->WidestText(column)) + padding);
    } else {
      width = std::max(width, metrics.horizontalAdvance(QStringLiteral("eng-US")) + padding);
    }
    setColumnWidth(column, width);
  }
}

void ChapterTableView::SetPictureHeight(int height) {
  if (height == picture_height_ && isColumnHidden(ChapterTableModel::kPicture) == (height == 0)) {
    return;
  }
  picture_height_ = height;
  setColumnHidden(ChapterTableModel::kPicture, height == 0);
  FitColumns();
}

void ChapterTableView::dragEnterEvent(QDragEnterEvent* event) {
  if (FirstLocalPath(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void ChapterTableView::dragMoveEvent(QDragMoveEvent* event) {
  if (FirstLocalPath(event->mimeData()).isEmpty()) return event->ignore();
  event->acceptProposedAction();
}

void ChapterTableView::dropEvent(QDropEvent* event) {
  const QString path = FirstLocalPath(event->mimeData());
  if (path.isEmpty()) return event->ignore();
  event->acceptProposedAction();
  emit PathDropped(path);
}

}  // namespace markwright::ui
