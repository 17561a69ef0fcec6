// Makes the data files the build derives from sources: the handbook as a PDF from its
// Markdown text, and the program's icon as a PNG.
//   rxm5620-make-data handbook IN.md OUT.pdf
//   rxm5620-make-data icon OUT.png SIZE
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

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication application(argc, argv);
  const QStringList args = QGuiApplication::arguments();
  if (args.size() == 4 && args[1] == "handbook") return Handbook(args[2], args[3]);
  if (args.size() == 4 && args[1] == "icon") return Icon(args[2], args[3].toInt());
  std::fprintf(stderr, "usage: rxm5620-make-data handbook IN.md OUT.pdf | icon OUT.png SIZE\n");
  return 2;
}
