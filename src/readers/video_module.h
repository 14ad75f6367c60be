#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "video/video_entry.h"

namespace markwright {

// The reading child's way to the video module (video/video_entry.h), loaded on first use from
// beside the executable (a build tree) or from the executable's module folder once installed.
// Each throws ReadError naming the file, with the module's cause, or when the module cannot be
// found or loaded.

// The frame list of the file's first video stream (VideoFramesEntry).
std::string ReadVideoFrameListWithModule(const std::filesystem::path& path);

// The thumbnails at the times (VideoThumbnailsEntry), each handed to thumbnail as it is decoded.
void ReadThumbnailsWithModule(const std::filesystem::path& path,
                              const std::vector<std::int64_t>& times, int width,
                              const std::function<void(const VideoThumbnail&)>& thumbnail);

}  // namespace markwright
