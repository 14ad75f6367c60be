// The module's thumbnails: for each time, a seek to the key frame before it and decoding forward
// to the frame shown then, scaled down with libswscale.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

extern "C" {
#include <libswscale/swscale.h>
}

#include "video/av_input.h"
#include "video/video_entry.h"

namespace markwright::video {
namespace {

struct ScaleFreer {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};

// Decodes the video stream frame after frame, in presentation order, from wherever it was last
// moved to.
class FrameDecoder {
 public:
  explicit FrameDecoder(const char* path) : input_(OpenVideo(path)) {
    if (input_.decoder == nullptr) throw Failure("libavcodec cannot decode its video");
    codec_.reset(avcodec_alloc_context3(input_.decoder));
    packet_.reset(av_packet_alloc());
    if (!codec_ || !packet_) throw Failure("not enough memory");
    if (const int code = avcodec_parameters_to_context(codec_.get(), input_.Stream()->codecpar);
        code < 0) {
      throw Failure("libavcodec cannot decode its video: " + AvMessage(code));
    }
    // A picture a few times smaller than the frame shows no loss from these shortcuts, and they
    // halve the decoding.
    codec_->skip_loop_filter = AVDISCARD_ALL;
    codec_->flags2 |= AV_CODEC_FLAG2_FAST;
    codec_->thread_count = 0;  // one per core
    if (const int code = avcodec_open2(codec_.get(), input_.decoder, nullptr); code < 0) {
      throw Failure("libavcodec cannot decode its video: " + AvMessage(code));
    }
    const std::int64_t start = input_.Stream()->start_time;
    first_pts_ = start == AV_NOPTS_VALUE ? 0 : start;
  }

  const VideoInput& Input() const { return input_; }
  AVCodecContext* Codec() const { return codec_.get(); }

  // The stream time of a time in milliseconds from the first frame, and back.
  std::int64_t Pts(std::int64_t milliseconds) const {
    return first_pts_ + av_rescale_q(milliseconds, AVRational{1, 1000}, input_.time_base);
  }
  double Milliseconds(std::int64_t pts) const {
    return static_cast<double>(pts - first_pts_) * 1000.0 * input_.time_base.num /
           input_.time_base.den;
  }

  // The start of the key frame at or before pts as the container's index has it; nothing
  // without an index.
  std::optional<std::int64_t> IndexedKeyFrameBefore(std::int64_t pts) const {
    const int entry = av_index_search_timestamp(input_.Stream(), pts, AVSEEK_FLAG_BACKWARD);
    if (entry < 0) return std::nullopt;
    return avformat_index_get_entry(input_.Stream(), entry)->timestamp;
  }

  // Moves to the key frame at or before pts; false when the container cannot.
  bool Seek(std::int64_t pts) {
    if (av_seek_frame(input_.format.get(), input_.stream, pts, AVSEEK_FLAG_BACKWARD) < 0) {
      return false;
    }
    avcodec_flush_buffers(codec_.get());
    draining_ = false;
    return true;
  }

  // The next frame into frame; false at the end of the stream. A packet the decoder refuses
  // (damaged data) is passed over.
  bool Next(AVFrame* frame) {
    for (;;) {
      const int received = avcodec_receive_frame(codec_.get(), frame);
      if (received == 0) return true;
      if (received != AVERROR(EAGAIN) || draining_) return false;
      if (av_read_frame(input_.format.get(), packet_.get()) < 0) {
        avcodec_send_packet(codec_.get(), nullptr);
        draining_ = true;
        continue;
      }
      if (packet_->stream_index == input_.stream) {
        codec_->skip_frame = key_frames_only_     ? AVDISCARD_NONKEY
                             : Unneeded(*packet_) ? AVDISCARD_NONREF
                                                  : AVDISCARD_DEFAULT;
        avcodec_send_packet(codec_.get(), packet_.get());
      }
      av_packet_unref(packet_.get());
    }
  }

  // Frames no other frame refers to are not decoded when they show before the frame nearest
  // pts: exact, and a sixth to a half less work on common encodes (x264's B-frames).
  void SkipUnneededBefore(std::int64_t pts) {
    skip_before_ = pts;
    key_frames_only_ = false;
  }
  // Only key frames are decoded, until SkipUnneededBefore.
  void DecodeKeyFramesOnly() { key_frames_only_ = true; }

