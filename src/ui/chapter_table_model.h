#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <functional>

#include "core/chapter_edit.h"

namespace markwright::ui {

class VideoThumbnails;

// The main window's chapters as a table: number, time and frame at the output rate, name and
// language, the time as read in a tooltip, and with a video the picture at each chapter's time
// (tinted where the chapter is not on a key frame, the distance to the nearest in its tooltip). It
// holds no text of its own: each cell is formatted when the view asks for it, so a million chapters
// cost nothing until they are shown. An edit typed into a cell goes to the handler, which makes it
// (or refuses it) through the window's undo stack and then tells the model.
class ChapterTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kNumber, kTime, kFrame, kName, kLanguage, kPicture, kColumnCount };
  using EditHandler = std::function<void(int row, int column, const QString& text)>;

  ChapterTableModel(const EditedChapters& chapters, const TitleChapters& source,
                    QObject* parent = nullptr);

  void SetEditHandler(EditHandler handler) { edit_handler_ = std::move(handler); }
  void SetVideo(const VideoThumbnails* video) { video_ = video; }
  // The chapters or the rate changed: every row is asked for again. With as many rows as before,
  // the view keeps its selection and any open editor.
  void Reset(double output_rate);
  // Pictures arrived or the key frames became known: the picture column is drawn again.
  void PicturesChanged();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The longest text the column may show, for sizing it without measuring every row.
  QString WidestText(int column) const;

 private:
  QString Frame(int row) const;
  QVariant PictureData(std::int64_t start, int role) const;

  const EditedChapters& chapters_;
  const TitleChapters& source_;
  double output_rate_ = 0;
  int rows_shown_ = 0;
  EditHandler edit_handler_;
  const VideoThumbnails* video_ = nullptr;
};

}  // namespace markwright::ui
