// The module's frame list: every packet of the video stream read, none decoded.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "core/frame_times.h"
#include "video/av_input.h"
#include "video/video_entry.h"

namespace markwright::video {
namespace {

struct PacketTime {
  std::int64_t pts = 0;
  bool key = false;
};

// Packets carry their presentation time and the key-frame flag, so the list is exact for every
// container. A container's index (Matroska cues, MP4 sample tables) would be faster on very large
// files but lists only key frames in Matroska, where the frames between them are needed too.
std::string FrameList(const char* path) {
  const VideoInput input = OpenVideo(path);
  const PacketPointer packet(av_packet_alloc());
  if (!packet) throw Failure("not enough memory");
  std::vector<PacketTime> packets;
  std::int64_t previous = AV_NOPTS_VALUE;
  while (av_read_frame(input.format.get(), packet.get()) >= 0) {
    if (packet->stream_index == input.stream && (packet->flags & AV_PKT_FLAG_DISCARD) == 0) {
      // A packet without a presentation time (raw streams) follows its decoding time.
      std::int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
      if (pts == AV_NOPTS_VALUE && previous != AV_NOPTS_VALUE) pts = previous + packet->duration;
      if (pts != AV_NOPTS_VALUE) {
        if (packets.size() == kMaxTimestampFrames) {
          throw Failure("more than " + std::to_string(kMaxTimestampFrames) + " frames");
        }
        packets.push_back({pts, (packet->flags & AV_PKT_FLAG_KEY) != 0});
        previous = pts;
      }
    }
    av_packet_unref(packet.get());
  }
  if (packets.empty()) throw Failure("no video frames");
  std::ranges::stable_sort(packets, {}, &PacketTime::pts);
  const std::int64_t first = packets.front().pts;
  std::string text;
  text.reserve(packets.size() * 16);
  for (const PacketTime& frame : packets) {
    const double start =
        static_cast<double>(frame.pts - first) * 1000.0 * input.time_base.num / input.time_base.den;
    char line[48];
    auto written = std::to_chars(line, line + sizeof line - 3, start, std::chars_format::fixed, 6);
    *written.ptr++ = ' ';
    *written.ptr++ = frame.key ? '1' : '0';
    *written.ptr++ = '\n';
    text.append(line, written.ptr);
  }
  return text;
}

}  // namespace
}  // namespace markwright::video

extern "C" __attribute__((visibility("default"))) int markwright_video_frames(
    const char* path, markwright::VideoTextSink frames, markwright::VideoTextSink failure,
    void* context) {
  static_assert(std::is_same_v<decltype(&markwright_video_frames), markwright::VideoFramesEntry>);
  std::string cause;
  try {
    const std::string text = markwright::video::FrameList(path);
    frames(context, text.data(), text.size());
    return 0;
  } catch (const std::bad_alloc&) {
    cause = "not enough memory";
  } catch (const std::exception& error) {
    cause = error.what();
  }
  failure(context, cause.data(), cause.size());
  return 1;
}
