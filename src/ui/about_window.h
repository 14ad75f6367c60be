#pragma once

#include <QDialog>
#include <string>

namespace markwright::ui {

// "Markwright <kVersionText>" and three credit lines, then "Reads: " and "Writes: " with the
// display names of every input kind and destination format, all joined by CR LF CR LF.
std::string AboutText();

// "About Markwright": the picture, the About text and OK.
class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace markwright::ui
