#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace markwright {

// libmediainfo runs only in a child process: the markwright executable started afresh in a
// hidden mode. The library can loop without end on a damaged title set, and only a separate
// process can be stopped; a fresh executable (not a copy of a possibly multi-threaded parent)
// starts with no lock held, and its locale is its own.

// The first argument of the hidden mode. No user option starts with "--markwright-internal".
inline constexpr std::string_view kMediaInfoChildArgument = "--markwright-internal-mediainfo-child";

// The executable that has the hidden mode: by default the running program (/proc/self/exe).
// Programs that are not markwright but read title sets (the tests) name the built executable.
void SetMediaInfoChildProgram(const std::filesystem::path& program);

// Asks a child to answer the request about the file and returns the texts of its answer. The
// child that has not answered and ended within the deadline is killed; it is always reaped.
// Throws ReadError naming the file: with the cause of the child's own ReadError, "libmediainfo
// did not finish reading <subject> ..." after the deadline, or "libmediainfo failed on
// <subject> ..." when the child ends without a whole answer or by a signal.
std::vector<std::string> AskMediaInfoChild(std::string_view request,
                                           const std::filesystem::path& path,
                                           std::chrono::milliseconds deadline,
                                           std::string_view subject = "the title set");

// The hidden mode, called by main() when argv[1] is kMediaInfoChildArgument: answers one
// request (a DVD reader's or the media file reader's) on descriptor 3 and returns the exit
// status.
int RunMediaInfoChild(int argc, char** argv);

}  // namespace markwright
