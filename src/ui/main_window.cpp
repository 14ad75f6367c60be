#include "ui/main_window.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "cli/help_text.h"
#include "core/error.h"
#include "core/frame_rate.h"
#include "core/timestamp.h"
#include "readers/disc_scan.h"
#include "readers/input_kind.h"
#include "readers/matroska_xml_reader.h"
#include "readers/media_file_reader.h"
#include "readers/source_file.h"
#include "readers/source_kinds.h"
#include "ui/about_window.h"
#include "ui/app_icon.h"
#include "ui/chapter_edit_dialog.h"
#include "ui/chapter_list_widget.h"
#include "ui/format_window.h"
#include "ui/message_text.h"
#include "ui/stream_window.h"
#include "ui/twips.h"
#include "writers/chapter_label.h"

namespace markwright::ui {
namespace {

// Of the chapters an edit drops, the message lists this many.
constexpr std::size_t kMostDropsListed = 20;
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

}  // namespace

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
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);

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
  chapter_list_ = new ChapterListWidget;
  chapter_list_->setObjectName("List1");
  chapter_list_->setMinimumSize(Twips(3735), Twips(4050));
  QFont list_font(QStringLiteral("Arial"), 12, QFont::Bold);
  list_font.setStyleHint(QFont::SansSerif);  // where Arial is missing
  chapter_list_->setFont(list_font);
  auto* chapters_layout = new QVBoxLayout(chapters);
  chapters_layout->addWidget(chapter_list_);

  auto* client = new QWidget;
  auto* client_layout = new QVBoxLayout(client);
  client_layout->addWidget(rates);
  client_layout->addWidget(chapters);
  setCentralWidget(client);
  BuildMenus();
  layout()->setSizeConstraint(QLayout::SetFixedSize);  // not resizable

  // Selecting a rate, by the user or below, re-times the display at once.
  connect(input_rate_list_, &QComboBox::currentIndexChanged, this,
          [this] { SelectRate(input_rate_list_, input_rate_); });
  connect(output_rate_list_, &QComboBox::currentIndexChanged, this,
          [this] { SelectRate(output_rate_list_, output_rate_); });
  // Queued, so the file manager's drag ends before a dialog of ours may open.
  connect(chapter_list_, &ChapterListWidget::PathDropped, this, &MainWindow::OpenPath,
          Qt::QueuedConnection);

  for (QComboBox* list : {input_rate_list_, output_rate_list_}) {
    for (const NamedRate& rate : kNamedRates) {
      list->addItem(QString::fromUtf8(rate.label.data(), static_cast<int>(rate.label.size())));
    }
    list->setCurrentText("23.976");
  }
}

void MainWindow::BuildMenus() {
  // No shortcuts: the menus are reached with the mouse or the menu key, as they always were.
  const auto add = [this](QMenu* menu, const char* name, const QString& text, auto handler) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, handler);
  };
  QMenu* file = menuBar()->addMenu("File");
  add(file, "OpenFile", "Open File", &MainWindow::OpenFile);
  add(file, "OpenDisc", "Open Disc", &MainWindow::OpenDisc);
  add(file, "SaveAs", "Save As", &MainWindow::SaveAs);
  file->addSeparator();
  add(file, "Exit", "Exit", &MainWindow::close);
  QMenu* help = menuBar()->addMenu("Help");
  add(help, "Cmdhelp", "Commandline Options Help", &MainWindow::ShowCommandLineHelp);
  add(help, "About", "About", &MainWindow::ShowAbout);
  QMenu* edit = menuBar()->addMenu("Edit");
  add(edit, "ShiftChapters", "Shift Chapters…",
      [this] { EditChapters(ChapterEditRequest::Kind::kShift); });
  add(edit, "DropShortChapters", "Drop Short Chapters…",
      [this] { EditChapters(ChapterEditRequest::Kind::kMinLength); });
}

