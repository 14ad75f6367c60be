#pragma once

#include <QMainWindow>
#include <QString>
#include <string>

#include "core/chapter_list.h"
#include "ui/platform_services.h"

class QComboBox;

namespace markwright::ui {

class ChapterListWidget;

// The main window: it holds the chapter list (in input timing) and the two frame rates, shows
// the chapters re-timed, and starts every other window.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(PlatformServices services, CommonDialog& common_dialog, QWidget* parent = nullptr);

  // Opens a file or, for a folder, scans it as a disc: what a drop does.
  void OpenPath(const QString& path);

  const ChapterList& chapters() const { return chapters_; }
  double input_rate() const { return input_rate_; }
  double output_rate() const { return output_rate_; }

 private:
  void BuildMenus();
  void SelectRate(QComboBox* list, double& rate);
  void RefreshChapters();
  // Shows the chapters re-timed and keeps them; leaves everything as it was when they cannot
  // be re-timed.
  bool ShowChapters(ChapterList chapters);
  void OpenFile();
  void LoadFile(const QString& path);
  void OpenDisc();
  void ScanDisc(const QString& folder);
  void SaveAs();
  void ShowCommandLineHelp();
  void ShowAbout();
  void ReportReadFailure(const QString& path, const std::exception& failure);

  PlatformServices services_;
  CommonDialog& common_dialog_;
  ChapterList chapters_;
  double input_rate_;
  double output_rate_;
  QComboBox* input_rate_list_;
  QComboBox* output_rate_list_;
  ChapterListWidget* chapter_list_;
};

}  // namespace markwright::ui
