#pragma once

#include <QListWidget>
#include <QString>

namespace markwright::ui {

// The chapter list of the main window. It takes the local files and folders that a file manager
// drops on it (text/uri-list) and hands the first one on; nothing else is accepted.
class ChapterListWidget : public QListWidget {
  Q_OBJECT

 public:
  explicit ChapterListWidget(QWidget* parent = nullptr);

 signals:
  void PathDropped(const QString& path);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

}  // namespace markwright::ui
