// Makes the data files the build derives from sources: the handbook as a PDF from its
// Markdown text, the program's icon as a PNG, and the four wiring pictures of the
// instrument settings window as JPEGs.
//   rxm5620-make-data handbook IN.md OUT.pdf
//   rxm5620-make-data icon OUT.png SIZE
//   rxm5620-make-data wiring FOLDER
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

int Handbook(const QString& in, const QString& out) {
  QFile source(in);
  if (!source.open(QIODevice::ReadOnly)) {
    std::fprintf(stderr, "cannot read %s\n", qPrintable(in));
    return 1;
  }
  QTextDocument document;
  document.setDefaultFont(QFont("DejaVu Sans", 10));
  document.setMarkdown(QString::fromUtf8(source.readAll()));
  const QString temporary = out + ".tmp";
  {
    QPdfWriter writer(temporary);
    writer.setTitle("RXM5620 companion application: user's guide");
    writer.setCreator("rxm5620");
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    writer.setResolution(300);
    document.setPageSize(QSizeF(writer.width(), writer.height()));
    document.print(&writer);
  }
  if (QFile::exists(out)) QFile::remove(out);
  if (!QFile::rename(temporary, out)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
    return 1;
  }
  return 0;
}

// A sine trace over a three-phase star on a rounded blue tile.
void DrawIcon(QPainter& p, int size) {
  const double s = size / 64.0;
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(s, s);
  QPainterPath tile;
  tile.addRoundedRect(2, 2, 60, 60, 12, 12);
  p.fillPath(tile, QColor(0x1f, 0x4e, 0x79));
  const QColor phases[3] = {QColor(250, 210, 0), QColor(0, 170, 80), QColor(230, 50, 40)};
  for (int k = 0; k < 3; ++k) {
    p.save();
    p.translate(32, 32);
    p.rotate(-90 + 120 * k);
    p.setPen(QPen(phases[k], 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(20, 0));
    p.restore();
  }
  QPainterPath wave;
  for (int x = 8; x <= 56; ++x) {
    const double y = 32 - 11 * std::sin((x - 8) / 48.0 * 2 * M_PI);
    if (x == 8) {
      wave.moveTo(x, y);
    } else {
      wave.lineTo(x, y);
    }
  }
  p.setPen(QPen(Qt::white, 3));
  p.setBrush(Qt::NoBrush);
  p.drawPath(wave);
}

int Icon(const QString& out, int size) {
  QImage image(size, size, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    DrawIcon(painter, size);
  }
  QSaveFile file(out);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(out));
    return 1;
  }
  return 0;
}

}  // namespace

// One of the four connections, 257 × 169: the source's lines from the left, the meter's
// current inputs as transformer rings on the lines (I1 to I3), its voltage inputs as taps
// with the measured pair (U1 to U3), the load at the right.
void DrawWiring(QPainter& p, int wiring) {
  p.fillRect(0, 0, 257, 169, Qt::white);
  p.setRenderHint(QPainter::Antialiasing);
  QFont font("DejaVu Sans");
  font.setPixelSize(10);
  p.setFont(font);
  const bool single = wiring == 0;
  QStringList lines = single ? QStringList{"L", "N"} : QStringList{"A", "B", "C"};
  if (wiring == 3) lines << "N";
  const int top = 30, gap = single ? 50 : 32;
  auto yOf = [&](int i) { return top + i * gap; };
  const QColor colours[4] = {QColor(200, 140, 0), QColor(0, 128, 0), QColor(220, 0, 0),
                             QColor(0, 0, 200)};
  // Title.
  const char* titles[4] = {"1P2W", "3P3W (2 elements)", "3P3W (3VT3CT)", "3P4W"};
  p.setPen(Qt::black);
  p.drawText(QRect(0, 2, 257, 14), Qt::AlignCenter, titles[wiring]);
  // Source and load.
  const int last = yOf(static_cast<int>(lines.size()) - 1);
  p.setPen(QPen(Qt::black, 1));
  p.drawRect(4, top - 10, 22, last - top + 20);
  p.drawText(QRect(4, last + 12, 40, 12), Qt::AlignLeft, "Source");
  p.drawRect(230, top - 10, 22, last - top + 20);
  p.drawText(QRect(215, last + 12, 40, 12), Qt::AlignRight, "Load");
  for (int i = 0; i < lines.size(); ++i) {
    const int y = yOf(i);
    const QColor colour = lines[i] == "N" ? QColor(90, 90, 90) : colours[single ? 0 : i];
    p.setPen(QPen(colour, 2));
    p.drawLine(26, y, 230, y);
    p.setPen(Qt::black);
    p.drawText(QRect(6, y - 7, 18, 14), Qt::AlignCenter, lines[i]);
  }
  // Current inputs: which lines carry a transformer.
  std::vector<int> currents = single        ? std::vector<int>{0}
                              : wiring == 1 ? std::vector<int>{0, 2}
                                            : std::vector<int>{0, 1, 2};
  int n = 1;
  for (int line : currents) {
    const int y = yOf(line);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(70, y), 7, 7);
    p.drawText(QRect(52, y - 20, 40, 12), Qt::AlignCenter, QString("I%1").arg(n++));
  }
  // Voltage inputs: the pairs of lines each element measures.
  std::vector<std::pair<int, int>> pairs;
  if (single) pairs = {{0, 1}};
  if (wiring == 1) pairs = {{0, 1}, {2, 1}};
  if (wiring == 2) pairs = {{0, 1}, {1, 2}, {2, 0}};
  if (wiring == 3) pairs = {{0, 3}, {1, 3}, {2, 3}};
  n = 1;
  int x = 120;
  for (auto [a, b] : pairs) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(x, yOf(a)), 2.5, 2.5);
    p.drawEllipse(QPointF(x + 8, yOf(b)), 2.5, 2.5);
    p.setBrush(Qt::white);
    const int y1 = std::min(yOf(a), yOf(b)), y2 = std::max(yOf(a), yOf(b));
    const QRect meter(x - 3, (y1 + y2) / 2 - 8, 22, 16);
    p.drawLine(x, yOf(a), x, meter.top() + (yOf(a) < yOf(b) ? 0 : meter.height()));
    p.drawLine(x + 8, yOf(b), x + 8, meter.top() + (yOf(b) < yOf(a) ? 0 : meter.height()));
    p.drawRect(meter);
    p.drawText(meter, Qt::AlignCenter, QString("U%1").arg(n++));
    x += 34;
  }
}

int Wiring(const QString& folder) {
  const char* names[4] = {"1P2W.jpg", "3P3W.jpg", "3P3W(3V3A).jpg", "3P4W.jpg"};
  for (int w = 0; w < 4; ++w) {
    QImage image(257, 169, QImage::Format_RGB32);
    QPainter painter(&image);
    DrawWiring(painter, w);
    painter.end();
    const QString path = folder + "/" + names[w];
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "JPG", 92) || !file.commit()) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication application(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() == 4 && args[1] == "handbook") return Handbook(args[2], args[3]);
  if (args.size() == 4 && args[1] == "icon") return Icon(args[2], args[3].toInt());
  if (args.size() == 3 && args[1] == "wiring") return Wiring(args[2]);
  std::fprintf(stderr,
               "usage: rxm5620-make-data handbook IN.md OUT.pdf | icon OUT.png SIZE | wiring "
               "FOLDER\n");
  return 2;
}
