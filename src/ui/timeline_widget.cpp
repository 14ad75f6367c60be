#include "ui/timeline_widget.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "ui/video_thumbnails.h"

namespace markwright::ui {
namespace {

constexpr int kMargin = 6;      // pixels left and right of the video's strip
constexpr int kClickReach = 6;  // how far from a chapter's tick a click still picks it
const QColor kOnKeyFrame(40, 150, 60);
const QColor kOffKeyFrame(230, 150, 0);

}  // namespace

TimelineWidget::TimelineWidget(const EditedChapters& chapters, const VideoThumbnails& video,
                               QWidget* parent)
    : QWidget(parent), chapters_(chapters), video_(video) {
  setObjectName("Timeline");
  setMinimumHeight(28);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  hide();
}

QSize TimelineWidget::sizeHint() const {
  return {200, 28};
}

void TimelineWidget::Update() {
  frames_ = video_.Frames();
  setVisible(frames_ != nullptr);
  update();
}

void TimelineWidget::SetCurrentRow(int row) {
  current_row_ = row;
  update();
}

double TimelineWidget::Length() const {
  return std::max(video_.Length(), 1.0);
}

int TimelineWidget::X(double milliseconds) const {
  if (!frames_) return kMargin;
  const double share = std::clamp(milliseconds / Length(), 0.0, 1.0);
  return kMargin + static_cast<int>(std::lround(share * (width() - 2 * kMargin - 1)));
}

std::vector<int> TimelineWidget::KeyFrameXs() const {
  std::vector<int> xs;
  if (!frames_) return xs;
  for (const std::int64_t frame : frames_->key_frames) {
    const int x = X(frames_->times->starts[static_cast<std::size_t>(frame)]);
    if (xs.empty() || xs.back() != x) xs.push_back(x);
  }
  return xs;
}

void TimelineWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().base());
  if (!frames_) return;
  const int middle = height() / 2;
  painter.setPen(palette().color(QPalette::Mid));
  painter.drawLine(X(0), middle, X(Length()), middle);
  painter.setPen(palette().color(QPalette::Text));
  for (const int x : KeyFrameXs()) painter.drawLine(x, middle, x, height() - 3);
  const std::vector<Chapter>& list = chapters_.title.chapters;
  int drawn = -1;
  for (std::size_t row = 0; row < list.size(); ++row) {
    const int x = X(static_cast<double>(list[row].start));
    if (x == drawn) continue;
    drawn = x;
    const auto distance = video_.Distance(list[row].start);
    painter.setPen(QPen(distance && distance->frames != 0 ? kOffKeyFrame : kOnKeyFrame, 1));
    painter.drawLine(x, 2, x, height() - 3);
  }
  if (current_row_ >= 0 && static_cast<std::size_t>(current_row_) < list.size()) {
    const int x = X(static_cast<double>(list[static_cast<std::size_t>(current_row_)].start));
    painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
    painter.drawLine(x, 1, x, height() - 2);
  }
}

void TimelineWidget::mousePressEvent(QMouseEvent* event) {
  const std::vector<Chapter>& list = chapters_.title.chapters;
  if (!frames_ || list.empty()) return;
  const int x = event->position().toPoint().x();
  // The chapters are in time order: the two around the click are the only candidates.
  const double at = (x - kMargin) * Length() / std::max(width() - 2 * kMargin - 1, 1);
  const auto after = std::ranges::lower_bound(list, static_cast<std::int64_t>(std::floor(at)), {},
                                              &Chapter::start);
  int best = -1;
  int best_reach = kClickReach + 1;
  for (auto it = after == list.begin() ? after : after - 1; it != list.end() && it <= after; ++it) {
    const int reach = std::abs(X(static_cast<double>(it->start)) - x);
    if (reach < best_reach) {
      best_reach = reach;
      best = static_cast<int>(it - list.begin());
    }
  }
  if (best >= 0) emit ChapterClicked(best);
}

}  // namespace markwright::ui
