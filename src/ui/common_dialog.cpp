#include "ui/common_dialog.h"

#include <algorithm>
#include <cctype>

namespace markwright::ui {
namespace {

constexpr std::int32_t kDefaultMaxFileSize = 260;

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (;;) {
    const std::size_t end = text.find(separator);
    pieces.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return pieces;
    text.remove_prefix(end + 1);
  }
}

std::string Transformed(std::string_view text, int (*convert)(int)) {
  std::string result(text);
  for (char& c : result) c = static_cast<char>(convert(static_cast<unsigned char>(c)));
  return result;
}

// "Text (*.txt)" loses its "(*.txt)": the patterns that follow replace it.
std::string_view WithoutPatternGroup(std::string_view description) {
  if (description.ends_with(')')) {
    const std::size_t open = description.rfind('(');
    if (open != std::string_view::npos) description = description.substr(0, open);
  }
  while (description.ends_with(' ')) description.remove_suffix(1);
  return description;
}

}  // namespace

void CommonDialog::ShowFileDialog(int mode) {
  if (settings_.max_file_size < 1) settings_.max_file_size = kDefaultMaxFileSize;
  FileDialogRecord record = MakeRecord();
  bool chosen = false;
  if (mode == static_cast<int>(DialogMode::kSave) || mode == static_cast<int>(DialogMode::kOpen)) {
    chosen = dialogs_.Run(static_cast<DialogMode>(mode), record);
  }
  if (!chosen) {
    if (settings_.cancel_error) throw DialogCancelled();
    return;
  }
  settings_.file_name = TrimAtNul(record.file);
  settings_.file_title = TrimAtNul(record.file_title);
}

FileDialogRecord CommonDialog::MakeRecord() const {
  const std::int32_t size =
      settings_.max_file_size < 1 ? kDefaultMaxFileSize : settings_.max_file_size;
  const std::size_t buffer_padding = static_cast<std::size_t>(size) + 1;
  FileDialogRecord record;
  record.filter = ToNulSeparated(settings_.filter);
  record.file = settings_.file_name + std::string(buffer_padding, '\0');
  record.file_title = settings_.file_title + std::string(buffer_padding, '\0');
  record.initial_dir = settings_.init_dir;
  record.title = settings_.dialog_title;
  record.flags = settings_.flags;
  record.default_ext = settings_.default_ext;
  return record;
}

std::string ToNulSeparated(std::string_view filter) {
  std::string result(filter);
  std::ranges::replace(result, '|', '\0');
  result.append(2, '\0');
  return result;
}

std::string TrimAtNul(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

std::vector<std::string> QtNameFilters(std::string_view nul_separated_filter) {
  const std::size_t end = nul_separated_filter.find(std::string_view("\0\0", 2));
  const std::vector<std::string_view> pieces = SplitAt(nul_separated_filter.substr(0, end), '\0');
  std::vector<std::string> filters;
  for (std::size_t i = 0; i + 1 < pieces.size(); i += 2) {
    std::vector<std::string> patterns;
    for (const std::string_view pattern : SplitAt(pieces[i + 1], ';')) {
      for (std::string spelling : {std::string(pattern), Transformed(pattern, ::toupper),
                                   Transformed(pattern, ::tolower)}) {
        if (!spelling.empty() && std::ranges::find(patterns, spelling) == patterns.end()) {
          patterns.push_back(std::move(spelling));
        }
      }
    }
    std::string filter(WithoutPatternGroup(pieces[i]));
    filter += " (";
    for (std::size_t p = 0; p < patterns.size(); ++p) filter += (p != 0 ? " " : "") + patterns[p];
    filter += ")";
    filters.push_back(std::move(filter));
  }
  return filters;
}

}  // namespace markwright::ui
