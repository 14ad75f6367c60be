#pragma once

#include <filesystem>
#include <functional>
#include <string_view>

namespace markwright {

// Makes the file hold exactly the text's bytes (no byte-order mark, nothing of an older, longer
// content). The text goes to a temporary file in the same folder that is then renamed over the
// target, so a failed write leaves an existing file as it was; a link is followed to the file it
// names. An existing target that is not a regular file (a device, a pipe, a socket) is written
// in place instead. A path naming one of the process's own descriptors (/dev/stdout,
// /dev/stderr, /dev/fd/N, /proc/self/fd/N, or a link to one) is written through that
// descriptor, whatever it is open on, at its offset and appending if it was opened to append;
// the file behind it is neither replaced nor cut. Throws WriteError naming the file and the
// cause.
void WriteTextFile(const std::filesystem::path& path, std::string_view text);

// Changes an existing regular file (a link is followed) through a copy: the whole file is copied
// to a temporary file in its folder with its mode, edit changes the copy, and the copy is renamed
// over the file. When anything fails (edit included: its exception passes on) or the process is
// interrupted, the copy goes and the file stays as it was. Throws WriteError naming the file.
void EditFileThroughCopy(const std::filesystem::path& path,
                         const std::function<void(const std::filesystem::path& copy)>& edit);

// Installs the process's handlers for SIGINT, SIGTERM and SIGHUP: they remove the temporary file
// of a write in progress and then end the process as the signal would. SIGXFSZ is ignored, so a
// write beyond the file size limit fails with a message instead of killing the process.
void RemoveTemporaryFileOnInterrupt();

}  // namespace markwright
