#include "ui/video_thumbnails.h"

#include <QTimer>
#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

#include "core/error.h"
#include "readers/thumbnails.h"

namespace markwright::ui {
namespace {

// Pictures kept for the session, in kilobytes: about 13,000 of 96 × 54.
constexpr int kMostCachedKilobytes = 200 * 1024;

}  // namespace

// What the worker threads share with this object. A reading child answers only when it has
// something to say, so a thread cannot be made to end at once: it is left to end by itself
// (a stopped job ends the child at its next picture) and finds owner empty once this object
// is gone. Under the mutex, owner is alive.
struct VideoThumbnails::Link {
  std::mutex mutex;
  VideoThumbnails* owner = nullptr;
  QHash<QString, std::shared_ptr<const VideoFrames>> frames;  // read, not yet taken
};

struct VideoThumbnails::Job {
  quint64 id = 0;
  QString video;
  std::vector<std::int64_t> times;  // ascending
  std::atomic<bool> stop = false;
};

namespace {

template <typename Post>
void ToOwner(std::mutex& mutex, VideoThumbnails*& owner, Post post) {
  const std::lock_guard lock(mutex);
  if (owner != nullptr) post(*owner);
}

}  // namespace

VideoThumbnails::VideoThumbnails(QObject* parent)
    : QObject(parent), pictures_(kMostCachedKilobytes), link_(std::make_shared<Link>()) {
  link_->owner = this;
  connect(this, &VideoThumbnails::PictureDecoded, this, &VideoThumbnails::KeepPicture,
          Qt::QueuedConnection);
  connect(
      this, &VideoThumbnails::ReadEnded, this,
      [this](const QString& video, quint64 job) { EndJob(video, job, {}); }, Qt::QueuedConnection);
  connect(this, &VideoThumbnails::ReadFailed, this, &VideoThumbnails::EndJob, Qt::QueuedConnection);
}

VideoThumbnails::~VideoThumbnails() {
  StopRunning();
  const std::lock_guard lock(link_->mutex);
  link_->owner = nullptr;
}

void VideoThumbnails::StopRunning() {
  if (running_) running_->stop = true;
  running_.reset();
}

void VideoThumbnails::SetVideo(const std::filesystem::path& video, bool told_in_box) {
  const QString name = QString::fromStdString(video.string());
  if (name == video_) return;
  StopRunning();
  video_ = name;
  told_in_box_ = told_in_box;
  emit PicturesChanged();
  emit FramesRead();
}

void VideoThumbnails::Ask(std::vector<std::int64_t> times) {
  if (video_.isEmpty() || failures_.contains(video_)) return;
  std::ranges::sort(times);
  const auto [first, last] = std::ranges::unique(times);
  times.erase(first, last);
  std::erase_if(times, [this](std::int64_t time) {
    return time < 0 || time > kLatestThumbnailTime || IsExact(time);
  });
  if (times.size() > kMostThumbnailsAtOnce) times.resize(kMostThumbnailsAtOnce);
  // The frames come at the end of a read: a first read asks even when every picture is there.
  if (times.empty() && frames_.contains(video_)) return;
  if (running_ && running_->video == video_ && std::ranges::includes(running_->times, times)) {
    return;
  }
  StopRunning();
  auto job = std::make_shared<Job>();
  job->id = next_job_++;
  job->video = video_;
  job->times = std::move(times);
  running_ = job;
  std::thread([job, link = link_] {
    try {
      auto frames = ReadThumbnails(
          job->video.toStdString(), job->times, kPictureWidth, [&](Thumbnail&& thumbnail) {
            if (job->stop) return false;
            const QImage picture = QImage(thumbnail.rgb.data(), thumbnail.width, thumbnail.height,
                                          thumbnail.width * 3, QImage::Format_RGB888)
                                       .copy();
            ToOwner(link->mutex, link->owner, [&](VideoThumbnails& owner) {
              emit owner.PictureDecoded(job->video, job->times[thumbnail.index], picture,
                                        thumbnail.exact);
            });
            return !job->stop;
          });
      if (!frames) return;  // stopped: nobody waits for it
      auto shared = std::make_shared<const VideoFrames>(std::move(*frames));
      ToOwner(link->mutex, link->owner, [&](VideoThumbnails& owner) {
        link->frames.insert(job->video, std::move(shared));
        emit owner.ReadEnded(job->video, job->id);
      });
    } catch (const std::exception& failure) {
      ToOwner(link->mutex, link->owner, [&](VideoThumbnails& owner) {
        emit owner.ReadFailed(job->video, job->id, QString::fromUtf8(failure.what()));
      });
    }
  }).detach();
}

void VideoThumbnails::KeepPicture(const QString& video, qint64 milliseconds, const QImage& picture,
                                  bool exact) {
  const Key key(video, milliseconds);
  if (const Cached* kept = pictures_.object(key); kept != nullptr && kept->exact && !exact) return;
  const auto kilobytes = static_cast<qsizetype>(picture.sizeInBytes() / 1024 + 1);
  pictures_.insert(key, new Cached{picture, exact}, kilobytes);
  heights_.insert(video, picture.height());
  if (video != video_ || update_queued_) return;
  // Pictures come by the dozen: the table is told once for each batch.
  update_queued_ = true;
  QTimer::singleShot(30, this, [this] {
    update_queued_ = false;
    emit PicturesChanged();
  });
}

void VideoThumbnails::EndJob(const QString& video, quint64 job, const QString& failure) {
  if (running_ && running_->id == job) running_.reset();
  if (!failure.isEmpty()) {
    if (failures_.contains(video)) return;
    failures_.insert(video, failure);
    if (video == video_) emit Failed(failure);
    return;
  }
  {
    const std::lock_guard lock(link_->mutex);
    if (const auto read = link_->frames.find(video); read != link_->frames.end()) {
      frames_.insert(video, read.value());
      link_->frames.erase(read);
    }
  }
  if (video == video_) emit FramesRead();
}

QImage VideoThumbnails::Picture(std::int64_t milliseconds) const {
  const Cached* kept = pictures_.object(Key(video_, milliseconds));
  return kept != nullptr ? kept->picture : QImage();
}

bool VideoThumbnails::IsExact(std::int64_t milliseconds) const {
  const Cached* kept = pictures_.object(Key(video_, milliseconds));
  return kept != nullptr && kept->exact;
}

std::shared_ptr<const VideoFrames> VideoThumbnails::Frames() const {
  return frames_.value(video_);
}

std::optional<KeyFrameDistance> VideoThumbnails::Distance(std::int64_t milliseconds) const {
  const std::shared_ptr<const VideoFrames> frames = Frames();
  if (!frames || frames->key_frames.empty()) return std::nullopt;
  const FrameClock clock(frames->times);
  try {
    return NearestKeyFrame(clock, frames->key_frames, milliseconds);
  } catch (const Error&) {
    return std::nullopt;  // past the last frame
  }
}

}  // namespace markwright::ui
