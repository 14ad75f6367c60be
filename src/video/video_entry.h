#pragma once

// The contract between the reading child and the video module (libmarkwright_video.so), which
// holds everything that needs libavformat, libavcodec and libswscale. Only the child loads it,
// with dlopen, so that a run of the executable that reads no video loads none of those
// libraries. Plain C types across the boundary: the module has its own copy of the C++ runtime
// state it uses, and no exception crosses it.

#include <cstddef>
#include <cstdint>

namespace markwright {

// The module's file name, and the exported functions the child looks up in it.
inline constexpr const char* kVideoModuleFileName = "libmarkwright_video.so";
inline constexpr const char* kVideoFramesEntryName = "markwright_video_frames";
inline constexpr const char* kVideoThumbnailsEntryName = "markwright_video_thumbnails";

// Text handed back by the module (the frame list, or the cause of a failure): valid during the
// call only.
using VideoTextSink = void (*)(void* context, const char* bytes, std::size_t size);

// One decoded picture: request_index is its position in the list of times asked for; start is
// the shown frame's start in milliseconds from the first frame's; exact is 0 for a quick picture
// (the key frame before the time) that the exact one follows, else 1; rgb holds height rows of
// width × 3 bytes (red, green, blue), valid during the call only.
struct VideoThumbnail {
  std::size_t request_index;
  double start;
  int exact;
  int width;
  int height;
  const unsigned char* rgb;
};
using VideoThumbnailSink = void (*)(void* context, const VideoThumbnail* thumbnail);

// Lists the frames of the file's first video stream: every packet is read (in MP4 and QuickTime
// files only from the sample tables, the frames' bytes unread), none decoded. On
// success frames receives the whole list at once, one line per frame in presentation order,
// "<start in ms, first frame at 0> <1 for a key frame, else 0>", and 0 is returned. Otherwise
// failure receives the cause and the result is not 0.
using VideoFramesEntry = int (*)(const char* path, VideoTextSink frames, VideoTextSink failure,
                                 void* context);

// Decodes the frame shown at each of count times (milliseconds from the first frame, none
// negative), scaled to width pixels with its aspect kept, and hands each to thumbnail as soon
// as it is ready: first a quick picture for every time, in order of time (the key frame before
// it, exact when that is the frame nearest), then the exact picture for each time whose quick
// one was not, in order of time. The frame nearest a time is the one whose start is nearest,
// of two as near the later; past the last frame, the last. Returns 0, or gives failure the cause
// and returns another value.
using VideoThumbnailsEntry = int (*)(const char* path, const std::int64_t* times, std::size_t count,
                                     int width, VideoThumbnailSink thumbnail, VideoTextSink failure,
                                     void* context);

}  // namespace markwright
