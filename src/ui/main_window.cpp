#include "ui/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QUndoCommand>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <numeric>
#include <sstream>
#include <stdexcept>
#include <utility>

#include "cli/help_text.h"
#include "cli/listing.h"
#include "cli/progress_line.h"
#include "core/error.h"
#include "core/frame_rate.h"
#include "core/timestamp.h"
#include "readers/disc_scan.h"
#include "readers/input_kind.h"
#include "readers/matroska_xml_reader.h"
#include "readers/media_file_reader.h"
#include "readers/source_file.h"
#include "readers/source_kinds.h"
#include "readers/text_encoding.h"
#include "ui/about_window.h"
#include "ui/app_icon.h"
#include "ui/busy_work.h"
#include "ui/chapter_edit_dialog.h"
#include "ui/chapter_table_model.h"
#include "ui/chapter_table_view.h"
#include "ui/format_window.h"
#include "ui/message_text.h"
#include "ui/stream_window.h"
#include "ui/timeline_widget.h"
#include "ui/twips.h"
#include "ui/video_thumbnails.h"
#include "writers/chapter_label.h"

namespace markwright::ui {
namespace {

// Of the chapters an edit drops, the message lists this many.
constexpr std::size_t kMostDropsListed = 20;
// Rows above and below those in view whose pictures are asked for too, so that a short scroll
// finds them there; a list this long or shorter is pictured whole.
constexpr int kPictureMargin = 50;
constexpr const char* kDiscFolderTitle =
    "Select Drive or Folder that contain Blu-Ray, HD DVD or DVD files";

std::filesystem::path ToPath(const QString& path) {
  return path.toStdString();
}

QComboBox* RateList(const char* name) {
  auto* list = new QComboBox;
  list->setObjectName(name);
  list->setEditable(false);
  list->setMinimumWidth(Twips(1215));
  return list;
}

QLabel* Caption(const char* name, const QString& text) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  return label;
}

QString Text(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// One edit on the undo stack. Redo makes the edit again on the chapters shown; undo makes the
// edits below it again from the chapters as read, since a shift or a drop cannot be reversed.
class ListEditCommand : public QUndoCommand {
 public:
  ListEditCommand(MainWindow& window, ListEdit edit, const QString& text)
      : QUndoCommand(text), window_(window), edit_(std::move(edit)) {}
  const ListEdit& edit() const { return edit_; }
  void redo() override {
    if (std::exchange(made_, false)) return;  // made before it was pushed
    try {
      ApplyListEdit(edit_, window_.edited_, window_.input_rate_, window_.output_rate_);
    } catch (const Error&) {
      // Made once at these rates already; a failure here leaves the list as it was.
    }
    window_.ListChapters();
  }
  void undo() override {
    try {
      // The edits below this one were made at these rates before: they can be made again.
      window_.Rebuild(window_.undo_stack_->index() - 1);
    } catch (const std::exception& failure) {
      window_.ReportFailure(failure);
    }
  }

 private:
  MainWindow& window_;
  ListEdit edit_;
  bool made_ = true;
};

MainWindow::MainWindow(PlatformServices services, CommonDialog& common_dialog, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      common_dialog_(common_dialog),
      input_rate_(kDefaultFrameRate),
      output_rate_(kDefaultFrameRate) {
  setObjectName("Form1");
  setWindowTitle("Markwright");
  setWindowIcon(AppIcon());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                 Qt::WindowCloseButtonHint);
  undo_stack_ = new QUndoStack(this);

  auto* rates = new QGroupBox("FPS Options:");
  rates->setObjectName("Frame2");
  input_rate_list_ = RateList("Combo1");
  output_rate_list_ = RateList("Combo2");
  auto* rates_layout = new QGridLayout(rates);
  rates_layout->addWidget(Caption("Label1", "Input FPS:"), 0, 0);
  rates_layout->addWidget(input_rate_list_, 1, 0);
  rates_layout->setColumnStretch(1, 1);
  rates_layout->setColumnMinimumWidth(1, Twips(2760 - 240 - 1215));
  rates_layout->addWidget(Caption("Label2", "Output FPS:"), 0, 2);
  rates_layout->addWidget(output_rate_list_, 1, 2);

  auto* chapters = new QGroupBox("Chapters");
  chapters->setObjectName("Frame1");
  chapter_list_ = new ChapterTableView;
  chapter_list_->setObjectName("List1");
  chapter_list_->setMinimumSize(Twips(3735), Twips(4050));
  QFont list_font(QStringLiteral("Arial"), 12, QFont::Bold);
  list_font.setStyleHint(QFont::SansSerif);  // where Arial is missing
  chapter_list_->setFont(list_font);
  model_ = new ChapterTableModel(edited_, source_chapters_, this);
  model_->SetEditHandler(
      [this](int row, int column, const QString& text) { EditCell(row, column, text); });
  chapter_list_->setModel(model_);
  video_ = new VideoThumbnails(this);
  model_->SetVideo(video_);
  timeline_ = new TimelineWidget(edited_, *video_);
  auto* chapters_layout = new QVBoxLayout(chapters);
  chapters_layout->addWidget(chapter_list_);
  chapters_layout->addWidget(timeline_);
  picture_timer_ = new QTimer(this);
  picture_timer_->setSingleShot(true);
  picture_timer_->setInterval(100);
  connect(picture_timer_, &QTimer::timeout, this, &MainWindow::AskPictures);
  connect(chapter_list_->verticalScrollBar(), &QScrollBar::valueChanged, picture_timer_,
          qOverload<>(&QTimer::start));
  connect(video_, &VideoThumbnails::PicturesChanged, this, &MainWindow::ShowVideo);
  connect(video_, &VideoThumbnails::FramesRead, this, &MainWindow::ShowVideo);
  connect(video_, &VideoThumbnails::Failed, this, [this](const QString& message) {
    // Chosen by the user, the video's failure is told as any file's; a media file's own video
    // that cannot be pictured (an audio file's, say) is only noted.
    if (video_->told_in_box()) return ReportFailure(std::runtime_error(message.toStdString()));
    statusBar()->showMessage(MessageText(message.toStdString()));
  });
  connect(timeline_, &TimelineWidget::ChapterClicked, this, [this](int row) {
    chapter_list_->selectRow(row);
    chapter_list_->scrollTo(model_->index(row, ChapterTableModel::kNumber));
  });
  connect(chapter_list_->selectionModel(), &QItemSelectionModel::currentRowChanged, timeline_,
          [this](const QModelIndex& current) { timeline_->SetCurrentRow(current.row()); });

  auto* client = new QWidget;
  auto* client_layout = new QVBoxLayout(client);
  client_layout->addWidget(rates);
  client_layout->addWidget(chapters, 1);  // the table takes what the window grows by
  setCentralWidget(client);
  BuildMenus();
  // Opens at the size the fixed layout had; from there the user may make it larger.
  setMinimumSize(minimumSizeHint());
  resize(minimumSizeHint());
  connect(undo_stack_, &QUndoStack::cleanChanged, this, &MainWindow::UpdateTitle);

  // Selecting a rate, by the user or below, re-times the display at once.
  connect(input_rate_list_, &QComboBox::currentIndexChanged, this,
          [this] { SelectRate(input_rate_list_, input_rate_); });
  connect(output_rate_list_, &QComboBox::currentIndexChanged, this,
          [this] { SelectRate(output_rate_list_, output_rate_); });
  // Queued, so the file manager's drag ends before a dialog of ours may open.
  connect(chapter_list_, &ChapterTableView::PathDropped, this, &MainWindow::OpenPath,
          Qt::QueuedConnection);

  for (QComboBox* list : {input_rate_list_, output_rate_list_}) {
    for (const NamedRate& rate : kNamedRates) {
      list->addItem(QString::fromUtf8(rate.label.data(), static_cast<int>(rate.label.size())));
    }
    list->setCurrentText("23.976");
  }
}

MainWindow::~MainWindow() {
  // The stack, deleted with the window's children, tells of its last state: nobody listens then.
  undo_stack_->disconnect(this);
}

void MainWindow::BuildMenus() {
  const auto add = [this](QMenu* menu, const char* name, const QString& text, auto handler,
                          const QKeySequence& keys = {}) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  QMenu* file = menuBar()->addMenu("&File");
  add(file, "OpenFile", "Open File", &MainWindow::OpenFile, QKeySequence::Open);
  add(file, "OpenDisc", "Open Disc", &MainWindow::OpenDisc);
  add(file, "OpenVideo", "Open &Video…", &MainWindow::OpenVideo);
  add(file, "SaveAs", "Save As", &MainWindow::SaveAs, Qt::CTRL | Qt::Key_S);
  file->addSeparator();
  add(file, "Exit", "Exit", &MainWindow::close);
  QMenu* edit = menuBar()->addMenu("&Edit");
  QAction* undo = undo_stack_->createUndoAction(this, "Undo");
  undo->setObjectName("Undo");
  undo->setShortcut(Qt::CTRL | Qt::Key_Z);
  QAction* redo = undo_stack_->createRedoAction(this, "Redo");
  redo->setObjectName("Redo");
  redo->setShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
  edit->addActions({undo, redo});
  edit->addSeparator();
  add(edit, "RenameChapter", "Rename", &MainWindow::RenameCurrent, Qt::Key_F2);
  add(edit, "SetChapterTime", "Set Time…", &MainWindow::SetTime);
  add(edit, "AddChapter", "Add Chapter…", &MainWindow::AddChapterAt, Qt::Key_Insert);
  add(edit, "DeleteChapters", "Delete", &MainWindow::DeleteSelected, QKeySequence::Delete);
  add(edit, "SetLanguage", "Set Language…", &MainWindow::AskLanguage);
  add(edit, "NamesFromFile", "Names from File…", &MainWindow::NamesFromFile);
  add(edit, "NamesFromTemplate", "Names from Template…", &MainWindow::NamesFromTemplate);
  edit->addSeparator();
  add(edit, "ShiftChapters", "Shift Chapters…",
      [this] { EditChapters(ChapterEditRequest::Kind::kShift); });
  add(edit, "DropShortChapters", "Drop Short Chapters…",
      [this] { EditChapters(ChapterEditRequest::Kind::kMinLength); });
  QMenu* help = menuBar()->addMenu("&Help");
  add(help, "Cmdhelp", "Commandline Options Help", &MainWindow::ShowCommandLineHelp);
  add(help, "About", "About", &MainWindow::ShowAbout);
  // F10 opens the first menu, as on most desktops; Alt and a menu's letter open that menu.
  auto* menu_key = new QShortcut(Qt::Key_F10, this);
  connect(menu_key, &QShortcut::activated, this,
          [this] { menuBar()->setActiveAction(menuBar()->actions().value(0)); });
}

void MainWindow::SelectRate(QComboBox* list, double& rate) {
  const double previous = rate;
  if (const auto value = NamedRateValue(list->currentText().toStdString())) rate = *value;
  try {
    Rebuild(undo_stack_->index());
    return;
  } catch (const Error& failure) {
    ReportFailure(failure);
  }
  // The chapters (or a frame shift) cannot take the new rate: the list goes back with the rate, so
  // what it shows is what the writers get.
  rate = previous;
  const QSignalBlocker blocker(list);
  for (int i = 0; i < list->count(); ++i) {
    if (NamedRateValue(list->itemText(i).toStdString()) == previous) list->setCurrentIndex(i);
  }
}

void MainWindow::ShowChapters(std::filesystem::path source, LoadedChapters loaded) {
  source_ = std::move(source);
  source_chapters_ = std::move(loaded.chapters);
  edited_.title = std::move(loaded.retimed);
  edited_.ids.resize(source_chapters_.chapters.size());
  std::iota(edited_.ids.begin(), edited_.ids.end(), ChapterId{0});
  next_id_ = static_cast<ChapterId>(source_chapters_.chapters.size());
  // A video opened beside the chapters before belongs to them, not to these; so does a note on it.
  video_->SetVideo({}, false);
  if (auto* status = findChild<QStatusBar*>()) status->clearMessage();
  // The commands refer to the chapters they were made on: they go with them.
  undo_stack_->clear();
  ListChapters();
  ReportNotes(source_chapters_.notes);
}

void MainWindow::ReportNotes(const std::vector<std::string>& notes) {
  if (notes.empty()) return;
  // One box for all of them, as for the chapters an edit drops: the reader lists only the first
  // few and counts the rest.
  std::string text;
  for (const std::string& note : notes) text += (text.empty() ? "" : "\r\n") + note;
  services_.messages.Show(MessageText(text), MessageIcon::kNone);
}

void MainWindow::Rebuild(int edit_count) {
  std::vector<const ListEdit*> edits;
  edits.reserve(static_cast<std::size_t>(std::max(edit_count, 0)));
  for (int index = 0; index < edit_count; ++index) {
    edits.push_back(&static_cast<const ListEditCommand*>(undo_stack_->command(index))->edit());
  }
  // Their drops were told when the edits were made; doing them again does not tell them again.
  edited_ = RunWhilePainting(this, "Re-timing the chapters…", [&] {
    try {
      EditedChapters edited = StartEditing(source_chapters_, input_rate_, output_rate_);
      for (const ListEdit* edit : edits) ApplyListEdit(*edit, edited, input_rate_, output_rate_);
      return edited;
    } catch (const ReadError&) {
      throw;
    } catch (const Error& failure) {
      // A time that leaves the range at these rates is put down to the file, as on loading.
      throw ReadError(source_.string(), "", failure.what());
    }
  });
  ListChapters();
}

void MainWindow::ListChapters() {
  model_->Reset(output_rate_);
  chapter_list_->FitColumns();
  timeline_->Update();
  UpdateTitle();
  picture_timer_->start();
}

void MainWindow::ShowVideo() {
  // A 16:9 picture's height until the first picture tells the video's.
  const int height = video_->PictureHeight();
  chapter_list_->SetPictureHeight(
      !video_->HasVideo() ? 0 : (height > 0 ? height : VideoThumbnails::kPictureWidth * 9 / 16));
  model_->PicturesChanged();
  timeline_->Update();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (video_->HasVideo()) picture_timer_->start();
}

void MainWindow::AskPictures() {
  const int rows = model_->rowCount();
  if (!video_->HasVideo()) return;
  // Uniform rows: the rows in view follow from the scroll position alone.
  const int top = std::max(chapter_list_->rowAt(0), 0);
  int bottom = chapter_list_->rowAt(chapter_list_->viewport()->height() - 1);
  if (bottom < 0) bottom = rows - 1;
  const int margin = std::max(bottom - top + 1, kPictureMargin);
  // The rows in view are read first; those around them after.
  std::vector<std::int64_t> in_view;
  std::vector<std::int64_t> around;
  for (int row = std::max(top - margin, 0); row <= std::min(bottom + margin, rows - 1); ++row) {
    (row >= top && row <= bottom ? in_view : around)
        .push_back(edited_.title.chapters[static_cast<std::size_t>(row)].start);
  }
  video_->Ask(std::move(in_view), std::move(around));
}

void MainWindow::UpdateTitle() {
  if (source_.empty()) return setWindowTitle("Markwright");
  const std::size_t count = edited_.title.chapters.size();
  const std::string title = (undo_stack_->isClean() ? "" : "*") + source_.filename().string() +
                            " (" + std::to_string(count) + (count == 1 ? " chapter" : " chapters") +
                            ") - Markwright";
  setWindowTitle(Text(title));
}

void MainWindow::Edit(ListEdit edit, const QString& text) {
  std::vector<Chapter> dropped;
  try {
    dropped = ApplyListEdit(edit, edited_, input_rate_, output_rate_);
  } catch (const Error& failure) {
    ReportFailure(failure);  // the list stays as it was
    return;
  }
  const auto* request = std::get_if<ChapterEditRequest>(&edit);
  const ChapterEditRequest told = request != nullptr ? *request : ChapterEditRequest{};
  undo_stack_->push(new ListEditCommand(*this, std::move(edit), text));
  ListChapters();
  if (request != nullptr) ReportDropped(told, dropped);
}

void MainWindow::EditChapters(ChapterEditRequest::Kind kind) {
  ChapterEditDialog dialog(kind, this);
  if (services_.modal_runner.Run(dialog) != QDialog::Accepted) return;
  ChapterEditRequest edit{kind, dialog.value()};
  const QString text = kind == ChapterEditRequest::Kind::kShift
                           ? "Shift by " + Text(edit.value)
                           : "Drop chapters shorter than " + Text(edit.value) + " s";
  Edit(std::move(edit), text);
}

void MainWindow::ReportDropped(const ChapterEditRequest& edit,
                               const std::vector<Chapter>& dropped) {
  if (dropped.empty()) return;
  std::string text = edit.kind == ChapterEditRequest::Kind::kShift
                         ? "Shifting by " + edit.value
                         : "Keeping chapters at least " + edit.value + " s apart";
  text += " dropped " + std::to_string(dropped.size()) +
          (dropped.size() == 1 ? " chapter:" : " chapters:");
  // A box taller than the screen helps nobody: the first ones, and how many more.
  const std::size_t listed = std::min(dropped.size(), kMostDropsListed);
  for (std::size_t index = 0; index < listed; ++index) {
    text += "\r\n" + FormatTimestamp(dropped[index].start);
    if (dropped[index].name.empty()) continue;
    text += "  ";
    AppendOnOneLine(text, ShortenedLine(dropped[index].name));
  }
  if (listed < dropped.size()) {
    text += "\r\nand " + std::to_string(dropped.size() - listed) + " more";
  }
  services_.messages.Show(MessageText(text), MessageIcon::kNone);
}

bool MainWindow::AskValue(const char* name, const QString& title, const QString& caption,
                          std::string& value) {
  ChapterEditDialog dialog(name, title, caption, this);
  if (services_.modal_runner.Run(dialog) != QDialog::Accepted) return false;
  value = dialog.value();
  return true;
}

std::vector<ChapterId> MainWindow::SelectedIds() const {
  std::vector<ChapterId> ids;
  // By ranges, not by index: selecting a million rows is one range.
  std::vector<std::pair<int, int>> ranges;
  for (const QItemSelectionRange& range : chapter_list_->selectionModel()->selection()) {
    ranges.emplace_back(range.top(), range.bottom());
  }
  std::ranges::sort(ranges);
  int next = 0;
  for (const auto& [top, bottom] : ranges) {
    for (int row = std::max(top, next); row <= bottom; ++row) {
      ids.push_back(edited_.ids[static_cast<std::size_t>(row)]);
    }
    next = std::max(next, bottom + 1);
  }
  return ids;
}

int MainWindow::CurrentRow() const {
  const int row = chapter_list_->currentIndex().row();
  return row >= 0 && row < model_->rowCount() ? row : -1;
}

void MainWindow::RenameCurrent() {
  const int row = CurrentRow();
  if (row < 0) return;
  const QModelIndex name = model_->index(row, ChapterTableModel::kName);
  chapter_list_->setCurrentIndex(name);
  chapter_list_->edit(name);
}

void MainWindow::EditCell(int row, int column, const QString& text) {
  const auto at = static_cast<std::size_t>(row);
  const std::string value = text.trimmed().toStdString();
  switch (column) {
    case ChapterTableModel::kName:
      // Typed whole, blanks and all, as a name from a file keeps them.
      return Edit(RenameChapters{{edited_.ids[at]}, {text.toStdString()}}, "Rename chapter");
    case ChapterTableModel::kLanguage:
      return Edit(SetChapterLanguage{{edited_.ids[at]}, value}, "Set language");
    default:
      try {
        // A frame cell takes a number alone as a frame; a time cell takes either.
        const std::string typed =
            column == ChapterTableModel::kFrame && !value.ends_with('f') ? value + "f" : value;
        MoveChapterTo(row, ParseChapterTime(typed, output_rate_));
      } catch (const Error& failure) {
        ReportFailure(failure);
      }
  }
}

void MainWindow::MoveChapterTo(int row, std::int64_t milliseconds) {
  const ChapterId id = edited_.ids[static_cast<std::size_t>(row)];
  Edit(MoveChapter{id, SourceTimeAt(milliseconds, input_rate_, output_rate_)}, "Set time");
}

void MainWindow::SetTime() {
  const int row = CurrentRow();
  if (row < 0) return;
  std::string value;
  if (!AskValue("SetTimeDialog", "Set Time",
                "The chapter's time at the output rate (0:01:30, 00:01:30.250)\n"
                "or its frame number at the output rate (2158):",
                value)) {
    return;
  }
  try {
    MoveChapterTo(row, ParseChapterTime(value, output_rate_));
  } catch (const Error& failure) {
    ReportFailure(failure);
  }
}

void MainWindow::AddChapterAt() {
  std::string value;
  if (!AskValue("AddDialog", "Add Chapter",
                "The new chapter's time at the output rate (0:01:30, 00:01:30.250) or frame\n"
                "number (2158); nothing: halfway from the selected chapter to the next:",
                value)) {
    return;
  }
  std::int64_t start = 0;
  try {
    if (!value.empty()) {
      start = ParseChapterTime(value, output_rate_);
    } else {
      const int row = CurrentRow();
      const std::vector<Chapter>& list = edited_.title.chapters;
      const auto at = static_cast<std::size_t>(row);
      // After the last chapter, halfway to the end when the length is known.
      const std::optional<std::int64_t> next =
          row < 0
              ? std::nullopt
              : (at + 1 < list.size() ? std::optional(list[at + 1].start) : edited_.title.length);
      if (!next || *next <= list[at].start) {
        throw Refusal("select the chapter after which to add one, or give its time");
      }
      start = list[at].start + (*next - list[at].start) / 2;
    }
    Edit(AddChapter{next_id_, SourceTimeAt(start, input_rate_, output_rate_), {}, {}},
         "Add chapter");
  } catch (const Error& failure) {
    return ReportFailure(failure);
  }
  ++next_id_;  // only an id given is used up
  // The new chapter is selected, so that it can be named at once.
  const auto row = std::ranges::find(edited_.ids, next_id_ - 1) - edited_.ids.begin();
  chapter_list_->setCurrentIndex(model_->index(static_cast<int>(row), ChapterTableModel::kName));
}

void MainWindow::DeleteSelected() {
  std::vector<ChapterId> ids = SelectedIds();
  if (ids.empty()) return;
  const QString text =
      ids.size() == 1 ? QString("Delete chapter") : QString("Delete %1 chapters").arg(ids.size());
  Edit(DeleteChapters{std::move(ids)}, text);
}

void MainWindow::AskLanguage() {
  std::string value;
  if (SelectedIds().empty() ||
      !AskValue("LanguageDialog", "Set Language",
                "The language of the selected chapters' names (eng, fre, de-CH);\n"
                "nothing: unknown:",
                value)) {
    return;
  }
  SetLanguage(value);
}

void MainWindow::SetLanguage(const std::string& language) {
  if (language.find_first_of(" \t\r\n") != std::string::npos) {
    return ReportFailure(Refusal("cannot use " + QuotedText(language) +
                                 " as a language: give a code such as eng or de-CH"));
  }
  Edit(SetChapterLanguage{SelectedIds(), language}, "Set language");
}

// The names go to the selected chapters in order when several are selected, else to every
// chapter from the first; names left over are not used, chapters left over keep theirs.
void MainWindow::NameFromList(std::vector<std::string> names) {
  std::vector<ChapterId> ids = SelectedIds();
  if (ids.size() < 2) ids = edited_.ids;
  ids.resize(std::min(ids.size(), names.size()));
  names.resize(ids.size());
  if (ids.empty()) return;
  Edit(RenameChapters{std::move(ids), std::move(names)}, "Name chapters");
}

void MainWindow::NamesFromFile() {
  DialogSettings& settings = common_dialog_.settings();
  settings.cancel_error = true;
  settings.dialog_title = "Open Chapter Names";
  settings.filter = "Text files (one name a line)|*.txt|All files|*";
  try {
    common_dialog_.ShowOpen();
  } catch (const DialogCancelled&) {
    return;
  }
  try {
    NameFromList(NamesFromLines(Utf8Name(ReadSourceFile(settings.file_name))));
  } catch (const std::exception& failure) {
    ReportFailure(failure);
  }
}

void MainWindow::NamesFromTemplate() {
  std::string value;
  if (!AskValue("TemplateDialog", "Names from Template",
                "A name for every chapter; <NUM> is its number, <NUM:2> the number\n"
                "with two digits (Chapter <NUM:2>):",
                value)) {
    return;
  }
  std::vector<ChapterId> ids = SelectedIds();
  const std::size_t count = ids.size() < 2 ? edited_.ids.size() : ids.size();
  std::vector<std::string> names;
  names.reserve(count);
  for (std::size_t number = 1; number <= count; ++number) {
    names.push_back(NameFromTemplate(value, number));
  }
  NameFromList(std::move(names));
}

void MainWindow::OpenFile() {
  DialogSettings& settings = common_dialog_.settings();
  settings.cancel_error = true;
  settings.dialog_title = "Open Chapter file";
  // The classic kinds first, as they always were; the newer ones after them in the first group
  // and in groups of their own.
  settings.filter = SourceOpenFilter();
  try {
    common_dialog_.ShowOpen();
  } catch (const DialogCancelled&) {
    return;  // a cancel is the user's own choice: nothing to tell
  }
  LoadFile(QString::fromStdString(settings.file_name));
}

void MainWindow::OpenPath(const QString& path) {
  if (WorkRunning() > 0) return;  // a drop queued while the chapters are read or re-timed
  if (QFileInfo(path).isDir()) return ScanDisc(path);
  LoadFile(path);
}

void MainWindow::LoadFile(const QString& path) {
  const std::filesystem::path file = ToPath(path);
  try {
    // Only a regular file is looked into here: a FIFO would block the window.
    std::error_code error;
    if (std::filesystem::is_regular_file(file, error)) {
      const InputKind kind = DetectInputKind(file);
      if (kind == InputKind::kMatroskaXml || kind == InputKind::kMediaFile) {
        return LoadStreamOf(file, kind);
      }
    }
    ShowChapters(file, RunWhilePainting(this, "Reading the chapters…", [&] {
                   return LoadChapters(file, input_rate_, output_rate_);
                 }));
  } catch (const Refusal& refusal) {
    // The command line's "Unknown Format!" names no file, as it always has; here the user may
    // have dropped several, so the message says which.
    const bool unknown = std::string_view(refusal.what()) == UnknownFormat().what();
    services_.messages.Show(
        MessageText(unknown ? file.string() + ": " + refusal.what() : std::string(refusal.what())),
        MessageIcon::kStop);
  } catch (const std::exception& failure) {
    ReportFailure(failure);
  }
}

// Of several editions or chapter menus the user picks one in the stream window, each listed as
// --list lists it, the one a plain conversion reads selected; false when the window was
// cancelled. One stream needs no choice.
bool MainWindow::ChooseStream(const std::vector<Stream>& streams, std::size_t& chosen) {
  chosen = DefaultStream(streams);
  if (streams.size() < 2) return true;
  QStringList labels;
  for (std::size_t i = 0; i < streams.size(); ++i) {
    const TitleChapters title = streams[i].list(input_rate_, output_rate_).chapters;
    std::string label = StreamLine(i + 1, streams[i].source, title.chapters.size(), title.length);
    if (streams[i].edition) label += EditionWords(*streams[i].edition);
    labels << Text(label);
  }
  StreamWindow window(labels, this, static_cast<int>(chosen));
  services_.modal_runner.Run(window);
  if (window.selected_stream() == 0) return false;
  chosen = static_cast<std::size_t>(window.selected_stream() - 1);
  return true;
}

// A Matroska chapter file, or a media file, with several editions or chapter menus offers them
// as a disc offers its streams; a cancel loads nothing.
void MainWindow::LoadStreamOf(const std::filesystem::path& file, InputKind kind) {
  std::ostringstream unused;  // a file, unlike a disc folder, has no scan to report on
  ProgressLine no_progress(unused, false);
  const std::vector<Stream> streams = RunWhilePainting(
      this, "Reading the chapters…", [&] { return FindStreams(file, unused, no_progress); });
  std::size_t chosen = 0;
  if (!ChooseStream(streams, chosen)) return;
  ShowChapters(file, RunWhilePainting(this, "Reading the chapters…", [&] {
                 return streams[chosen].load(input_rate_, output_rate_);
               }));
  // A media file's chapters are pictured from its own video.
  if (kind == InputKind::kMediaFile) video_->SetVideo(file, false);
}

void MainWindow::OpenDisc() {
  const QString start = disc_folder_.isEmpty() ? QDir::homePath() : disc_folder_;
  const QString folder = services_.folder_chooser.ChooseFolder(this, kDiscFolderTitle, start);
  if (!folder.isEmpty()) disc_folder_ = folder;
  ScanDisc(folder);
}

void MainWindow::OpenVideo() {
  DialogSettings& settings = common_dialog_.settings();
  settings.cancel_error = true;
  settings.dialog_title = "Open Video";
  settings.filter =
      "Video Files|*.mkv;*.webm;*.mp4;*.m4v;*.mov;*.avi;*.ts;*.m2ts;*.mts;*.mpg;*.vob|All Files|*";
  try {
    common_dialog_.ShowOpen();
  } catch (const DialogCancelled&) {
    return;
  }
  OpenVideoPath(QString::fromStdString(settings.file_name));
}

void MainWindow::OpenVideoPath(const QString& path) {
  const std::filesystem::path file = ToPath(path);
  std::error_code error;
  // The reading child would wait on a FIFO until its deadline.
  if (!std::filesystem::is_regular_file(file, error)) {
    return ReportFailure(ReadError(file.string(), "", "not a video file"));
  }
  video_->SetVideo(file, true);
  picture_timer_->start();
}

void MainWindow::ScanDisc(const QString& folder) {
  if (folder.isEmpty()) return;  // the chooser was cancelled
  DiscScan scan;
  try {
    scan = ScanDiscFolder(ToPath(folder));
  } catch (const Refusal& refusal) {
    services_.messages.Show(MessageText(refusal.what()), MessageIcon::kNone);
    return;
  } catch (const ReadError& failure) {
    ReportFailure(failure);
    return;
  } catch (const std::exception& failure) {
    services_.messages.Show(MessageText(folder.toStdString() + ": " + failure.what()),
                            MessageIcon::kStop);
    return;
  }
  QStringList labels;
  for (const DiscStream& stream : scan.streams) labels << QString::fromStdString(stream.label);
  StreamWindow streams(labels, this);
  services_.modal_runner.Run(streams);
  if (streams.selected_stream() == 0) return;
  const DiscStream& chosen = scan.streams[static_cast<std::size_t>(streams.selected_stream() - 1)];
  try {
    ShowChapters(scan.layout.stream_folder / chosen.file_name,
                 RunWhilePainting(this, "Reading the chapters…", [&] {
                   return LoadChapters(scan, chosen, input_rate_, output_rate_);
                 }));
  } catch (const std::exception& failure) {
    ReportFailure(failure);
  }
}

void MainWindow::ReportFailure(const std::exception& failure) {
  services_.messages.Show(MessageText(failure.what()), MessageIcon::kStop);
}

void MainWindow::SaveAs() {
  FormatInputs inputs;
  inputs.retimed_chapters = edited_.title;  // exactly what the table shows
  inputs.output_rate = output_rate_;
  inputs.input_rate_text = input_rate_list_->currentText().toStdString();
  inputs.source_file = source_;
  FormatWindow formats(std::move(inputs), services_.messages, common_dialog_, this);
  services_.modal_runner.Run(formats);
  // A file written meanwhile holds the edits: the title stops marking them as unsaved.
  if (formats.saved()) undo_stack_->setClean();
}

void MainWindow::ShowCommandLineHelp() {
  // The classic help, then what it never named: Muxman, the newer formats and the input kinds.
  std::string text = HelpText("\r\n") + "\r\n\r\n" + MoreFormatsHelp("\r\n");
  text.resize(text.size() - 2);  // no line end after the last line
  services_.messages.Show(QString::fromStdString(text), MessageIcon::kNone);
}

void MainWindow::ShowAbout() {
  AboutWindow about(this);
  services_.modal_runner.Run(about);
}

}  // namespace markwright::ui
