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
  std::vector<std::vector<std::int64_t>> parts;  // each ascending, read one after the other
  std::atomic<bool> stop = false;
};

namespace {

template <typename Post>
void ToOwner(VideoThumbnails::Link& link, Post post) {
  const std::lock_guard lock(link.mutex);
  if (link.owner != nullptr) post(*link.owner);
}

// On a worker thread: the read, then its frames or its failure told to the owner. A read that
// was stopped tells nothing.
template <typename Read>
void RunRead(VideoThumbnails::Link& link, const QString& video, quint64 job, Read read) {
  try {
    std::optional<VideoFrames> frames = read();
    if (!frames) return;
    auto shared = std::make_shared<const VideoFrames>(std::move(*frames));
    ToOwner(link, [&](VideoThumbnails& owner) {
      link.frames.insert(video, shared);
      emit owner.ReadEnded(video, job);
    });
  } catch (const std::exception& failure) {
    ToOwner(link, [&](VideoThumbnails& owner) {
      emit owner.ReadFailed(video, job, QString::fromUtf8(failure.what()));
    });
  }
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
  told_in_box_ = told_in_box;
  if (name == video_) return;
  StopRunning();
  video_ = name;
  failures_.remove(name);  // opened again: perhaps mended since
  if (!name.isEmpty() && !frames_.contains(name)) ReadFrames();
  emit PicturesChanged();
  emit FramesRead();
}

void VideoThumbnails::Ask(std::vector<std::int64_t> in_view, std::vector<std::int64_t> around) {
  if (video_.isEmpty() || failures_.contains(video_)) return;
  std::size_t room = kMostThumbnailsAtOnce;
  const auto keep = [&](std::vector<std::int64_t>& times, const std::vector<std::int64_t>& taken) {
    std::ranges::sort(times);
    times.erase(std::unique(times.begin(), times.end()), times.end());
    std::erase_if(times, [&](std::int64_t time) {
      return time < 0 || time > kLatestThumbnailTime || IsExact(time) ||
             std::ranges::binary_search(taken, time);
    });
    if (times.size() > room) times.resize(room);
    room -= times.size();
  };
  keep(in_view, {});
  keep(around, in_view);
  if (in_view.empty() && around.empty()) return;
  if (running_ && running_->video == video_) {
    std::vector<std::int64_t> asked = Asked();
    std::ranges::sort(asked);
    if (std::ranges::includes(running_->parts.front(), in_view) &&
        std::ranges::includes(asked, around)) {
      return;
    }
  }
  std::vector<std::vector<std::int64_t>> parts;
  for (std::vector<std::int64_t>* part : {&in_view, &around}) {
    if (!part->empty()) parts.push_back(std::move(*part));
  }
  StopRunning();
  auto job = std::make_shared<Job>();
  job->id = next_job_++;
  job->video = video_;
  job->parts = std::move(parts);
  running_ = job;
  std::thread([job, link = link_] {
    RunRead(*link, job->video, job->id, [&] {
      std::optional<VideoFrames> frames;
      for (const std::vector<std::int64_t>& times : job->parts) {
        frames = ReadThumbnails(
            job->video.toStdString(), times, kPictureWidth, [&](Thumbnail&& thumbnail) {
              if (job->stop) return false;
              const QImage picture =
                  QImage(thumbnail.rgb.data(), thumbnail.width, thumbnail.height,
                         static_cast<qsizetype>(thumbnail.width) * 3, QImage::Format_RGB888)
                      .copy();
              ToOwner(*link, [&](VideoThumbnails& owner) {
                emit owner.PictureDecoded(job->video, times[thumbnail.index], picture,
                                          thumbnail.exact);
              });
              return !job->stop;
            });
        if (!frames) break;  // stopped
      }
      return frames;
    });
  }).detach();
}

std::vector<std::int64_t> VideoThumbnails::Asked() const {
  std::vector<std::int64_t> times;
  if (!running_) return times;
  for (const std::vector<std::int64_t>& part : running_->parts) {
    times.insert(times.end(), part.begin(), part.end());
  }
  return times;
}

void VideoThumbnails::ReadFrames() {
  // Reading the frames decodes nothing: the timeline and the key-frame marks need not wait for
  // the exact pictures, which come with the frames only after the last of them.
  std::thread([video = video_, link = link_] {
    RunRead(*link, video, 0, [&] { return std::optional(ReadVideoFrames(video.toStdString())); });
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

double VideoThumbnails::Length() const {
  const std::shared_ptr<const VideoFrames> frames = Frames();
  if (!frames) return 0;
  const std::vector<double>& starts = frames->times->starts;
  const double last = starts.size() > 1 ? 2 * starts.back() - starts[starts.size() - 2] : 0;
  return std::max(last, starts.back());
}

bool VideoThumbnails::PastEnd(std::int64_t milliseconds) const {
  // A video of one frame has no length to go by.
  const double length = Length();
  return length > 0 && static_cast<double>(milliseconds) >= length;
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
