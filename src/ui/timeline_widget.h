#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/chapter_edit.h"
#include "readers/video_frames.h"

namespace markwright::ui {

class VideoThumbnails;

// A strip under the chapter table: the video's length from left to right, a short tick at each
// key frame and a tall one at each chapter, amber where the chapter is not on a key frame, the
// current row's chapter drawn wider. Clicking near a chapter's tick picks its row. Of many ticks
// that fall on one pixel column one is drawn, so a million chapters draw as fast as a thousand.
class TimelineWidget : public QWidget {
  Q_OBJECT

 public:
  TimelineWidget(const EditedChapters& chapters, const VideoThumbnails& video,
                 QWidget* parent = nullptr);

  // The chapters or the video's frames changed: drawn again, hidden while no frames are known.
  void Update();
  void SetCurrentRow(int row);

  // Where the time falls in the strip, in pixels from its left edge.
  int X(double milliseconds) const;
  // The pixel columns that carry a key-frame tick.
  std::vector<int> KeyFrameXs() const;

  QSize sizeHint() const override;

 signals:
  void ChapterClicked(int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  double Length() const;

  const EditedChapters& chapters_;
  const VideoThumbnails& video_;
  std::shared_ptr<const VideoFrames> frames_;
  int current_row_ = -1;
};

}  // namespace markwright::ui
