#pragma once
// What the report pages share: the page geometry from the page size in device pixels, the
// fonts, text drawing, the header, the information block and the number texts. Positions
// are fractions of the page, so a preview is a scaled copy of the printed page; font sizes
// are points of the target device, so a 600 dpi page and a preview look alike.

#include <QColor>
#include <QFont>
#include <QString>
#include <cstdint>

#include "print/PrintInfo.h"

class QPainter;

struct PageFrame {
  int W = 0, H = 0;
  int L = 0, T = 0, R = 0, B = 0;  // margins and the printable area's right and bottom
  bool Portrait() const { return H > W; }
};
PageFrame MakePageFrame(int W, int H);

// Cut toward zero, and round with halves to the even neighbour.
int Trunc(double x);
int Round(double x);

namespace report {
inline const QColor kBlack(0, 0, 0);
inline const QColor kWhite(255, 255, 255);
inline const QColor kGray(128, 128, 128);
inline const QColor kMediumGray(160, 160, 164);
inline const QColor kRed(255, 0, 0);
inline const QColor kGreen(0, 128, 0);
inline const QColor kLime(0, 255, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kAqua(0, 255, 255);
inline const QColor kOrange(255, 128, 0);
}  // namespace report

// `family` at `points` of the painter's device. Latin text and digits stay in a Latin face
// (DejaVu Sans where the family is missing), so that a PDF's text can be searched and
// copied. Chinese and the full-width colon come from "WenQuanYi Zen Hei", a simplified
// Chinese face whose radicals have glyphs of their own: with "Noto Sans CJK SC", which
// shares one glyph between a character such as 力 and the Kangxi radical ⼒, the PDF's text
// layer gives the radical, and "电力" is found as "电⼒". Noto is the last resort.
QFont ReportFont(const QString& family, double points);
// Sets the painter's font to `family` at `points`.
void SetReportFont(QPainter& painter, const QString& family, double points);

// Text with its top-left corner at (x, y), in the pen's colour, on the painter's
// background when the background mode is opaque.
void DrawReportText(QPainter& painter, int x, int y, const QString& text);

// The screen's value texts, drawn at (x, y).
void DrawMeasuredValue(QPainter& painter, int x, int y, float value, const QString& unit, int width,
                       float scale, float divisor);
void DrawCounterValue(QPainter& painter, int x, int y, double value, const QString& unit,
                      float scale, float divisor);

// The general text of the value rounded to one, two or three decimals, halves to even.
QString D1(double v);
QString D2(double v);
QString D3(double v);

// Title, page label at L + Trunc((R − L) × f), and the header rule; in "Verdana".
void DrawReportHeader(QPainter& painter, const PageFrame& page, const QString& label, double f);
// The rule and the six texts of the print information at the foot of the page.
void DrawInformationBlock(QPainter& painter, const PageFrame& page, const PrintInfo& info);

// A box of a page: corners (x1, y1) and (x2, y2), drawn as a rectangle with the pen.
struct ReportBox {
  int x1, y1, x2, y2;
  int w() const { return x2 - x1; }
  int h() const { return y2 - y1; }
};
void DrawReportBox(QPainter& painter, const ReportBox& box);

// The largest magnitude of 512 samples, 0 when all are 0.
int LargestSample(const int16_t (&samples)[512]);
// A trace of 512 samples from x = x1: sample k at x1 + Round(X) with X the float32 sum of k
// steps `dx`, and at yc − Round(sample × scale).
void DrawReportTrace(QPainter& painter, int x1, int yc, const int16_t (&samples)[512], float scale,
                     float dx);

// A pen of `colour` and `width` device pixels (0: the thinnest line) in `style`.
void SetReportPen(QPainter& painter, const QColor& colour, int width,
                  Qt::PenStyle style = Qt::SolidLine);
