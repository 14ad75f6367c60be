#include "readers/read_source.h"

#include "core/error.h"
#include "readers/bluray_reader.h"
#include "readers/celltimes_reader.h"
#include "readers/dvd_reader.h"
#include "readers/ffmetadata_reader.h"
#include "readers/hddvd_reader.h"
#include "readers/matroska_xml_reader.h"
#include "readers/media_file_reader.h"
#include "readers/ogg_reader.h"
#include "readers/source_file.h"
#include "readers/webvtt_reader.h"

namespace markwright {
namespace {

template <typename Parse>
TitleChapters ReadWholeText(const std::filesystem::path& path, Parse parse) {
  return parse(ReadSourceFile(path), path.string());
}

}  // namespace

TitleChapters ReadChapterSource(const std::filesystem::path& path, InputKind kind,
                                double input_rate) {
  switch (kind) {
    case InputKind::kOggChapters:
      return ReadOggChapters(path);
    case InputKind::kBluRayPlaylist:
      return ReadBluRayPlaylist(path);
    case InputKind::kHdDvdPlaylist: {
      const HdDvdPlaylist playlist = ReadHdDvdPlaylist(path);
      return HdDvdTitleChapters(playlist, ChooseHdDvdTitle(playlist), path.string());
    }
    case InputKind::kDvdTitleSet:
      return ReadDvdTitleSet(path);
    case InputKind::kCelltimes:
      return ReadCelltimes(path, input_rate);
    case InputKind::kMatroskaXml:
      return ReadWholeText(path, ParseMatroskaChapters);
    case InputKind::kFfmetadata:
      return ReadWholeText(path, ParseFfmetadata);
    case InputKind::kWebVtt:
      return ReadWholeText(path, ParseWebVtt);
    case InputKind::kMediaFile:
      return ReadMediaFileChapters(path);
    case InputKind::kUnknown:
      break;
  }
  throw ReadError(path.string(), "", "not a chapter source of a known kind");
}

}  // namespace markwright
