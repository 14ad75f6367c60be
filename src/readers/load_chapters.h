#pragma once

#include <filesystem>

#include "core/chapter_list.h"
#include "readers/disc_scan.h"

namespace markwright {

// A loaded source as both modes keep it: the chapters as read, in input timing, and re-timed to
// the output rate, which is what the writers take.
struct LoadedChapters {
  TitleChapters chapters;
  TitleChapters retimed;
};

// The one road from a file to its chapters, for the command line and the window alike: detects
// the file's kind, reads it (a Celltimes list counts its frames at input_rate; of an HD DVD
// playlist the first title with the most chapters) and re-times it. Throws UnknownFormat() for a
// file of no known kind and CannotOpenInput() for a FIFO, device or socket, which it does not
// open; any other failure is an Error whose message begins with the path.
LoadedChapters LoadChapters(const std::filesystem::path& path, double input_rate,
                            double output_rate);

// The same with only the re-timed chapters kept (chapters left empty), as the command line needs
// them: a large list is re-timed in place instead of copied.
LoadedChapters LoadRetimedChapters(const std::filesystem::path& path, double input_rate,
                                   double output_rate);

// The same for the stream chosen from a disc scan; failures begin with the stream's path.
LoadedChapters LoadChapters(const DiscScan& scan, const DiscStream& stream, double input_rate,
                            double output_rate);

// Re-times chapters that were read from the file at path, as a rate change does; a time that
// cannot be re-timed is put down to that file.
TitleChapters RetimeChaptersOf(const std::filesystem::path& path, const TitleChapters& chapters,
                               double input_rate, double output_rate);

}  // namespace markwright
