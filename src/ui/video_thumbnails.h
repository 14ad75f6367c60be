#pragma once

#include <QCache>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPair>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "core/key_frames.h"
#include "readers/video_frames.h"

namespace markwright::ui {

// The video the window's chapters are for: the picture at each chapter's time and the video's
// frames and key frames. Pictures are decoded by a reading child on a worker thread, which hands
// each one to this object's thread as it arrives (a quick picture first, then the exact one),
// while another reads the frames, which decodes nothing and so comes first; pictures are kept for
// the session by video and time, so coming back to a video or a time costs nothing. A read that
// fails is told once and not tried again until the video is set again.
class VideoThumbnails : public QObject {
  Q_OBJECT

 public:
  // Pictures are this wide; their height keeps the video's aspect.
  static constexpr int kPictureWidth = 96;

  explicit VideoThumbnails(QObject* parent = nullptr);
  ~VideoThumbnails() override;

  // The video to picture from now on (empty: none); told_in_box says whether a failure to read
  // it goes to a message box (the user chose it) or to the status bar (it came with the chapters).
  void SetVideo(const std::filesystem::path& video, bool told_in_box);
  bool HasVideo() const { return !video_.isEmpty(); }
  bool told_in_box() const { return told_in_box_; }

  // Asks for the pictures at the times (milliseconds from the video's first frame) that are not
  // exact yet: at most kMostThumbnailsAtOnce, those in view first. A reading child decodes in
  // order of time, so the rows in view are read by one child and the rows around them by the
  // next: a row above the view never waits for the rows in it. A read under way that already
  // asks for all of them, those in view first, goes on; otherwise it is stopped for the new one.
  void Ask(std::vector<std::int64_t> in_view, std::vector<std::int64_t> around = {});
  // The times of the read under way, in the order they are read; empty when none is.
  std::vector<std::int64_t> Asked() const;

  // The height of the video's pictures; 0 before the first has arrived.
  int PictureHeight() const { return heights_.value(video_); }
  // The picture at the time; a null image when it has not arrived.
  QImage Picture(std::int64_t milliseconds) const;
  // Whether the picture at the time is the exact frame (not the key frame before it).
  bool IsExact(std::int64_t milliseconds) const;
  // The video's frames once read; nullptr before.
  std::shared_ptr<const VideoFrames> Frames() const;
  // The video's length in milliseconds (to the end of its last frame, taken as long as the one
  // before); 0 before the frames are known.
  double Length() const;
  // Whether the time is at or after the video's end, once the frames are known.
  bool PastEnd(std::int64_t milliseconds) const;
  // Where a chapter at the time stands against the key frames; nothing before the frames are
  // known or for a time past the video's last frame.
  std::optional<KeyFrameDistance> Distance(std::int64_t milliseconds) const;

 signals:
  void PicturesChanged();
  void FramesRead();
  void Failed(const QString& message);

  // From the worker thread, queued to this object's thread.
  void PictureDecoded(const QString& video, qint64 milliseconds, const QImage& picture, bool exact);
  void ReadEnded(const QString& video, quint64 job);
  void ReadFailed(const QString& video, quint64 job, const QString& message);

 public:
  struct Link;  // what the worker threads share with this object

 private:
  struct Job;
  struct Cached {
    QImage picture;
    bool exact = false;
  };
  using Key = QPair<QString, qint64>;

  void KeepPicture(const QString& video, qint64 milliseconds, const QImage& picture, bool exact);
  void EndJob(const QString& video, quint64 job, const QString& failure);
  void StopRunning();
  void ReadFrames();

  QString video_;
  bool told_in_box_ = false;
  QCache<Key, Cached> pictures_;  // of every video this session, by the size of the pictures
  QHash<QString, std::shared_ptr<const VideoFrames>> frames_;
  QHash<QString, int> heights_;
  QHash<QString, QString> failures_;  // videos that could not be read, with the message
  std::shared_ptr<Link> link_;        // shared with the worker threads
  std::shared_ptr<Job> running_;
  quint64 next_job_ = 1;
  bool update_queued_ = false;
};

}  // namespace markwright::ui
