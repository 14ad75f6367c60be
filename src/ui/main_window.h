#pragma once

#include <QMainWindow>
#include <QString>
#include <cstddef>
#include <exception>
#include <filesystem>
#include <optional>
#include <vector>

#include "cli/long_options.h"
#include "cli/streams.h"
#include "readers/input_kind.h"
#include "readers/load_chapters.h"
#include "readers/matroska_xml_reader.h"
#include "ui/platform_services.h"

class QComboBox;
class QTimer;
class QUndoStack;

namespace markwright::ui {

class ChapterTableModel;
class ChapterTableView;
class ListEditCommand;
class TimelineWidget;
class VideoThumbnails;

// The main window: it holds the chapters as read and the edits made to them since (each an undo
// command: shifts, drops of short chapters, renames, moves, additions, deletions, languages),
// shows them re-timed for the two frame rates and edited, and starts every other window, the
// format window with exactly the chapters shown.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(PlatformServices services, CommonDialog& common_dialog, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Opens a file or, for a folder, scans it as a disc: what a drop does.
  void OpenPath(const QString& path);
  // Shows the pictures of this video beside the chapters: what File > Open Video does.
  void OpenVideoPath(const QString& path);

  const TitleChapters& chapters() const { return source_chapters_; }
  const TitleChapters& retimed() const { return edited_.title; }
  double input_rate() const { return input_rate_; }
  double output_rate() const { return output_rate_; }
  const VideoThumbnails& video() const { return *video_; }

 protected:
  // More rows in view may want their pictures.
  void resizeEvent(QResizeEvent* event) override;

 private:
  friend class ListEditCommand;

  void BuildMenus();
  void SelectRate(QComboBox* list, double& rate);
  // Keeps the chapters loaded from the source, without edits, and lists their re-timed times.
  void ShowChapters(std::filesystem::path source, LoadedChapters loaded);
  // Re-times the chapters as read and makes the first edit_count edits again, in order, at the
  // output rate: a shift or a drop as the command line's --shift and --min-length after the same
  // rates, the other edits at the source times they were given for.
  void Rebuild(int edit_count);
  void ListChapters();
  void UpdateTitle();
  // Makes the edit and puts it on the undo stack; a failure is shown and changes nothing.
  void Edit(ListEdit edit, const QString& text);
  void EditCell(int row, int column, const QString& text);
  void EditChapters(ChapterEditRequest::Kind kind);
  // Asks for one value in the small edit dialog; false when cancelled.
  bool AskValue(const char* name, const QString& title, const QString& caption, std::string& value);
  std::vector<ChapterId> SelectedIds() const;
  int CurrentRow() const;
  void RenameCurrent();
  void MoveChapterTo(int row, std::int64_t milliseconds);
  void SetTime();
  void AddChapterAt();
  void DeleteSelected();
  void SetLanguage(const std::string& language);
  void AskLanguage();
  void NameFromList(std::vector<std::string> names);
  void NamesFromFile();
  void NamesFromTemplate();
  void ReportDropped(const ChapterEditRequest& edit, const std::vector<Chapter>& dropped);
  void OpenFile();
  void LoadFile(const QString& path);
  bool ChooseStream(const std::vector<Stream>& streams, std::size_t& chosen);
  void LoadStreamOf(const std::filesystem::path& file, InputKind kind);
  // What the reader passed over, told once after loading.
  void ReportNotes(const std::vector<std::string>& notes);
  void OpenDisc();
  void OpenVideo();
  // The video changed, or its pictures or frames arrived: the picture column and the timeline
  // follow.
  void ShowVideo();
  // Asks for the pictures of the rows in view and of a margin around them.
  void AskPictures();
  void ScanDisc(const QString& folder);
  void SaveAs();
  void ShowCommandLineHelp();
  void ShowAbout();
  void ReportFailure(const std::exception& failure);

  PlatformServices services_;
  CommonDialog& common_dialog_;
  std::filesystem::path source_;   // named when the chapters cannot take a new rate
  TitleChapters source_chapters_;  // as read, in input timing
  EditedChapters edited_;          // re-timed and edited: what the table shows and Save writes
  ChapterId next_id_ = 0;          // of the next chapter added
  QString disc_folder_;            // where Open Disc starts: the last folder chosen
  double input_rate_;
  double output_rate_;
  QComboBox* input_rate_list_;
  QComboBox* output_rate_list_;
  ChapterTableModel* model_;
  ChapterTableView* chapter_list_;
  VideoThumbnails* video_;
  TimelineWidget* timeline_;
  QTimer* picture_timer_;   // asks for pictures once scrolling or editing pauses
  QUndoStack* undo_stack_;  // of the chapters loaded; a new load starts without
};

}  // namespace markwright::ui
