#pragma once

#include <QDialog>
#include <string>

namespace markwright::ui {

// "Markwright <kVersionText>" and three credit lines, joined by CR LF CR LF.
std::string AboutText();

// "About Markwright": the picture, the About text and OK.
class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  explicit AboutWindow(QWidget* parent = nullptr);
};

}  // namespace markwright::ui
