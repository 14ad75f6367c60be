#include "readers/timestamp_file_reader.h"

#include "readers/source_file.h"

namespace markwright {

FrameTimes ReadTimestampFile(const std::filesystem::path& path) {
  return ParseFrameTimes(ReadSourceFile(path), path.string());
}

}  // namespace markwright
