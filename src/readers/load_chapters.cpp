#include "readers/load_chapters.h"

#include <exception>
#include <new>
#include <utility>

#include "core/error.h"
#include "readers/input_kind.h"
#include "readers/read_source.h"

namespace markwright {
namespace {

// Runs one step of a load. A reader's errors already name the file; any other failure (a time
// that leaves the range when re-timed, a library's own exception) gets the path put in front,
// so the user always learns which file it was.
template <typename Step>
auto NamingFile(const std::filesystem::path& path, Step step) {
  try {
    return step();
  } catch (const Refusal&) {
    throw;
  } catch (const ReadError&) {
    throw;
  } catch (const std::bad_alloc&) {
    throw ReadError(path.string(), "", "not enough memory");
  } catch (const std::exception& failure) {
    throw ReadError(path.string(), "", failure.what());
  }
}

template <typename Read>
LoadedChapters ReadAndRetime(const std::filesystem::path& path, Read read, double input_rate,
                             double output_rate) {
  LoadedChapters loaded;
  loaded.chapters = NamingFile(path, std::move(read));
  loaded.retimed = RetimeChaptersOf(path, loaded.chapters, input_rate, output_rate);
  return loaded;
}

// A FIFO, a device or a socket is refused as the command line refuses it, before it is opened:
// opening a FIFO waits for a writer that may never come. A folder or a missing file is left to
// the reader, whose message names it.
void RefuseSpecialFile(const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  const fs::file_type type = fs::status(path, error).type();
  if (type != fs::file_type::regular && type != fs::file_type::directory &&
      type != fs::file_type::not_found && type != fs::file_type::none) {
    throw CannotOpenInput();
  }
}

}  // namespace

LoadedChapters LoadChapters(const std::filesystem::path& path, double input_rate,
                            double output_rate) {
  RefuseSpecialFile(path);
  const InputKind kind = NamingFile(path, [&] { return DetectInputKind(path); });
  if (kind == InputKind::kUnknown) throw UnknownFormat();
  return ReadAndRetime(
      path, [&] { return ReadChapterSource(path, kind, input_rate); }, input_rate, output_rate);
}

LoadedChapters LoadRetimedChapters(const std::filesystem::path& path, double input_rate,
                                   double output_rate) {
  RefuseSpecialFile(path);
  const InputKind kind = NamingFile(path, [&] { return DetectInputKind(path); });
  if (kind == InputKind::kUnknown) throw UnknownFormat();
  LoadedChapters loaded;
  loaded.retimed = NamingFile(path, [&] { return ReadChapterSource(path, kind, input_rate); });
  NamingFile(path, [&] { RetimeChaptersInPlace(loaded.retimed, input_rate, output_rate); });
  return loaded;
}

LoadedChapters LoadChapters(const DiscScan& scan, const DiscStream& stream, double input_rate,
                            double output_rate) {
  const std::filesystem::path path = scan.layout.stream_folder / stream.file_name;
  return ReadAndRetime(
      path, [&] { return LoadDiscStream(scan, stream); }, input_rate, output_rate);
}

TitleChapters RetimeChaptersOf(const std::filesystem::path& path, const TitleChapters& chapters,
                               double input_rate, double output_rate) {
  return NamingFile(path, [&] { return RetimeChapters(chapters, input_rate, output_rate); });
}

}  // namespace markwright
