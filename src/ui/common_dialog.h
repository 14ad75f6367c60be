#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace markwright::ui {

// Which file dialog to show; the values are those the dialog module has always used.
enum class DialogMode { kSave = 1, kOpen = 2 };

// The Flags value that makes the save dialog ask before an existing file is replaced.
inline constexpr std::uint32_t kConfirmOverwrite = 2;

// What one dialog call receives, filled afresh from the settings: the filter as NUL-separated
// descriptions and patterns closed by a second NUL, and the name buffers holding the current
// name, then MaxFileSize + 1 NULs. The dialog writes the chosen path and bare name into file and
// file_title, each followed by a NUL.
struct FileDialogRecord {
  std::string filter;
  std::string file;
  std::string file_title;
  std::string initial_dir;
  std::string title;
  std::uint32_t flags = 0;
  std::string default_ext;
};

// The platform's open and save dialogs. Returns true when the user chose a file.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  virtual bool Run(DialogMode mode, FileDialogRecord& record) = 0;
};

// Raised by a dialog that returns without a file while CancelError is on.
class DialogCancelled : public std::runtime_error {
 public:
  DialogCancelled() : std::runtime_error("Cancel was pressed") {}
  int number() const { return 32767; }
};

// The dialog settings, shared by every window and never reset: each keeps the last value
// written, so the open dialog starts from the path the last dialog returned.
struct DialogSettings {
  bool cancel_error = false;
  std::string filter;  // "description|pattern;pattern|description|pattern..."
  std::string file_name;
  std::int32_t max_file_size = 0;  // below 1 means 260
  std::string file_title;
  std::string init_dir;
  std::string dialog_title;
  std::uint32_t flags = 0;
  std::string default_ext;
};

class CommonDialog {
 public:
  explicit CommonDialog(FileDialogs& dialogs) : dialogs_(dialogs) {}

  DialogSettings& settings() { return settings_; }
  const DialogSettings& settings() const { return settings_; }

  // On success the chosen path is in file_name and its bare name in file_title. A cancel throws
  // DialogCancelled when cancel_error is on and changes nothing otherwise.
  void ShowOpen() { ShowFileDialog(static_cast<int>(DialogMode::kOpen)); }
  void ShowSave() { ShowFileDialog(static_cast<int>(DialogMode::kSave)); }
  void ShowFileDialog(int mode);

  // The record a call with the current settings hands to the dialog.
  FileDialogRecord MakeRecord() const;

 private:
  FileDialogs& dialogs_;
  DialogSettings settings_;
};

// Every "|" replaced by a NUL, then two NULs appended.
std::string ToNulSeparated(std::string_view filter);

// The text before its first NUL; the whole text when it has none.
std::string TrimAtNul(std::string_view text);

// A NUL-separated filter as Qt's name filter list, "description (pattern pattern)". A pattern
// also matches its upper- and lower-case spelling, since the files of discs come in either; a
// description's own "(...)" is replaced by the patterns that really apply.
std::vector<std::string> QtNameFilters(std::string_view nul_separated_filter);

}  // namespace markwright::ui
