#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/mediainfo_request.h"

namespace markwright {

// libmediainfo runs only in a child process: the markwright executable started afresh in a
// hidden mode. The library can loop without end on a damaged file, and only a separate process
// can be stopped; a fresh executable (not a copy of a possibly multi-threaded parent) starts
// with no lock held, and its locale is its own. Matroska and WebM files are read there too, with
// libmatroska (matroska_file.h), whose damaged input is as hostile, videos with libavformat
// (video_module.h) and audio files' tags with TagLib (audio_module.h), which a crafted file can
// make recurse until its stack overflows (the tags to write go into a copy of the file there
// too). The request and the answer travel as mediainfo_wire.h describes; the readers interpret
// the answer.

// The first argument of the hidden mode. No user option starts with "--markwright-internal".
inline constexpr std::string_view kMediaInfoChildArgument = "--markwright-internal-mediainfo-child";

// The executable that has the hidden mode: by default the running program (/proc/self/exe).
// Programs that are not markwright but read title sets (the tests) name the built executable.
void SetMediaInfoChildProgram(const std::filesystem::path& program);

// Asks a child to answer the request about the file. The child that has not answered and ended
// within the deadline is killed; it is always reaped. Throws ReadError naming the file: with the
// cause of the child's own ReadError, "libmediainfo did not finish reading <subject> ..." after
// the deadline, or "libmediainfo failed on <subject> ..." when the child ends without a whole
// answer or by a signal; "libavformat" in place of "libmediainfo" for a video_frames request,
// "TagLib" for an audio one.
// Each part the child sends before its answer (mediainfo_wire.h) goes to on_part as it arrives;
// what on_part throws ends the child and is thrown on.
using ChildPartHandler = std::function<void(const std::vector<std::string>& texts)>;
MediaInfoAnswer AskMediaInfoChild(const MediaInfoRequest& request,
                                  const std::filesystem::path& path,
                                  std::chrono::milliseconds deadline,
                                  std::string_view subject = "the title set",
                                  const ChildPartHandler& on_part = {});

// In the child: sends a part of the answer to the parent at once.
void SendAnswerPart(const std::vector<std::string>& texts);

// The hidden mode, called by main() when argv[1] is kMediaInfoChildArgument (argv: the program,
// that argument, the parent's process id, the request, the file): writes the answer on
// descriptor 3 (kReplyDescriptor) and returns the exit status. The answer comes from
// libmediainfo; a test's stand-in child gives its own.
inline constexpr int kReplyDescriptor = 3;
using MediaInfoAnswerer = MediaInfoAnswer (*)(const MediaInfoRequest& request,
                                              const std::filesystem::path& path);
int RunMediaInfoChild(int argc, char** argv, MediaInfoAnswerer answerer = AnswerMediaInfoRequest);

}  // namespace markwright
