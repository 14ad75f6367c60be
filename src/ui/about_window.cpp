#include "ui/about_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "markwright/version.h"
#include "readers/source_kinds.h"
#include "ui/app_icon.h"
#include "ui/twips.h"
#include "writers/format_table.h"

namespace markwright::ui {

std::string AboutText() {
  std::string text = "Markwright " + std::to_string(kVersionMajor) + "." +
                     std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
  for (const char* credit : {
           "Moves chapter points between frame rates and writes them for encoders and disc "
           "authoring tools.",
           "Reads chapter files, disc playlists, title sets and media files, and writes the "
           "formats below.",
           "Built with Qt and MediaInfo by the Markwright developers.",
       }) {
    text += "\r\n\r\n";
    text += credit;
  }
  // Every kind read and every format written, from the tables the program itself uses.
  const auto join = [&text](std::string_view heading, const auto& rows) {
    text += heading;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      text += i == 0 ? "" : ", ";
      text += rows[i].display_name;
    }
    text += '.';
  };
  join("\r\n\r\nReads: ", kSourceKinds);
  join("\r\n\r\nWrites: ", kDestinationFormats);
  return text;
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("Form4");
  setWindowTitle("About Markwright");
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);

  auto* picture = new QLabel;
  picture->setObjectName("Image1");
  picture->setPixmap(AppPicture(120));
  picture->setFixedSize(120, 120);
  auto* text = new QLabel(QString::fromStdString(AboutText()).replace("\r\n", "\n"));
  text->setObjectName("Label1");
  text->setWordWrap(true);
  text->setFixedWidth(Twips(4215));
  auto* ok = new QPushButton("OK");
  ok->setObjectName("Command1");
  ok->setDefault(true);

  auto* layout = new QGridLayout(this);
  layout->addWidget(picture, 0, 0, Qt::AlignRight);
  layout->addWidget(text, 1, 0);
  layout->addWidget(ok, 2, 0, Qt::AlignHCenter);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace markwright::ui
