#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;

namespace markwright::ui {

// "Select stream": the playlists or title sets of a disc; OK takes the selected one.
class StreamWindow : public QDialog {
  Q_OBJECT

 public:
  // selected: the row chosen when the window opens, so that OK takes it; -1 for none.
  explicit StreamWindow(const QStringList& labels, QWidget* parent = nullptr, int selected = -1);

  // The chosen entry counted from 1; 0 when the window was cancelled or closed.
  int selected_stream() const { return selected_stream_; }

 private:
  void TakeSelection();

  QListWidget* stream_list_;
  int selected_stream_ = 0;
};

}  // namespace markwright::ui
