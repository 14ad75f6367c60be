#pragma once

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QMimeData>
#include <QStringList>
#include <QTest>
#include <QUrl>
#include <filesystem>
#include <string>

#include "stand_ins.h"
#include "ui/main_window.h"

namespace markwright::testing {

// A main window wired to the stand-ins, with the few moves every window test makes.
struct WindowHarness {
  RecordingMessages messages;
  ScriptedFileDialogs file_dialogs;
  ScriptedFolderChooser folder_chooser;
  ScriptedModalRunner modal_runner;
  ui::CommonDialog common_dialog{file_dialogs};
  ui::MainWindow window{{messages, file_dialogs, folder_chooser, modal_runner}, common_dialog};

  template <typename Widget>
  Widget* Find(const char* name, QObject* parent = nullptr) {
    auto* widget = (parent ? parent : &window)->findChild<Widget*>(name);
    if (widget == nullptr) qFatal("no widget named %s", name);
    return widget;
  }

  void Trigger(const char* action) { Find<QAction>(action)->trigger(); }

  void SelectRate(const char* list, const char* label) {
    Find<QComboBox>(list)->setCurrentText(label);
  }

  QStringList Listed() {
    QStringList lines;
    auto* list = Find<QListWidget>("List1");
    for (int row = 0; row < list->count(); ++row) lines << list->item(row)->text();
    return lines;
  }

  // File > Open File, answering the dialog with the path.
  void OpenFile(const std::filesystem::path& path) {
    file_dialogs.answers.push_back(path.string());
    Trigger("OpenFile");
  }

  // Drops the paths on the chapter list as a file manager does, and lets the drop be handled.
  void Drop(const std::vector<std::filesystem::path>& paths) {
    QList<QUrl> urls;
    for (const auto& path : paths)
      urls << QUrl::fromLocalFile(QString::fromStdString(path.string()));
    QMimeData data;
    data.setUrls(urls);
    QWidget* target = Find<QListWidget>("List1")->viewport();
    const QPoint spot = target->rect().center();
    QDragEnterEvent enter(spot, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(spot), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QCoreApplication::sendPostedEvents();
  }
};

}  // namespace markwright::testing
