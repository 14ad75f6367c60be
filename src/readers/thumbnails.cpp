#include "readers/thumbnails.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "core/decimal.h"
#include "core/error.h"
#include "readers/mediainfo_child.h"

namespace markwright {
namespace {

constexpr std::string_view kThumbnailTag = "thumbnail";
// The tallest picture for its width (a very narrow frame); more is a damaged answer.
constexpr int kTallest = 4;

// Thrown through the reading of the child's answer when the caller wants no more.
struct Stopped {};

}  // namespace

std::vector<std::string> ThumbnailTexts(const VideoThumbnail& thumbnail) {
  char start[48];
  const auto written =
      std::to_chars(start, start + sizeof start, thumbnail.start, std::chars_format::fixed, 6);
  const std::size_t size =
      static_cast<std::size_t>(thumbnail.width) * 3 * static_cast<std::size_t>(thumbnail.height);
  return {std::string(kThumbnailTag),
          std::to_string(thumbnail.request_index),
          std::string(start, written.ptr),
          thumbnail.exact != 0 ? "1" : "0",
          std::to_string(thumbnail.width),
          std::to_string(thumbnail.height),
          std::string(reinterpret_cast<const char*>(thumbnail.rgb), size)};
}

std::optional<Thumbnail> ThumbnailFromTexts(const std::vector<std::string>& texts, int width,
                                            std::size_t count) {
  if (texts.size() != 7 || texts[0] != kThumbnailTag || (texts[3] != "0" && texts[3] != "1")) {
    return std::nullopt;
  }
  const auto index = ParseDigits(texts[1]);
  const auto shown_width = ParseDigits(texts[4]);
  const auto height = ParseDigits(texts[5]);
  Thumbnail thumbnail;
  const auto parsed =
      std::from_chars(texts[2].data(), texts[2].data() + texts[2].size(), thumbnail.start);
  if (!index || static_cast<std::uint64_t>(*index) >= count || shown_width != width || !height ||
      *height < 1 || *height > std::int64_t{kTallest} * width || parsed.ec != std::errc() ||
      parsed.ptr != texts[2].data() + texts[2].size() || !std::isfinite(thumbnail.start) ||
      texts[6].size() != static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(*height)) {
    return std::nullopt;
  }
  thumbnail.index = static_cast<std::size_t>(*index);
  thumbnail.exact = texts[3] == "1";
  thumbnail.width = width;
  thumbnail.height = static_cast<int>(*height);
  thumbnail.rgb.assign(texts[6].begin(), texts[6].end());
  return thumbnail;
}

std::optional<VideoFrames> ReadThumbnails(const std::filesystem::path& path,
                                          const std::vector<std::int64_t>& times, int width,
                                          const ThumbnailHandler& on_thumbnail,
                                          std::chrono::milliseconds deadline) {
  if (times.size() > kMostThumbnailsAtOnce) {
    throw Error("at most " + std::to_string(kMostThumbnailsAtOnce) + " thumbnails at once");
  }
  for (const std::int64_t time : times) {
    if (time < 0 || time > kLatestThumbnailTime) {
      throw Error("no thumbnail at " + std::to_string(time) + " ms");
    }
  }
  if (width < 1 || width > 4096) throw Error("a thumbnail is 1 to 4096 pixels wide");
  MediaInfoRequest request;
  request.video_frames = true;
  request.thumbnail_times = times;
  request.thumbnail_width = width;
  const auto on_part = [&](const std::vector<std::string>& texts) {
    std::optional<Thumbnail> thumbnail = ThumbnailFromTexts(texts, width, times.size());
    if (!thumbnail) {
      throw ReadError(path.string(), "", "libavformat failed on the video (is it damaged?)");
    }
    if (!on_thumbnail(std::move(*thumbnail))) throw Stopped();
  };
  try {
    const MediaInfoAnswer answer = AskMediaInfoChild(request, path, deadline, "the video", on_part);
    return ParseVideoFrameList(answer.frames, path.string());
  } catch (const Stopped&) {
    return std::nullopt;
  }
}

}  // namespace markwright