void MainWindow::SelectRate(QComboBox* list, double& rate) {
  const double previous = rate;
  if (const auto value = NamedRateValue(list->currentText().toStdString())) rate = *value;
  try {
    Retime();
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
  loaded_ = std::move(loaded);
  edits_.clear();
  ListRetimed();
}

void MainWindow::Retime() {
  TitleChapters retimed = RetimeChaptersOf(source_, loaded_.chapters, input_rate_, output_rate_);
  // Their drops were told when the edits were made; a rate change does not tell them again.
  for (const ChapterEditRequest& edit : edits_) ApplyChapterEdit(edit, retimed, output_rate_);
  loaded_.retimed = std::move(retimed);
  ListRetimed();
}

void MainWindow::EditChapters(ChapterEditRequest::Kind kind) {
  ChapterEditDialog dialog(kind, this);
  if (services_.modal_runner.Run(dialog) != QDialog::Accepted) return;
  const ChapterEditRequest edit{kind, dialog.value()};
  TitleChapters edited = loaded_.retimed;
  std::vector<Chapter> dropped;
  try {
    dropped = ApplyChapterEdit(edit, edited, output_rate_);
  } catch (const Error& failure) {
    ReportFailure(failure);  // the list stays as it was
    return;
  }
  edits_.push_back(edit);
  loaded_.retimed = std::move(edited);
  ListRetimed();
  if (dropped.empty()) return;
  std::string text = kind == ChapterEditRequest::Kind::kShift
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

void MainWindow::ListRetimed() {
  chapter_list_->clear();
  for (const Chapter& chapter : loaded_.retimed.chapters) {
    // A nameless chapter shows its time alone, as it always has.
    std::string item = FormatTimestamp(chapter.start);
    if (!chapter.name.empty()) {
      item += "  ";
      AppendOnOneLine(item, ShortenedLine(chapter.name));
    }
    chapter_list_->addItem(QString::fromStdString(item));
  }
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
        return LoadEdition(file, kind);
      }
    }
    ShowChapters(file, LoadChapters(file, input_rate_, output_rate_));
  } catch (const std::exception& failure) {
    ReportFailure(failure);  // names the file, but for "Unknown Format!"
  }
}

// Of several editions the user picks one in the stream window, the default one marked; false
// when the window was cancelled. One edition needs no choice.
bool MainWindow::ChooseEdition(const std::vector<MatroskaXmlEdition>& editions,
                               std::size_t default_edition, std::optional<std::size_t>& chosen) {
  if (editions.size() < 2) return true;
  QStringList labels;
  for (std::size_t i = 0; i < editions.size(); ++i) {
    std::string label = "Edition " + std::to_string(i + 1);
    if (i == default_edition) label += " (default)";
    labels << QString::fromStdString(label);
  }
  StreamWindow window(labels, this);
  services_.modal_runner.Run(window);
  if (window.selected_stream() == 0) return false;
  chosen = static_cast<std::size_t>(window.selected_stream() - 1);
  return true;
}

// A Matroska chapter file, or a Matroska or WebM file, with several editions offers them as a
// disc offers its streams; a cancel loads nothing.
void MainWindow::LoadEdition(const std::filesystem::path& file, InputKind kind) {
  LoadedChapters loaded;
  if (kind == InputKind::kMatroskaXml) {
    const std::string bytes = ReadSourceFile(file);
    const MatroskaXmlEditions found = ListMatroskaXmlEditions(bytes, file.string());
    MatroskaXmlChoice choice;
    if (!ChooseEdition(found.editions, found.default_edition, choice.edition)) return;
    loaded.chapters = ParseMatroskaChapters(bytes, file.string(), choice);
  } else {
    const MediaInfoAnswer answer = AskAboutMediaFile(file);
    const std::vector<MatroskaXmlEdition> editions = MediaFileEditions(answer);
    const auto marked = std::ranges::find_if(
        editions, [](const MatroskaXmlEdition& edition) { return edition.is_default; });
    const auto default_edition =
        static_cast<std::size_t>(marked == editions.end() ? 0 : marked - editions.begin());
    std::optional<std::size_t> chosen;
    if (!ChooseEdition(editions, default_edition, chosen)) return;
    loaded.chapters = MediaFileTitle(answer, file.string(), chosen, false);
  }
  loaded.retimed = RetimeChaptersOf(file, loaded.chapters, input_rate_, output_rate_);
  ShowChapters(file, std::move(loaded));
}

void MainWindow::OpenDisc() {
  ScanDisc(services_.folder_chooser.ChooseFolder(this, kDiscFolderTitle));
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
                 LoadChapters(scan, chosen, input_rate_, output_rate_));
  } catch (const std::exception& failure) {
    ReportFailure(failure);
  }
}

void MainWindow::ReportFailure(const std::exception& failure) {
  services_.messages.Show(MessageText(failure.what()), MessageIcon::kStop);
}

void MainWindow::SaveAs() {
  FormatInputs inputs;
  inputs.retimed_chapters = loaded_.retimed;
  inputs.output_rate = output_rate_;
  inputs.input_rate_text = input_rate_list_->currentText().toStdString();
  inputs.source_file = source_;
  FormatWindow formats(std::move(inputs), services_.messages, common_dialog_, this);
  services_.modal_runner.Run(formats);
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
