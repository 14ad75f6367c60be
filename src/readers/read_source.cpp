#include "readers/read_source.h"

#include <optional>
#include <string>

#include "core/error.h"
#include "readers/source_file.h"
#include "readers/source_kinds.h"

namespace markwright {

// The one place a chapter source's file is read: whole, line by line or not at all (the reading
// child opens DVD title sets and media files), as the kind's row says.
TitleChapters ReadChapterSource(const std::filesystem::path& path, InputKind kind,
                                double input_rate) {
  const SourceKind* row = FindSourceKind(kind);
  if (row == nullptr) throw ReadError(path.string(), "", "not a chapter source of a known kind");
  SourceRequest request{path, {}, nullptr, input_rate};
  std::string bytes;
  std::optional<SourceLineReader> lines;
  switch (row->input) {
    case SourceInput::kBytes:
      bytes = ReadSourceFile(path);
      request.bytes = bytes;
      break;
    case SourceInput::kLines:
      request.lines = &lines.emplace(path);
      break;
    case SourceInput::kPath:
      break;
  }
  return row->parse(request);
}

}  // namespace markwright