  static std::int64_t Start(const AVFrame* frame) {
    return frame->best_effort_timestamp != AV_NOPTS_VALUE ? frame->best_effort_timestamp
                                                          : frame->pts;
  }

 private:
  VideoInput input_;
  CodecPointer codec_;
  PacketPointer packet_;
  std::int64_t first_pts_ = 0;
  std::int64_t skip_before_ = INT64_MIN;
  bool key_frames_only_ = false;
  bool draining_ = false;

  // Whether the packet's frame shows before the frame nearest skip_before_: it ends at or
  // before that time (the next frame is nearer or as near, and then the later wins), or, with
  // no duration known, starts more than a second before (frames are shorter than that).
  bool Unneeded(const AVPacket& packet) const {
    if (packet.pts == AV_NOPTS_VALUE || skip_before_ == INT64_MIN) return false;
    if (packet.duration > 0) return packet.pts + packet.duration <= skip_before_;
    return packet.pts < skip_before_ - Second();
  }
  std::int64_t Second() const {
    return std::max<std::int64_t>(av_rescale_q(1, AVRational{1, 1}, input_.time_base), 1);
  }
};

// Scales frames to the thumbnail's size as RGB.
class Scaler {
 public:
  explicit Scaler(int width) : width_(width) {}

  VideoThumbnail Scale(const AVFrame* frame, std::size_t request_index, double start, bool exact) {
    const AVRational aspect =
        frame->sample_aspect_ratio.num > 0 && frame->sample_aspect_ratio.den > 0
            ? frame->sample_aspect_ratio
            : AVRational{1, 1};
    const double shown_width = static_cast<double>(frame->width) * aspect.num / aspect.den;
    const int height = std::clamp(
        static_cast<int>(std::lround(width_ * frame->height / shown_width)), 1, 4 * width_);
    context_.reset(sws_getCachedContext(context_.release(), frame->width, frame->height,
                                        static_cast<AVPixelFormat>(frame->format), width_, height,
                                        AV_PIX_FMT_RGB24, SWS_AREA, nullptr, nullptr, nullptr));
    if (!context_) throw Failure("libswscale cannot scale its pictures");
    const int stride = width_ * 3;
    // Room past the end: libswscale may write whole blocks.
    rgb_.assign(static_cast<std::size_t>(stride) * height + 64, 0);
    std::uint8_t* planes[4] = {rgb_.data(), nullptr, nullptr, nullptr};
    const int strides[4] = {stride, 0, 0, 0};
    sws_scale(context_.get(), frame->data, frame->linesize, 0, frame->height, planes, strides);
    return {request_index, start, exact ? 1 : 0, width_, height, rgb_.data()};
  }

