#pragma once

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDropEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ui/main_window.h"

namespace markwright::testing {

// A main window whose desktop is this harness: it records the messages and answers the file
// dialogs, the folder chooser and the program's own modal windows from scripts. Widgets are
// driven by Qt Test's mouse and key events, so they take the user's path through the event loop.
struct WindowHarness : ui::MessageBoxes, ui::FileDialogs, ui::FolderChooser, ui::ModalRunner {
  void Show(const QString& text, ui::MessageIcon) override {
    messages.push_back(text.toStdString());
  }
  // The next path answers; an empty one cancels.
  bool Run(ui::DialogMode, ui::FileDialogRecord& record) override {
    records.push_back(record);
    const std::string answer = file_answers.at(0);
    file_answers.pop_front();
    record.file = answer + '\0';
    record.file_title = std::filesystem::path(answer).filename().string() + '\0';
    return !answer.empty();
  }
  QString ChooseFolder(QWidget*, const QString&, const QString& start) override {
    folder_starts.push_back(start.toStdString());
    return QString::fromStdString(std::exchange(folder_answer, ""));
  }
  // Runs the next script on the window; what it leaves open is closed as by the close box.
  int Run(QDialog& dialog) override {
    dialog.show();
    const auto script = scripts.at(0);
    scripts.pop_front();
    script(dialog);
    if (dialog.isVisible()) dialog.reject();
    return dialog.result();
  }

  template <typename Widget = QListWidget>
  static Widget* Find(QObject& parent, const char* name = "List1") {
    auto* widget = parent.findChild<Widget*>(name);
    if (widget == nullptr) qFatal("no widget named %s", name);
    return widget;
  }
  void Trigger(const char* action) { Find<QAction>(window, action)->trigger(); }
  static void Click(QObject& parent, const char* button) {
    QTest::mouseClick(Find<QPushButton>(parent, button), Qt::LeftButton);
  }
  // Clicks the row of a window's list.
  static void ClickRow(QObject& parent, int row) {
    QListWidget* list = Find(parent);
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  }
  // Opens the drop-down list with the mouse, goes to the label by key and takes it with Return.
  void SelectRate(const char* list, const char* label) {
    auto* rates = Find<QComboBox>(window, list);
    QTest::mouseClick(rates, Qt::LeftButton);
    QAbstractItemView* items = rates->view();
    QTest::keyClick(items, Qt::Key_Home);
    for (int i = 0; i < rates->count() && items->currentIndex().data() != label; ++i) {
      QTest::keyClick(items, Qt::Key_Down);
    }
    QTest::keyClick(items, Qt::Key_Return);
    if (items->isVisible()) qFatal("the list of %s stayed open", list);
  }
  // Types the value into the Edit menu's dialog and presses OK.
  void Edit(const char* action, const char* value) {
    scripts.push_back([value](QDialog& dialog) {
      QTest::keyClicks(Find<QLineEdit>(dialog, "Text1"), value);
      Click(dialog, "Command1");
    });
    Trigger(action);
  }
  // The table's rows as "time" or "time  name", at the output rate.
  std::vector<std::string> Listed() {
    std::vector<std::string> lines;
    const QAbstractItemModel* rows = Find<QAbstractItemView>(window)->model();
    for (int row = 0; row < rows->rowCount(); ++row) {
      lines.push_back(rows->index(row, 1).data().toString().toStdString());
      const QString name = rows->index(row, 3).data().toString();
      if (!name.isEmpty()) lines.back() += "  " + name.toStdString();
    }
    return lines;
  }
  void OpenFile(const std::filesystem::path& path) {
    file_answers.push_back(path);
    Trigger("OpenFile");
  }
  // Drops the paths on the chapter list as a file manager does.
  void Drop(const std::vector<std::filesystem::path>& paths) {
    QMimeData data;
    for (const auto& path : paths) {
      data.setUrls(data.urls() << QUrl::fromLocalFile(QString::fromStdString(path)));
    }
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Find<QAbstractItemView>(window)->viewport(), &enter);
    QCoreApplication::sendEvent(Find<QAbstractItemView>(window)->viewport(), &drop);
    QCoreApplication::sendPostedEvents();
  }

  std::vector<std::string> messages;
  std::deque<std::string> file_answers;
  std::vector<ui::FileDialogRecord> records;
  std::string folder_answer;
  std::vector<std::string> folder_starts;  // where each Open Disc started
  std::deque<std::function<void(QDialog&)>> scripts;
  ui::CommonDialog common_dialog{*this};
  ui::MainWindow window{{*this, *this, *this, *this}, common_dialog};
};

}  // namespace markwright::testing
