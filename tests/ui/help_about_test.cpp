// The Help menu: the command-line help in a message box, and the About window.
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "cli/help_text.h"
#include "ui/about_window.h"
#include "ui_test_registry.h"
#include "window_harness.h"

namespace markwright::testing {

class HelpAboutTest : public QObject {
  Q_OBJECT

 private slots:
  void CommandLineHelpInAMessageWithoutIcon() {
    WindowHarness h;
    h.Trigger("Cmdhelp");
    QCOMPARE(h.messages.shown.size(), size_t{1});
    QVERIFY(h.messages.shown[0].icon == ui::MessageIcon::kNone);
    const QString text = h.messages.shown[0].text;
    QCOMPARE(text, QString::fromStdString(HelpText("\r\n")));
    QVERIFY(text.startsWith("Syntax: Markwright -i <inputfile> -o <outputfile> "));
    QVERIFY(
        text.contains("<outputFPS> \r\n\r\nOptions:\r\n\r\n-i <string>\tSpecify input file\r\n"));
    QVERIFY(
        text.endsWith("\r\n\r\nNOTES: fps values can be aslo entered in this formats: "
                      "24000/1001 or 24/1.001 for example"));
    QCOMPARE(text.count("\r\n"), 37);
  }

  void AboutShowsNameVersionAndCredits() {
    const QStringList pieces = QString::fromStdString(ui::AboutText()).split("\r\n\r\n");
    QCOMPARE(pieces.size(), 4);
    QCOMPARE(pieces[0], QString("Markwright 1.0.8"));
    for (const QString& credit : pieces) QVERIFY(!credit.isEmpty() && !credit.contains('\n'));

    WindowHarness h;
    bool ran = false;
    h.modal_runner.scripts.push_back([&](QDialog& about) {
      ran = true;
      QCOMPARE(about.objectName(), QString("Form4"));
      QCOMPARE(about.windowTitle(), QString("About Markwright"));
      QVERIFY(about.findChild<QLabel*>("Label1")->text().startsWith("Markwright 1.0.8\n\n"));
      const QPixmap picture = about.findChild<QLabel*>("Image1")->pixmap();
      QCOMPARE(picture.size(), QSize(120, 120));
      QVERIFY(picture.toImage().pixelColor(60, 60).alpha() > 0);  // the SVG was drawn
      about.findChild<QPushButton*>("Command1")->click();
      QVERIFY(!about.isVisible());
      QCOMPARE(about.result(), int(QDialog::Accepted));
    });
    h.Trigger("About");
    QVERIFY(ran);
  }
};

MARKWRIGHT_UI_TEST(HelpAboutTest)

}  // namespace markwright::testing

#include "help_about_test.moc"
