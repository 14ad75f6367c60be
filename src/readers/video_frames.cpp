#include "readers/video_frames.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libavutil/log.h>
}

#include "core/error.h"
#include "readers/mediainfo_child.h"
#include "readers/mediainfo_request.h"

namespace markwright {
namespace {

struct FormatContextCloser {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

std::string AvMessage(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

struct PacketTime {
  std::int64_t pts = 0;
  bool key = false;
};

}  // namespace

std::string ReadVideoFrameList(const std::filesystem::path& path) {
  const std::string name = path.string();
  av_log_set_level(AV_LOG_QUIET);
  AVFormatContext* opened = nullptr;
  if (const int code = avformat_open_input(&opened, name.c_str(), nullptr, nullptr); code < 0) {
    throw ReadError(name, "", "libavformat cannot read it: " + AvMessage(code));
  }
  const std::unique_ptr<AVFormatContext, FormatContextCloser> context(opened);
  if (const int code = avformat_find_stream_info(context.get(), nullptr); code < 0) {
    throw ReadError(name, "", "libavformat finds no streams: " + AvMessage(code));
  }
  const int video = av_find_best_stream(context.get(), AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  if (video < 0) throw ReadError(name, "", "no video stream");
  for (unsigned index = 0; index < context->nb_streams; ++index) {
    if (static_cast<int>(index) != video) context->streams[index]->discard = AVDISCARD_ALL;
  }
  const AVRational time_base = context->streams[video]->time_base;
  if (time_base.num <= 0 || time_base.den <= 0) throw ReadError(name, "", "no time base");
  const std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
  std::vector<PacketTime> packets;
  std::int64_t previous = AV_NOPTS_VALUE;
  while (av_read_frame(context.get(), packet.get()) >= 0) {
    if (packet->stream_index == video && (packet->flags & AV_PKT_FLAG_DISCARD) == 0) {
      // A packet without a presentation time (raw streams) follows its decoding time.
      std::int64_t pts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
      if (pts == AV_NOPTS_VALUE && previous != AV_NOPTS_VALUE) pts = previous + packet->duration;
      if (pts != AV_NOPTS_VALUE) {
        if (packets.size() == kMaxTimestampFrames) {
          throw ReadError(name, "", "more than " + std::to_string(kMaxTimestampFrames) + " frames");
        }
        packets.push_back({pts, (packet->flags & AV_PKT_FLAG_KEY) != 0});
        previous = pts;
      }
    }
    av_packet_unref(packet.get());
  }
  if (packets.empty()) throw ReadError(name, "", "no video frames");
  std::ranges::stable_sort(packets, {}, &PacketTime::pts);
  const std::int64_t first = packets.front().pts;
  std::string text;
  text.reserve(packets.size() * 16);
  for (const PacketTime& frame : packets) {
    const double start =
        static_cast<double>(frame.pts - first) * 1000.0 * time_base.num / time_base.den;
    char line[48];
    auto written = std::to_chars(line, line + sizeof line - 3, start, std::chars_format::fixed, 6);
    *written.ptr++ = ' ';
    *written.ptr++ = frame.key ? '1' : '0';
    *written.ptr++ = '\n';
    text.append(line, written.ptr);
  }
  return text;
}

VideoFrames ParseVideoFrameList(std::string_view text, std::string_view name) {
  auto times = std::make_shared<FrameTimes>();
  times->file = std::string(name);
  VideoFrames frames;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    double start = 0;
    const auto parsed = std::from_chars(line.data(), line.data() + line.size(), start);
    const std::string_view flag(parsed.ptr,
                                static_cast<std::size_t>(line.data() + line.size() - parsed.ptr));
    if (parsed.ec != std::errc() || !std::isfinite(start) || start < 0 ||
        (flag != " 0" && flag != " 1") ||
        (!times->starts.empty() && start < times->starts.back())) {
      throw ReadError(std::string(name), "", "the video's frame list is damaged");
    }
    if (times->starts.size() == kMaxTimestampFrames) {
      throw ReadError(std::string(name), "",
                      "more than " + std::to_string(kMaxTimestampFrames) + " frames");
    }
    if (flag == " 1") frames.key_frames.push_back(static_cast<std::int64_t>(times->starts.size()));
    times->starts.push_back(start);
  }
  if (times->starts.empty()) throw ReadError(std::string(name), "", "no video frames");
  times->constant_rate = FrameGridRate(times->starts);
  frames.times = std::move(times);
  return frames;
}

VideoFrames ReadVideoFrames(const std::filesystem::path& path, std::chrono::milliseconds deadline) {
  MediaInfoRequest request;
  request.video_frames = true;
  const MediaInfoAnswer answer = AskMediaInfoChild(request, path, deadline, "the video");
  return ParseVideoFrameList(answer.frames, path.string());
}

}  // namespace markwright
