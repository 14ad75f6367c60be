#include "video/av_input.h"

extern "C" {
#include <libavutil/log.h>
}

namespace markwright::video {

std::string AvMessage(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return text;
}

VideoInput OpenVideo(const char* path, AVIOContext* io,
                     const std::function<void(AVFormatContext&)>& prepare) {
  av_log_set_level(AV_LOG_QUIET);
  AVFormatContext* opened = nullptr;
  if (io != nullptr) {
    opened = avformat_alloc_context();
    if (opened == nullptr) throw Failure("not enough memory");
    opened->pb = io;
    opened->flags |= AVFMT_FLAG_CUSTOM_IO;
  }
  // On failure libavformat frees the context it was given.
  if (const int code = avformat_open_input(&opened, path, nullptr, nullptr); code < 0) {
    throw Failure("libavformat cannot read it: " + AvMessage(code));
  }
  VideoInput input;
  input.format.reset(opened);
  if (prepare) prepare(*opened);
  if (const int code = avformat_find_stream_info(opened, nullptr); code < 0) {
    throw Failure("libavformat finds no streams: " + AvMessage(code));
  }
  input.stream = av_find_best_stream(opened, AVMEDIA_TYPE_VIDEO, -1, -1, &input.decoder, 0);
  if (input.stream == AVERROR_DECODER_NOT_FOUND) {
    input.stream = av_find_best_stream(opened, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  }
  if (input.stream < 0) throw Failure("no video stream");
  for (unsigned index = 0; index < opened->nb_streams; ++index) {
    if (static_cast<int>(index) != input.stream) opened->streams[index]->discard = AVDISCARD_ALL;
  }
  input.time_base = input.Stream()->time_base;
  if (input.time_base.num <= 0 || input.time_base.den <= 0) throw Failure("no time base");
  return input;
}

}  // namespace markwright::video
