#include "render/stats_renderer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "app/main_form.h"
#include "app/menu_text.h"
#include "app/own_data_folder.h"
#include "app/statistics_window.h"
#include "model/square_catalogue.h"

namespace dlslab::app {
using render::DrawGradientRect;
using render::DrawHistogram;
using render::DrawStatisticalInfo;

class StatsRendererTest : public QObject {
  Q_OBJECT

  static bool is_red(const QColor& c) { return c.red() > 100 && c.green() < 40 && c.blue() < 40; }
  static QColor pixel_at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }
  static CellHistograms empty_histograms() {
    CellHistograms h;
    for (TStatsHistogram& bins : h) bins.assign(kCellBinsCount, 0);
    return h;
  }
  static QAction* menu_action(TMainForm& form, const QString& caption) {
    for (QAction* top : form.menuBar()->actions())
      for (QAction* item : top->menu()->actions())
        if (caption_of(item) == caption) return item;
    return nullptr;
  }

 private slots:
  void initTestCase() { use_own_data_folder(); }

  void gradientRectRunsFromTopColourToBottomColourInsideAnOutline() {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::white);
    DrawGradientRect(image, 2, 10, 15, 3, kClRed, rgb(0, 0, 200));  // y values in any order
    QCOMPARE(pixel_at(image, 2, 3), QColor(Qt::black));
    QCOMPARE(pixel_at(image, 9, 14), QColor(Qt::black));
    QCOMPARE(pixel_at(image, 10, 8), QColor(Qt::white));  // the right edge is left out
    QCOMPARE(pixel_at(image, 5, 15), QColor(Qt::white));
    QCOMPARE(pixel_at(image, 5, 4), QColor(255, 0, 0));       // t = 0
    QCOMPARE(pixel_at(image, 5, 14), QColor(0, 0, 200));      // t = h, over the lower outline
    QCOMPARE(pixel_at(image, 5, 9), QColor(128, 0, 100));     // halfway, half to even
    DrawGradientRect(image, 12, 18, 5, 5, kClRed, kClBlack);  // no height: nothing
    QCOMPARE(pixel_at(image, 14, 5), QColor(Qt::white));
  }

  void pictureOfAConstantCell() {
    CellHistograms h = empty_histograms();
    h[0][1] = 5;            // cell (0, 0) always holds 0
    h[2 * 10 + 3][10] = 1;  // cell (2, 3): one 9
    const QImage picture = DrawStatisticalInfo(h);
    QCOMPARE(picture.size(), QSize(2110, 2110));
    QCOMPARE(pixel_at(picture, 5, 5), QColor(Qt::white));    // outside the pictures
    QCOMPARE(pixel_at(picture, 10, 10), QColor(Qt::black));  // the outline of the first
    QCOMPARE(pixel_at(picture, 10 + 25, 10 + 100), QColor(230, 230, 230));  // the band, bin 0
    // Bin 1 spans x 35..48 of the picture, from y 10 (the tallest bar) to the baseline.
    QCOMPARE(pixel_at(picture, 10 + 42, 10 + 10), QColor(Qt::black));
    QCOMPARE(pixel_at(picture, 10 + 42, 10 + 11), QColor(255, 0, 0));
    QVERIFY(pixel_at(picture, 10 + 42, 10 + 150).red() < 30);
    QCOMPARE(pixel_at(picture, 10 + 38, 10 + 100), QColor(0, 128, 0));  // the marker at value 1
    QCOMPARE(pixel_at(picture, 10 + 39, 10 + 100), QColor(0, 128, 0));
    QVERIFY(pixel_at(picture, 10 + 40, 10 + 100) != QColor(0, 128, 0));
    // Cell (2, 3) sits at column 3, row 2; its one value fills the last bin to the top.
    QVERIFY(is_red(pixel_at(picture, 3 * 210 + 10 + 172, 2 * 210 + 10 + 11)));
    // The empty cell (0, 1) next to the first has no bar anywhere.
    for (int y = 10; y < 200; ++y)
      for (int x = 0; x < 200; ++x) QVERIFY(!is_red(pixel_at(picture, 210 + 10 + x, 10 + y)));
    // The axis below the bars, from x 20 to 179, with text under it.
    int axis = -1;
    for (int y = 160; y < 200 && axis < 0; ++y) {
      bool line = true;
      for (int x = 20; x < 180; ++x) line = line && pixel_at(picture, 10 + x, 10 + y) == Qt::black;
      if (line) axis = y;
    }
    QVERIFY(axis > 165);
    QCOMPARE(pixel_at(picture, 10 + 19, 10 + axis), QColor(Qt::white));
    QCOMPARE(pixel_at(picture, 10 + 181, 10 + axis), QColor(Qt::white));     // past the end tick
    QCOMPARE(pixel_at(picture, 10 + 20, 10 + axis - 3), QColor(Qt::black));  // the end tick
    QCOMPARE(pixel_at(picture, 10 + 20, 10 + axis + 3), QColor(Qt::black));
    QCOMPARE(pixel_at(picture, 10 + 20, 10 + axis + 4), QColor(Qt::white));
    int dark = 0;
    for (int y = axis + 4; y < 199; ++y)
      for (int x = 21; x < 180; ++x) dark += pixel_at(picture, 10 + x, 10 + y).lightness() < 128;
    QVERIFY(dark > 40);
  }

  void windowRunsBothCommands() {
    TMainForm form;
    QStringList messages;
    form.set_message_sink([&messages](const QString& text) { messages << text; });
    QVERIFY(menu_action(form, "Draw statistical info")->isEnabled());
    QVERIFY(menu_action(form, "Find square in folder")->isEnabled());
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    form.context().collection.AddSquareString(kSpecialSquares[0].digits, true, true);
    form.run_command("Draw statistical info");
    const QImage saved(dir.path() + "/bmp.bmp");
    QCOMPARE(saved.size(), QSize(2110, 2110));
    // The picture written comes up in a window of its own, and the notice names its file.
    StatisticsWindow* shown = form.statistics_window();
    QVERIFY(shown->isVisible());
    QCOMPARE(shown->picture().convertToFormat(QImage::Format_RGB32),
             saved.convertToFormat(QImage::Format_RGB32));
    QCOMPARE(form.notice()->text(), "Draw statistical info: the picture is written to " +
                                        QDir::currentPath() + "/bmp.bmp");
    const QImage painted = shown->grab().toImage();
    int dark = 0;
    for (int y = 0; y < painted.height(); y += 2)
      for (int x = 0; x < painted.width(); x += 2)
        dark += painted.pixelColor(x, y).lightness() < 100;
    QVERIFY(dark > 100);  // the outlines and bars, scaled down to the window
    form.run_command("Find square in folder",
                     dir.path().toStdString());  // bmp.bmp is no collection
    QCOMPARE(messages,
             QStringList{"TSquaresCollection.LoadFromFile_VelmoraFormat(): Wrong file format"});
    QVERIFY(QDir::setCurrent(previous));
  }

  void cliWritesThePictureOffscreen() {
    QTemporaryDir dir;
    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    cli.start(DLSLAB_CLI_PATH, {"Draw statistical info"});
    QVERIFY(cli.waitForFinished(30000));
    QCOMPARE(cli.exitCode(), 0);
    QVERIFY(cli.readAllStandardError().startsWith(QByteArray(100, '0')));
    const QImage saved(dir.path() + "/bmp.bmp");
    QCOMPARE(saved.size(), QSize(2110, 2110));
    QCOMPARE(saved.pixelColor(10 + 25, 10 + 100), QColor(230, 230, 230));
  }
};

}  // namespace dlslab::app

QTEST_MAIN(dlslab::app::StatsRendererTest)
#include "stats_renderer_test.moc"
