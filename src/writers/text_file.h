#pragma once

#include <filesystem>
#include <string_view>

namespace markwright {

// Makes the file hold exactly the text's bytes (no byte-order mark, nothing of an older, longer
// content). The text goes to a temporary file in the same folder that is then renamed over the
// target, so a failed write leaves an existing file as it was. Throws WriteError naming the file
// and the cause.
void WriteTextFile(const std::filesystem::path& path, std::string_view text);

}  // namespace markwright
