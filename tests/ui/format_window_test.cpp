// The format window: twelve formats, a preview from the main window's listed chapters and
// rates, the CCE SP refusal, and Save with its proposals and failures.
#include <unistd.h>
#include <QDialog>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <memory>

#include "support/temp_dir.h"
#include "ui/format_window.h"
#include "ui_test_registry.h"
#include "window_harness.h"
#include "writers/format_table.h"

namespace markwright::testing {
namespace {

namespace fs = std::filesystem;
using ui::MessageIcon;

void Select(QDialog& formats, const char* display_name) {
  auto* list = formats.findChild<QListWidget*>("List1");
  const auto found = list->findItems(display_name, Qt::MatchExactly);
  if (found.isEmpty()) qFatal("no format %s", display_name);
  list->setCurrentItem(found.front());
}

std::string Preview(QDialog& formats) {
  return static_cast<ui::FormatWindow&>(formats).PreviewText();
}

void ClickSave(QDialog& formats) {
  formats.findChild<QPushButton*>("Command1")->click();
}

// The next widget that Tab moves to.
QWidget* NextTabStop(QWidget* widget) {
  do {
    widget = widget->nextInFocusChain();
  } while ((widget->focusPolicy() & Qt::TabFocus) != Qt::TabFocus || !widget->isVisible());
  return widget;
}

std::string NulSeparated(std::string text) {
  for (char& c : text) c = c == '|' ? '\0' : c;
  return text + std::string(2, '\0');
}

}  // namespace

class FormatWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    harness_ = std::make_unique<WindowHarness>();
    harness_->OpenFile(folder_.Write("chapters.txt",
                                     "CHAPTER01=00:00:00.000\r\nCHAPTER01NAME=\r\n"
                                     "CHAPTER02=00:10:00.000\r\nCHAPTER02NAME=\r\n"));
    harness_->SelectRate("Combo2", "25");
  }
  void cleanup() { harness_.reset(); }

  void OpensWithTwelveFormatsAndNoPreview() {
    WindowHarness h;  // no chapters at all: the window still opens
    bool ran = false;
    h.modal_runner.scripts.push_back([&](QDialog& formats) {
      ran = true;
      QCOMPARE(formats.objectName(), QString("Form3"));
      QCOMPARE(formats.windowTitle(), QString("Select destination format"));
      auto* list = formats.findChild<QListWidget*>("List1");
      QCOMPARE(list->count(), 12);
      QCOMPARE(list->item(0)->text(), QString("OGG Text File"));
      QCOMPARE(list->item(11)->text(), QString("Muxman"));
      QVERIFY(list->selectedItems().isEmpty());
      QVERIFY(formats.findChild<QPlainTextEdit*>("Text1")->toPlainText().isEmpty());
      QCOMPARE(formats.findChild<QPushButton*>("Command1")->text(), QString("Save"));
      QCOMPARE(formats.findChild<QPushButton*>("Command2")->text(), QString("Cancel"));
      // Tab order: list, preview, Save, Cancel.
      auto* preview = formats.findChild<QPlainTextEdit*>("Text1");
      auto* save = formats.findChild<QPushButton*>("Command1");
      QCOMPARE(NextTabStop(list), preview);
      QCOMPARE(NextTabStop(preview), save);
      QCOMPARE(NextTabStop(save), formats.findChild<QPushButton*>("Command2"));
    });
    h.Trigger("SaveAs");
    QVERIFY(ran);
  }

  void PreviewsEveryFormatFromTheListedChapters() {
    WindowHarness& h = *harness_;
    const ChapterList listed{"00:00:00.000", "00:09:35.425"};
    h.modal_runner.scripts.push_back([&](QDialog& formats) {
      for (const DestinationFormat& format : kDestinationFormats) {
        Select(formats, std::string(format.display_name).c_str());
        QCOMPARE(Preview(formats), BuildFormatText(format, listed, 25, "23.976"));
      }
    });
    h.Trigger("SaveAs");
    for (const ShownMessage& message : h.messages.shown) qWarning() << message.text;
    QVERIFY(h.messages.shown.empty());
  }

  void CceRefusalLeavesThePreviewEmpty() {
    WindowHarness& h = *harness_;
    h.SelectRate("Combo1", "60");
    h.modal_runner.scripts.push_back([&](QDialog& formats) {
      Select(formats, "CCE SP Text File");
      QCOMPARE(h.messages.shown.size(), size_t{1});
      QCOMPARE(h.messages.shown[0].text,
               QString("Frame rate is not allowed!, use from 23.976-30.000"));
      QVERIFY(h.messages.shown[0].icon == MessageIcon::kNone);
      QVERIFY(Preview(formats).empty());
      Select(formats, "OGG Text File");
      QVERIFY(Preview(formats).starts_with("CHAPTER01="));
      QCOMPARE(h.messages.shown.size(), size_t{1});
    });
    h.Trigger("SaveAs");
  }

  void SaveWritesThePreviewUnderTheProposedName() {
    WindowHarness& h = *harness_;
    const fs::path target = folder_ / "out.txt";
    h.file_dialogs.answers.push_back(target.string());
    std::string preview;
    h.modal_runner.scripts.push_back([&](QDialog& formats) {
      Select(formats, "Celltimes Text File");
      preview = Preview(formats);
      ClickSave(formats);
      QVERIFY(formats.isVisible());  // the window stays open for another format
    });
    h.Trigger("SaveAs");
    const auto& [mode, record] = h.file_dialogs.calls.back();
    QVERIFY(mode == ui::DialogMode::kSave);
    QCOMPARE(record.title, std::string("Save Chapter File As"));
    QCOMPARE(record.flags, ui::kConfirmOverwrite);
    QCOMPARE(ui::TrimAtNul(record.file), std::string("Celltimes.txt"));
    QCOMPARE(record.filter, NulSeparated("Celltimes Text (*.txt)|*.txt"));
    QVERIFY(!preview.empty());
    QCOMPARE(ReadFile(target), preview);
    QVERIFY(h.messages.shown.empty());
  }

  void SaveWithoutSelectionKeepsTheLastDialogsNameAndFilter() {
    WindowHarness& h = *harness_;
    const std::string opened = h.common_dialog.settings().file_name;
    const fs::path target = folder_ / "empty.txt";
    h.file_dialogs.answers.push_back(target.string());
    h.modal_runner.scripts.push_back([&](QDialog& formats) { ClickSave(formats); });
    h.Trigger("SaveAs");
    const ui::FileDialogRecord& record = h.file_dialogs.calls.back().second;
    QCOMPARE(ui::TrimAtNul(record.file), opened);
    QVERIFY(record.filter.starts_with(std::string("Supported Files\0", 16)));
    QVERIFY(fs::exists(target));
    QCOMPARE(ReadFile(target), std::string());
  }

  void SaveFailureIsToldAndCancelIsSilent() {
    WindowHarness& h = *harness_;
    const fs::path existing = folder_.Write("kept.txt", "old content");
    fs::permissions(existing, fs::perms::owner_read);
    const fs::path nowhere = folder_ / "missing folder" / "out.txt";
    h.file_dialogs.answers = {nowhere.string(), existing.string(), std::nullopt};
    h.modal_runner.scripts.push_back([&](QDialog& formats) {
      Select(formats, "OGG Text File");
      const std::string preview = Preview(formats);
      ClickSave(formats);
      QCOMPARE(h.messages.shown.size(), size_t{1});
      QVERIFY(h.messages.shown[0].text.contains(QString::fromStdString(nowhere.string())));
      QVERIFY(h.messages.shown[0].icon == MessageIcon::kStop);
      QVERIFY(formats.isVisible());
      QCOMPARE(Preview(formats), preview);
      if (::geteuid() != 0) {  // root writes through any permission bits
        ClickSave(formats);
        QCOMPARE(h.messages.shown.size(), size_t{2});
        QCOMPARE(ReadFile(existing), std::string("old content"));
      } else {
        h.file_dialogs.answers.pop_front();
      }
      const size_t told = h.messages.shown.size();
      ClickSave(formats);  // cancelled
      QCOMPARE(h.messages.shown.size(), told);
    });
    h.Trigger("SaveAs");
    QVERIFY(!fs::exists(nowhere));
  }

 private:
  TempDir folder_;
  std::unique_ptr<WindowHarness> harness_;
};

MARKWRIGHT_UI_TEST(FormatWindowTest)

}  // namespace markwright::testing

#include "format_window_test.moc"
