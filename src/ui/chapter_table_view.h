#pragma once

#include <QString>
#include <QTableView>

namespace markwright::ui {

// The chapter table of the main window (rows of a ChapterTableModel, all of one height). It takes
// the local files and folders that a file manager drops on it (text/uri-list) and hands the first
// one on; nothing else is accepted.
class ChapterTableView : public QTableView {
  Q_OBJECT

 public:
  explicit ChapterTableView(QWidget* parent = nullptr);

  void setModel(QAbstractItemModel* model) override;

  // Sizes the columns to their content without measuring every row (see the model's WidestText).
  void FitColumns();
  // The height of the pictures shown in the rows (0: none, the picture column hidden); every row
  // is as tall as the taller of a picture and a line of text.
  void SetPictureHeight(int height);

 signals:
  void PathDropped(const QString& path);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  int picture_height_ = 0;
};

}  // namespace markwright::ui
