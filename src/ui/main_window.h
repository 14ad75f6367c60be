#pragma once

#include <QMainWindow>
#include <QString>
#include <cstddef>
#include <exception>
#include <filesystem>
#include <optional>
#include <vector>

#include "cli/long_options.h"
#include "readers/input_kind.h"
#include "readers/load_chapters.h"
#include "readers/matroska_xml_reader.h"
#include "ui/platform_services.h"

class QComboBox;

namespace markwright::ui {

class ChapterListWidget;

// The main window: it holds the chapters (as read, and re-timed for the two frame rates, then
// shifted and tidied by the Edit menu's edits), shows the re-timed ones, and starts every other
// window, the format window with those same chapters.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(PlatformServices services, CommonDialog& common_dialog, QWidget* parent = nullptr);

  // Opens a file or, for a folder, scans it as a disc: what a drop does.
  void OpenPath(const QString& path);

  const TitleChapters& chapters() const { return loaded_.chapters; }
  const TitleChapters& retimed() const { return loaded_.retimed; }
  double input_rate() const { return input_rate_; }
  double output_rate() const { return output_rate_; }

 private:
  void BuildMenus();
  void SelectRate(QComboBox* list, double& rate);
  // Keeps the chapters loaded from the source and lists their re-timed times.
  void ShowChapters(std::filesystem::path source, LoadedChapters loaded);
  // Re-times the chapters as read and applies the edits made since they were loaded, in order,
  // at the output rate: the command line's --shift and --min-length after the same rates.
  void Retime();
  void ListRetimed();
  void EditChapters(ChapterEditRequest::Kind kind);
  void OpenFile();
  void LoadFile(const QString& path);
  bool ChooseEdition(const std::vector<MatroskaXmlEdition>& editions, std::size_t default_edition,
                     std::optional<std::size_t>& chosen);
  void LoadEdition(const std::filesystem::path& file, InputKind kind);
  void OpenDisc();
  void ScanDisc(const QString& folder);
  void SaveAs();
  void ShowCommandLineHelp();
  void ShowAbout();
  void ReportFailure(const std::exception& failure);

  PlatformServices services_;
  CommonDialog& common_dialog_;
  std::filesystem::path source_;  // named when the chapters cannot take a new rate
  LoadedChapters loaded_;
  std::vector<ChapterEditRequest> edits_;  // of the chapters loaded; a new load starts without
  double input_rate_;
  double output_rate_;
  QComboBox* input_rate_list_;
  QComboBox* output_rate_list_;
  ChapterListWidget* chapter_list_;
};

}  // namespace markwright::ui
