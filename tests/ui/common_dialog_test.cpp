// The dialog module: the record it hands to the dialog, the shared settings and the cancel rule.
#include "ui/common_dialog.h"

#include <QTest>

#include "stand_ins.h"
#include "ui_test_registry.h"

namespace markwright::testing {

using ui::CommonDialog;
using ui::DialogCancelled;

class CommonDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void RecordBuffersAndFilter() {
    ScriptedFileDialogs dialogs;
    CommonDialog dialog(dialogs);
    dialog.settings().file_name = "Chapters.txt";
    dialog.ShowSave();
    const ui::FileDialogRecord& record = dialogs.calls.at(0).second;
    QCOMPARE(record.file.size(), size_t{273});
    QCOMPARE(record.file, std::string("Chapters.txt") + std::string(261, '\0'));
    QCOMPARE(dialog.settings().max_file_size, 260);

    dialog.settings().file_name.clear();
    QCOMPARE(dialog.MakeRecord().file, std::string(261, '\0'));
    QCOMPARE(ui::ToNulSeparated(""), std::string(2, '\0'));
    QCOMPARE(ui::ToNulSeparated("Celltimes Text (*.txt)|*.txt"),
             std::string("Celltimes Text (*.txt)\0*.txt\0\0", 30));
    QCOMPARE(ui::TrimAtNul(std::string("abc\0def", 7)), std::string("abc"));
    QCOMPARE(ui::TrimAtNul("abc"), std::string("abc"));
  }

  void CancelRaisesOnlyWhenAsked() {
    ScriptedFileDialogs dialogs;
    CommonDialog dialog(dialogs);
    dialog.settings().file_name = "/old/path.txt";
    dialog.settings().file_title = "path.txt";
    dialog.ShowOpen();  // cancelled, CancelError off
    QCOMPARE(dialog.settings().file_name, std::string("/old/path.txt"));
    QCOMPARE(dialog.settings().file_title, std::string("path.txt"));

    dialog.settings().cancel_error = true;
    try {
      dialog.ShowOpen();
      QFAIL("a cancel with CancelError on must raise");
    } catch (const DialogCancelled& cancelled) {
      QCOMPARE(cancelled.number(), 32767);
      QCOMPARE(std::string(cancelled.what()), std::string("Cancel was pressed"));
    }

    // A mode other than save or open shows nothing and counts as a cancel.
    QVERIFY_THROWS_EXCEPTION(DialogCancelled, dialog.ShowFileDialog(3));
    QCOMPARE(dialogs.calls.size(), size_t{2});

    dialogs.answers.push_back("/discs/movie/chapters.txt");
    dialog.ShowOpen();
    QCOMPARE(dialog.settings().file_name, std::string("/discs/movie/chapters.txt"));
    QCOMPARE(dialog.settings().file_title, std::string("chapters.txt"));
  }

  void FiltersBecomeQtNameFilters() {
    const auto filters =
        ui::QtNameFilters(ui::ToNulSeparated("Supported Files|*.txt;VTS*.ifo|DVD Playlist "
                                             "(*.ifo)|VTS*.ifo|Celltimes Text (*.txt)|*.txt"));
    QCOMPARE(filters.size(), size_t{3});
    QCOMPARE(filters[0], std::string("Supported Files (*.txt *.TXT VTS*.ifo VTS*.IFO vts*.ifo)"));
    QCOMPARE(filters[1], std::string("DVD Playlist (VTS*.ifo VTS*.IFO vts*.ifo)"));
    QCOMPARE(filters[2], std::string("Celltimes Text (*.txt *.TXT)"));
    QVERIFY(ui::QtNameFilters(ui::ToNulSeparated("")).empty());
  }
};

MARKWRIGHT_UI_TEST(CommonDialogTest)

}  // namespace markwright::testing

#include "common_dialog_test.moc"
