#include "ui/format_window.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStringList>
#include <algorithm>
#include <future>
#include <vector>

#include "cli/audio_destination.h"
#include "core/error.h"
#include "readers/disc_scan.h"
#include "ui/busy_work.h"
#include "ui/message_text.h"
#include "ui/twips.h"
#include "writers/text_file.h"

namespace markwright::ui {
namespace {

namespace fs = std::filesystem;

// The preview shows the text's first lines only: a QPlainTextEdit takes tens of seconds to take
// in the two million lines of a million chapters, and nobody scrolls through them. Save writes
// the whole text.
constexpr std::size_t kPreviewLines = 10'000;
// Of a list's notes (a time list notes every short chapter), the area below the preview shows
// this many, then how many more there are.
constexpr std::size_t kNotesShown = 20;

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The first kPreviewLines lines of the text as the box shows them (each shortened as a list row
// is, without its CR), then a line telling how many more the text holds.
QString PreviewLines(std::string_view text) {
  std::string shown;
  std::size_t lines = 0;
  while (!text.empty() && lines < kPreviewLines) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    shown += ShortenedLine(line);
    ++lines;
    if (end == std::string_view::npos) return FromView(shown);
    shown += '\n';
    text.remove_prefix(end + 1);
  }
  if (text.empty()) return FromView(shown);
  const auto more =
      static_cast<std::size_t>(std::ranges::count(text, '\n')) + (text.ends_with('\n') ? 0 : 1);
  shown += "… " + std::to_string(more) + " more lines, which Save writes too";
  return FromView(shown);
}

struct FormatOutput {
  std::string text;
  QString shown;
  std::vector<std::string> notes;
};

}  // namespace

fs::path SaveFolderFor(const fs::path& source) {
  if (source.empty()) return {};
  std::error_code error;
  fs::path path = fs::absolute(source, error);  // "chapters.txt" from the command line
  if (fs::is_directory(path, error)) return path;
  fs::path folder = path.parent_path();
  // VIDEO_TS and ADV_OBJ lie one folder below the disc's, BDMV/PLAYLIST two.
  for (const fs::path& disc : {folder.parent_path(), folder.parent_path().parent_path()}) {
    const std::optional<DiscLayout> layout = disc.empty() ? std::nullopt : FindDiscLayout(disc);
    if (layout && fs::equivalent(layout->stream_folder, folder, error)) return disc;
  }
  return folder;
}

FormatWindow::FormatWindow(FormatInputs inputs, MessageBoxes& messages, CommonDialog& common_dialog,
                           QWidget* parent)
    : QDialog(parent),
      inputs_(std::move(inputs)),
      messages_(messages),
      common_dialog_(common_dialog) {
  setObjectName("Form3");
  setWindowTitle("Select destination format");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  auto* list_caption = new QLabel("Select output format:");
  list_caption->setObjectName("Label1");
  format_list_ = new QListWidget;
  format_list_->setObjectName("List1");
  format_list_->setMinimumSize(Twips(3255), Twips(3765));
  auto* preview_caption = new QLabel("Preview:");
  preview_caption->setObjectName("Label2");
  preview_ = new QPlainTextEdit;
  preview_->setObjectName("Text1");
  preview_->setMinimumSize(Twips(3855), Twips(3735));
  preview_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  preview_->setTabChangesFocus(true);
  // Save writes the writer's text, so the preview is only looked at: columns of times and XML
  // lines stay as written, unwrapped.
  preview_->setReadOnly(true);
  preview_->setLineWrapMode(QPlainTextEdit::NoWrap);
  preview_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Notes on a list the format still writes, such as a rule of video sites it breaks. Their area
  // keeps its height, so the window keeps its size when notes come and go.
  notes_ = new QLabel;
  notes_->setObjectName("Label3");
  notes_->setWordWrap(true);
  // Notes quote chapter names, which are shown as written, never as markup.
  notes_->setTextFormat(Qt::PlainText);
  notes_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* notes_area = new QScrollArea;
  notes_area->setWidget(notes_);
  notes_area->setWidgetResizable(true);
  notes_area->setFrameShape(QFrame::NoFrame);
  notes_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  notes_area->setFixedSize(Twips(3855), Twips(900));
  save_ = new QPushButton("Save");
  save_->setObjectName("Command1");
  save_->setDefault(true);  // Enter saves
  save_->setEnabled(false);
  auto* cancel = new QPushButton("Cancel");
  cancel->setObjectName("Command2");
  cancel->setAutoDefault(false);

  auto* layout = new QGridLayout(this);
  layout->addWidget(list_caption, 0, 0);
  layout->addWidget(format_list_, 1, 0, 2, 1);
  layout->addWidget(preview_caption, 0, 1);
  layout->addWidget(preview_, 1, 1);
  layout->addWidget(notes_area, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save_);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 3, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  setTabOrder(format_list_, preview_);
  setTabOrder(preview_, save_);
  setTabOrder(save_, cancel);

  for (const DestinationFormat& format : kDestinationFormats) {
    format_list_->addItem(FromView(format.display_name));
  }
  connect(format_list_, &QListWidget::itemSelectionChanged, this, &FormatWindow::RebuildPreview);
  connect(save_, &QPushButton::clicked, this, &FormatWindow::Save);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  RebuildPreview();
}

void FormatWindow::RebuildPreview() {
  format_ = nullptr;
  text_ = std::string();  // hundreds of megabytes for a million chapters: freed before the next
  preview_->clear();
  notes_->clear();
  save_->setEnabled(false);
  const QList<QListWidgetItem*> selected = format_list_->selectedItems();
  if (selected.isEmpty()) return;
  const DestinationFormat* format = FindFormatByDisplayName(selected.front()->text().toStdString());
  if (format == nullptr) return;
  FormatOutput output;
  try {
    output = RunWhilePainting(this, "Writing the preview…", [this, format] {
      // A time list notes each short chapter of a million: on the other core meanwhile.
      auto notes = std::async(std::launch::async, [this, format] {
        return FormatNotesFor(*format, inputs_.retimed_chapters);
      });
      FormatOutput made;
      made.text = BuildFormatText(*format, inputs_.retimed_chapters, inputs_.output_rate,
                                  inputs_.input_rate_text);
      made.shown = PreviewLines(made.text);
      made.notes = notes.get();
      return made;
    });
  } catch (const Refusal& refusal) {
    messages_.Show(MessageText(refusal.what()), MessageIcon::kNone);
    return;
  } catch (const Error& failure) {
    messages_.Show(MessageText(failure.what()), MessageIcon::kStop);
    return;
  }
  format_ = format;
  text_ = std::move(output.text);
  preview_->setPlainText(output.shown);
  QStringList notes;
  const std::size_t shown = std::min(output.notes.size(), kNotesShown);
  for (std::size_t i = 0; i < shown; ++i) {
    notes << MessageText("Note: " + output.notes[i]);  // a note may quote a long name
  }
  if (shown < output.notes.size()) {
    notes << QString("and %1 more notes").arg(output.notes.size() - shown);
  }
  notes_->setText(notes.join(QLatin1Char('\n')));
  save_->setEnabled(true);
}

void FormatWindow::Save() {
  if (format_ == nullptr) return;  // the button is disabled then; Enter may still come here
  DialogSettings& settings = common_dialog_.settings();
  settings.cancel_error = true;
  settings.dialog_title = "Save Chapter File As";
  settings.flags = kConfirmOverwrite;
  settings.file_name = format_->default_file_name;
  settings.filter = format_->filter;
  // The dialog opens beside the chapters' source; without one where it always opened.
  settings.init_dir = SaveFolderFor(inputs_.source_file).string();
  // Chapter tags go into an audio file the user picks; it is changed, not replaced.
  const InPlaceTags in_place = format_->in_place;
  if (in_place != InPlaceTags::kNone) settings.flags = 0;
  try {
    common_dialog_.ShowSave();
  } catch (const DialogCancelled&) {
    return;
  }
  try {
    // Hundreds of megabytes for a million chapters in Matroska XML.
    RunWhilePainting(this, "Saving…", [this, &settings, in_place] {
      if (in_place != InPlaceTags::kNone) {
        WriteChaptersIntoAudioFile(settings.file_name, in_place, inputs_.retimed_chapters);
      } else {
        WriteTextFile(settings.file_name, text_);
      }
      return true;
    });
    saved_ = true;
  } catch (const Error& failure) {
    // The window stays open with its preview, so the user can pick another place.
    messages_.Show(MessageText(failure.what()), MessageIcon::kStop);
  }
}

}  // namespace markwright::ui
