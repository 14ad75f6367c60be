#include "writers/pending_writers.h"

#include "core/error.h"

namespace markwright {

std::string WritePending(const ChapterList&, double, std::string_view) {
  throw Error("this destination format is not implemented yet");
}

}  // namespace markwright
