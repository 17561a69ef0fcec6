#pragma once
// Pixel helpers shared by every plot: lines that cover their start point but not their end
// point, filled and outlined rectangles, and the integer conversions the plots are built on.
// They write straight into 32-bit images (RGB32 or ARGB32); other formats are left alone.

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRgb>
#include <QString>
#include <QStringList>

class QPainter;

enum class PlotPen {
  kSolid,
  kDotted,  // one pixel on, one off, starting with the start point
};

// A line from a to b: covers a, not b; a line of no length draws nothing. A wider pen
// widens it across its main direction (width 2: the pixels at and before the line).
// Only the pixels inside the image are written, however far away the points are.
void DrawPlotLine(QImage& image, QPoint a, QPoint b, QRgb colour, PlotPen pen = PlotPen::kSolid,
                  int width = 1);

// Fills the part of rect inside the image.
void FillPlotRect(QImage& image, const QRect& rect, QRgb colour);

// A rectangle with corners c1 and c2 in any order: it covers the columns from the smaller x
// up to, not including, the larger x, and likewise the rows. The border is one pixel of
// `pen`, the inside is `brush`; no width or no height draws nothing.
void DrawPlotRectangle(QImage& image, QPoint c1, QPoint c2, QRgb pen, QRgb brush);

// Conversions to pixel coordinates: to the nearest integer with halves to the even
// neighbour, and towards zero. Both saturate far outside any image and give 0 for NaN.
int RoundHalfEven(double x);
int TruncToInt(double x);

// Writes text with the top-left corner of its line at `topLeft`, in the painter's pen colour,
// without background.
void DrawPlotText(QPainter& painter, QPoint topLeft, const QString& text);

// The font of plot texts: 11 pixels, the sans-serif family of the pages.
QFont PlotTextFont();

// The sans-serif family list of the pages' fonts.
QStringList PageFontFamilies();
