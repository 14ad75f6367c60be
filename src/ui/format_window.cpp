#include "ui/format_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>

#include "cli/audio_destination.h"
#include "core/error.h"
#include "ui/message_text.h"
#include "ui/twips.h"
#include "writers/format_table.h"
#include "writers/text_file.h"

namespace markwright::ui {
namespace {

constexpr int kClassicRows = static_cast<int>(kClassicFormatCount);

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

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
  // Notes on a list the format still writes, such as a rule of video sites it breaks.
  notes_ = new QLabel;
  notes_->setObjectName("Label3");
  notes_->setWordWrap(true);
  // Notes quote chapter names, which are shown as written, never as markup.
  notes_->setTextFormat(Qt::PlainText);
  notes_->setMaximumWidth(Twips(3855));
  notes_->hide();
  auto* save = new QPushButton("Save");
  save->setObjectName("Command1");
  save->setAutoDefault(false);
  auto* cancel = new QPushButton("Cancel");
  cancel->setObjectName("Command2");
  cancel->setAutoDefault(false);

  auto* layout = new QGridLayout(this);
  layout->addWidget(list_caption, 0, 0);
  layout->addWidget(format_list_, 1, 0);
  layout->addWidget(preview_caption, 0, 1);
  layout->addWidget(preview_, 1, 1);
  layout->addWidget(notes_, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 3, 1);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  setTabOrder(format_list_, preview_);
  setTabOrder(preview_, save);
  setTabOrder(save, cancel);

  for (const DestinationFormat& format : kDestinationFormats) {
    format_list_->addItem(FromView(format.display_name));
  }
  connect(format_list_, &QListWidget::itemSelectionChanged, this, &FormatWindow::RebuildPreview);
  connect(save, &QPushButton::clicked, this, &FormatWindow::Save);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  RebuildPreview();
}

void FormatWindow::RebuildPreview() {
  preview_->clear();
  preview_->setReadOnly(false);
  whole_text_.clear();
  notes_->clear();
  notes_->hide();
  const QList<QListWidgetItem*> selected = format_list_->selectedItems();
  if (selected.isEmpty()) return;
  const DestinationFormat* format = FindFormatByDisplayName(selected.front()->text().toStdString());
  if (format == nullptr) return;
  try {
    std::string text = BuildFormatText(*format, inputs_.retimed_chapters, inputs_.output_rate,
                                       inputs_.input_rate_text);
    // A line of megabytes (a long chapter name) would take the box minutes to lay out: it shows
    // the lines shortened, cannot be edited then, and Save writes the writer's text.
    const std::string shown = ShortenedLines(text);
    preview_->setPlainText(QString::fromStdString(shown));
    if (shown != text) {
      whole_text_ = std::move(text);
      preview_->setReadOnly(true);
    }
    QStringList notes;
    for (const std::string& note : FormatNotesFor(*format, inputs_.retimed_chapters)) {
      notes << MessageText("Note: " + note);  // a note may quote a long name
    }
    notes_->setText(notes.join(QLatin1Char('\n')));
    notes_->setVisible(!notes.isEmpty());
  } catch (const Refusal& refusal) {
    messages_.Show(MessageText(refusal.what()), MessageIcon::kNone);
  } catch (const Error& failure) {
    messages_.Show(MessageText(failure.what()), MessageIcon::kStop);
  }
}

std::string FormatWindow::PreviewText() const {
  // The box keeps lines, not their ends; every line end it holds is written as CR LF, or as LF
  // for the newer formats, whose readers (ffmpeg, mkvmerge, web players) write LF themselves.
  bool lf_only = false;
  for (int row = kClassicRows; row < format_list_->count(); ++row) {
    if (format_list_->item(row)->isSelected()) lf_only = true;
  }
  QString text =
      whole_text_.empty() ? preview_->toPlainText() : QString::fromStdString(whole_text_);
  text.remove(QLatin1Char('\r'));
  if (!lf_only) text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return text.toStdString();
}

void FormatWindow::Save() {
  DialogSettings& settings = common_dialog_.settings();
  settings.cancel_error = true;
  settings.dialog_title = "Save Chapter File As";
  settings.flags = kConfirmOverwrite;
  // With nothing selected the name and filter of the last dialog stay, as they always have.
  InPlaceTags in_place = InPlaceTags::kNone;
  for (int row = 0; row < format_list_->count(); ++row) {
    if (!format_list_->item(row)->isSelected()) continue;
    const DestinationFormat& format = kDestinationFormats[static_cast<std::size_t>(row)];
    settings.file_name = format.default_file_name;
    settings.filter = format.filter;
    in_place = format.in_place;
    break;
  }
  // Chapter tags go into an audio file the user picks; it is changed, not replaced.
  if (in_place != InPlaceTags::kNone) settings.flags = 0;
  try {
    common_dialog_.ShowSave();
  } catch (const DialogCancelled&) {
    return;
  }
  try {
    if (in_place != InPlaceTags::kNone) {
      WriteChaptersIntoAudioFile(settings.file_name, in_place, inputs_.retimed_chapters);
    } else {
      WriteTextFile(settings.file_name, PreviewText());
    }
  } catch (const Error& failure) {
    // The window stays open with its preview, so the user can pick another place.
    messages_.Show(MessageText(failure.what()), MessageIcon::kStop);
  }
}

}  // namespace markwright::ui
