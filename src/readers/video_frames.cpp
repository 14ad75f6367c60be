#include "readers/video_frames.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "core/error.h"
#include "readers/mediainfo_child.h"
#include "readers/mediainfo_request.h"

namespace markwright {

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
