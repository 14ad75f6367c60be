#include "ui/qt_services.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStringList>

#include "ui/app_icon.h"

namespace markwright::ui {

void QtMessageBoxes::Show(const QString& text, MessageIcon icon) {
  QString shown = QString(text).replace(QStringLiteral("\r\n"), "\n");
  // Text aligned in columns by tabs (the command-line help) keeps its lines: the box would wrap
  // them at half the screen's width. Any other text is plain: a file or chapter name such as
  // "<b>x</b>" is shown as written, never as markup.
  const bool columns = shown.contains('\t');
  if (columns) shown = "<div style=\"white-space:pre\">" + shown.toHtmlEscaped() + "</div>";
  QMessageBox box(icon == MessageIcon::kStop ? QMessageBox::Critical : QMessageBox::NoIcon,
                  QStringLiteral("Markwright"), shown, QMessageBox::Ok,
                  QApplication::activeWindow());
  box.setTextFormat(columns ? Qt::RichText : Qt::PlainText);
  box.setWindowIcon(AppIcon());
  box.exec();
}

bool QtFileDialogs::Run(DialogMode mode, FileDialogRecord& record) {
  QStringList filters;
  for (const std::string& filter : QtNameFilters(record.filter)) {
    filters << QString::fromStdString(filter);
  }
  // The dialog starts at the name box's text, a bare name in the initial folder when one is set.
  QString start = QString::fromStdString(TrimAtNul(record.file));
  const QString initial_dir = QString::fromStdString(record.initial_dir);
  if (!initial_dir.isEmpty() && (start.isEmpty() || QFileInfo(start).isRelative())) {
    start = start.isEmpty() ? initial_dir : QDir(initial_dir).filePath(start);
  }
  const QString title = QString::fromStdString(record.title);
  QString selected_filter = filters.value(0);
  QFileDialog::Options options;
  QString path;
  if (mode == DialogMode::kSave) {
    if ((record.flags & kConfirmOverwrite) == 0) options |= QFileDialog::DontConfirmOverwrite;
    path = QFileDialog::getSaveFileName(QApplication::activeWindow(), title, start,
                                        filters.join(";;"), &selected_filter, options);
  } else {
    path = QFileDialog::getOpenFileName(QApplication::activeWindow(), title, start,
                                        filters.join(";;"), &selected_filter, options);
  }
  if (path.isEmpty()) return false;
  record.file = path.toStdString() + '\0';
  record.file_title = QFileInfo(path).fileName().toStdString() + '\0';
  return true;
}

QString QtFolderChooser::ChooseFolder(QWidget* owner, const QString& title, const QString& start) {
  return QFileDialog::getExistingDirectory(owner, title, start, QFileDialog::ShowDirsOnly);
}

int QtModalRunner::Run(QDialog& dialog) {
  return dialog.exec();
}

}  // namespace markwright::ui
