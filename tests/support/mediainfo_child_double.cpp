// A stand-in for markwright's reading child, for the tests of the parent's side: it answers like
// the real child unless MARKWRIGHT_CHILD_TEST names a way to misbehave (the program's own child
// has no such switch). Started as "<this program> parent <title set>", it reads the title set
// with itself as the child: a parent to kill while its child hangs.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "core/error.h"
#include "core/timestamp.h"
#include "readers/dvd_reader.h"
#include "readers/mediainfo_child.h"
#include "readers/mediainfo_wire.h"

namespace markwright {
namespace {

// An answer of the request's shape whose chapter fields are named by these times.
MediaInfoAnswer Answer(const MediaInfoRequest& request, std::vector<std::string> times) {
  MediaInfoAnswer answer;
  answer.general.resize(request.general.size());
  if (request.general.size() == 2) answer.general[0] = "MPEG-4";
  answer.video.resize(request.video.size());
  answer.chapters_begin = "0";
  answer.chapters_end = std::to_string(times.size());
  if (request.fields == MediaInfoRequest::Fields::kNamesAndValues) answer.field_values = times;
  if (request.fields != MediaInfoRequest::Fields::kNone) answer.field_names = std::move(times);
  return answer;
}

// Answers as MARKWRIGHT_CHILD_TEST says, or as the program's own child does when it is unset.
MediaInfoAnswer Misbehave(const MediaInfoRequest& request, const std::filesystem::path& path) {
  const char* set = std::getenv("MARKWRIGHT_CHILD_TEST");
  const std::string_view how = set == nullptr ? "" : set;
  if (how == "hang") {
    for (;;) pause();
  }
  if (how == "refuse") throw ReadError(path.string(), "", "no chapters here, says the child");
  if (how == "crash") {
    // A whole answer first: the parent must not take it from a child that did not end well.
    const std::string reply = AnswerReply(AnswerTexts(Answer(request, {"00:00:00.000"})));
    if (write(kReplyDescriptor, reply.data(), reply.size()) >= 0) kill(getpid(), SIGKILL);
  }
  std::vector<std::string> times;
  if (how == "huge") {
    for (std::int64_t i = 0; i < 300'000; ++i) times.push_back(FormatTimestamp(i));
  }
  if (how == "descriptors") {
    for (int descriptor = 0; descriptor < 1024; ++descriptor) {
      if (fcntl(descriptor, F_GETFD) != -1) times.push_back(FormatTimestamp(descriptor));
    }
  }
  return how.empty() ? AnswerMediaInfoRequest(request, path) : Answer(request, std::move(times));
}

}  // namespace
}  // namespace markwright

int main(int argc, char** argv) {
  using namespace markwright;
  if (argc == 3 && argv[1] == std::string_view("parent")) {
    SetMediaInfoChildProgram("/proc/self/exe");
    try {
      ReadDvdTitleSet(argv[2]);
    } catch (const Error&) {
      return 1;
    }
    return 0;
  }
  return RunMediaInfoChild(argc, argv, Misbehave);
}
