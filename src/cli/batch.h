#pragma once

#include <iosfwd>
#include <vector>

#include "cli/convert.h"
#include "cli/options.h"
#include "cli/progress_line.h"
#include "cli/streams.h"
#include "core/chapter_edit.h"
#include "core/error.h"

namespace markwright {

// --all: every stream through ConvertSource into the folder -o names (made when missing), each
// on its own: "<source>: wrote <file>" on output for each file written, each failure reported on
// errors and the run ends with kFailed when any stream failed. Throws Refusal without -o or a
// usable -f, WriteError when the folder cannot be made.
ExitStatus ConvertAll(const std::vector<Stream>& streams, const ConversionOptions& options,
                      const std::vector<ChapterEditRequest>& edits, std::ostream& output,
                      std::ostream& errors, ProgressLine& progress);

}  // namespace markwright
