#include "cli/audio_destination.h"

#include <string>
#include <vector>

#include "core/error.h"
#include "readers/audio_module.h"
#include "readers/input_kind.h"
#include "readers/source_file.h"
#include "writers/audio_tags_writer.h"
#include "writers/text_file.h"

namespace markwright {

void WriteChaptersIntoAudioFile(const std::filesystem::path& path, InPlaceTags tags,
                                const TitleChapters& retimed_chapters) {
  const bool id3 = tags == InPlaceTags::kId3;
  const std::string wanted = id3 ? "an MP3 file" : "an Ogg Vorbis, Opus or FLAC file";
  const std::string what = id3 ? "ID3 chapters" : "Vorbis comment chapters";
  const auto refuse = [&](const std::string& cause) {
    throw WriteError("cannot write " + path.string() + ": " + cause + "; " + what +
                     " go into an existing " + wanted.substr(wanted.find(' ') + 1));
  };
  std::error_code error;
  if (!std::filesystem::exists(path, error)) refuse("there is no such file");
  if (!std::filesystem::is_regular_file(path, error)) refuse("it is not a regular file");
  std::string head;
  try {
    head = ReadSourceHead(path, kDetectionHeadSize);
  } catch (const ReadError& failure) {
    throw WriteError("cannot write " + path.string() + ": " + failure.cause());
  }
  const int container = AudioContainerOfHead(head);
  if ((container == kAudioMp3) != id3 || container == 0) refuse("it is not " + wanted);
  // A new tag written over one cut short would take the place of audio that is not there.
  if (Id3TagCutAt(path, head)) {
    throw WriteError("cannot write " + path.string() + ": the file ends inside its ID3 tag");
  }
  const std::vector<AudioTag> entries =
      id3 ? Id3ChapterTags(retimed_chapters) : VorbisChapterTags(retimed_chapters);
  EditFileThroughCopy(path, [&](const std::filesystem::path& copy) {
    try {
      WriteAudioTags(copy, container, entries);
    } catch (const WriteError&) {
      throw;
    } catch (const Error& failure) {
      throw WriteError("cannot write " + path.string() + ": " + failure.what());
    }
  });
}

}  // namespace markwright