 private:
  int width_;
  std::unique_ptr<SwsContext, ScaleFreer> context_;
  std::vector<std::uint8_t> rgb_;
};

// Forward decoding is cheaper than a seek over less than this (in seconds) when the container
// has no index to say where the key frames are.
constexpr std::int64_t kForwardWithoutIndex = 2;

// First a quick picture for each time, in order of time: the key frame before it, decoded
// alone (once for all the times it serves). Those whose key frame is the frame nearest the time
// (a chapter on a key frame, as after an encode with our key-frame list) are exact and marked
// done.
void QuickThumbnails(FrameDecoder& decoder, Scaler& scaler, const std::int64_t* times,
                     const std::vector<std::size_t>& order, std::vector<bool>& done,
                     VideoThumbnailSink sink, void* context) {
  const FramePointer frame(av_frame_alloc());
  if (!frame) throw Failure("not enough memory");
  decoder.DecodeKeyFramesOnly();
  std::optional<std::int64_t> last_key;  // the index's key frame of the last picture
  VideoThumbnail last{};
  std::int64_t last_start = 0;
  std::int64_t last_duration = 0;
  for (const std::size_t index : order) {
    const std::int64_t target = decoder.Pts(times[index]);
    const auto key = decoder.IndexedKeyFrameBefore(target);
    if (!key || key != last_key) {
      if (!decoder.Seek(target) || !decoder.Next(frame.get())) return;
      last_start = FrameDecoder::Start(frame.get());
      last_duration = frame->pkt_duration;
      if (last_start > target) {  // no key frame before the time where the seek went
        last_key.reset();
        continue;
      }
      last = scaler.Scale(frame.get(), index, decoder.Milliseconds(last_start), false);
      last_key = key;
    } else if (last_start > target) {
      continue;
    }
    // Nearest when the next frame starts more than as far after the time.
    done[index] = last_duration > 0 && 2 * (target - last_start) < last_duration;
    last.request_index = index;
    last.exact = done[index] ? 1 : 0;
    sink(context, &last);
  }
}

void Thumbnails(const char* path, const std::int64_t* times, std::size_t count, int width,
                VideoThumbnailSink sink, void* context) {
  if (width < 1 || width > 4096) throw Failure("a thumbnail is 1 to 4096 pixels wide");
  for (std::size_t index = 0; index < count; ++index) {
    if (times[index] < 0) throw Failure("a thumbnail's time is before the first frame");
  }
  FrameDecoder decoder(path);
  Scaler scaler(width);
  std::vector<std::size_t> order(count);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::ranges::stable_sort(order, {}, [times](std::size_t index) { return times[index]; });
  std::vector<bool> done(count);
  QuickThumbnails(decoder, scaler, times, order, done, sink, context);

  // Then the exact frame for each time not done, in order of time: decoding on from the frames
  // before where that is shorter than from the key frame before.
  const FramePointer before(av_frame_alloc());
  const FramePointer after(av_frame_alloc());
  if (!before || !after) throw Failure("not enough memory");
  bool have_before = false;
  bool have_after = false;
  const std::int64_t margin = std::max<std::int64_t>(
      av_rescale_q(kForwardWithoutIndex, AVRational{1, 1}, decoder.Input().time_base), 1);
  for (const std::size_t index : order) {
    if (done[index]) continue;
    const std::int64_t target = decoder.Pts(times[index]);
    decoder.SkipUnneededBefore(target);
    // Decoding on reaches the target unless it lies behind, or a key frame lies between.
    bool seek = !have_after && !have_before;
    if (have_before && target < FrameDecoder::Start(before.get())) seek = true;
    if (have_after && target > FrameDecoder::Start(after.get())) {
      const auto key = decoder.IndexedKeyFrameBefore(target);
      seek = key ? *key > FrameDecoder::Start(after.get())
                 : target - FrameDecoder::Start(after.get()) > margin;
    }
    if (seek) {
      // A key frame whose decoding time is before the target can show after it (B-frames):
      // then from further back, at last from the start.
      for (std::int64_t back = 0;; back = back == 0 ? margin : back * 2) {
        const std::int64_t from = back > target ? INT64_MIN / 2 : target - back;
        if (!decoder.Seek(from)) break;
        have_before = false;
        have_after = decoder.Next(after.get());
        if (!have_after || FrameDecoder::Start(after.get()) <= target || from <= INT64_MIN / 2) {
          break;
        }
      }
    }
    while (have_after && FrameDecoder::Start(after.get()) < target) {
      av_frame_unref(before.get());
      av_frame_move_ref(before.get(), after.get());
      have_before = true;
      have_after = decoder.Next(after.get());
    }
    // The frame whose start is nearest; of two as near, the later.
    const AVFrame* shown = nullptr;
    if (have_after) shown = after.get();
    if (have_before && (!have_after || target - FrameDecoder::Start(before.get()) <
                                           FrameDecoder::Start(after.get()) - target)) {
      shown = before.get();
    }
    if (shown == nullptr) throw Failure("no video frames");
    const VideoThumbnail thumbnail =
        scaler.Scale(shown, index, decoder.Milliseconds(FrameDecoder::Start(shown)), true);
    sink(context, &thumbnail);
  }
}

}  // namespace
}  // namespace markwright::video

extern "C" __attribute__((visibility("default"))) int markwright_video_thumbnails(
    const char* path, const std::int64_t* times, std::size_t count, int width,
    markwright::VideoThumbnailSink thumbnail, markwright::VideoTextSink failure, void* context) {
  static_assert(
      std::is_same_v<decltype(&markwright_video_thumbnails), markwright::VideoThumbnailsEntry>);
  return markwright::video::RunForEntry(
      [&] { markwright::video::Thumbnails(path, times, count, width, thumbnail, context); },
      failure, context);
}
