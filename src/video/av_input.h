#pragma once

// What both entry points of the video module share: owners of libav's objects, the opening of a
// file's first video stream, and the catching of what the work throws.

#include <functional>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>

#include "video/video_entry.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

namespace markwright::video {

// A cause for the caller; caught at the entry point, it never leaves the module.
class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct FormatCloser {
  void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};
struct CodecFreer {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFreer {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFreer {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
using FormatPointer = std::unique_ptr<AVFormatContext, FormatCloser>;
using CodecPointer = std::unique_ptr<AVCodecContext, CodecFreer>;
using PacketPointer = std::unique_ptr<AVPacket, PacketFreer>;
using FramePointer = std::unique_ptr<AVFrame, FrameFreer>;

// libav's text for an error code.
std::string AvMessage(int code);

// A file opened with its first video stream chosen and every other stream discarded.
struct VideoInput {
  FormatPointer format;
  int stream = -1;
  AVRational time_base{0, 1};
  const AVCodec* decoder = nullptr;  // null when libavcodec has none for the stream

  AVStream* Stream() const { return format->streams[stream]; }
};

// Opens the file and finds its video stream; throws Failure ("libavformat cannot read it: ...",
// "no video stream", ...). libav's own log stays quiet: the causes go into the messages. With io,
// the bytes come through it (it must outlive the result) instead of libavformat's own file
// reading; prepare, when given, sees the opened file before its streams are probed.
VideoInput OpenVideo(const char* path, AVIOContext* io = nullptr,
                     const std::function<void(AVFormatContext&)>& prepare = {});

// Runs an entry point's work so that no exception crosses into the caller: 0 when it succeeds,
// else failure gets the cause and the result is 1.
template <typename Work>
int RunForEntry(Work work, VideoTextSink failure, void* context) {
  std::string cause;
  try {
    work();
    return 0;
  } catch (const std::bad_alloc&) {
    cause = "not enough memory";
  } catch (const std::exception& error) {
    cause = error.what();
  }
  failure(context, cause.data(), cause.size());
  return 1;
}

}  // namespace markwright::video
