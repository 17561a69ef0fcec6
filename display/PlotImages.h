#pragma once
// The off-screen images of the live plots. Every plot is drawn into ScratchImage, copied into
// its own stored image and from there into its paint box; a repaint only copies, so exposing
// a window or switching pages never redraws a plot. The twelve images are created once at
// half the screen size and never reallocated; a plot area larger than that is drawn only
// within the image.

#include <QColor>
#include <QImage>
#include <QRect>
#include <QSize>

class QPainter;

extern QImage ScratchImage;
extern QImage WaveImage[3];             // channel 1 to 3 at index 0 to 2
extern QImage VoltageHarmonicImage[3];  // the same
extern QImage CurrentHarmonicImage[3];  // the same
extern QImage SamplingImage;            // three-phase sampling plot
extern QImage PhasorImage;              // phasor diagram

// The rectangle of every plot fill, copy and repaint: (0, 0) and the size of the channel 1
// waveform box, set by each refresh. Before the first refresh it covers the images.
extern QRect PlotRect;

// The plot background and grid colours of the style settings; black until they are applied.
extern QColor WaveBackground;
extern QColor ScaleColor;

// Creates the twelve images (RGB32, filled black) of `size` and sets PlotRect to cover
// them. Only the first call creates them; later calls change nothing and return false.
bool CreatePlotImages(QSize size);
// The same at half the size of the primary screen.
bool CreatePlotImages();
bool PlotImagesCreated();

// Half the primary screen (integer halves), or 640 x 480 without a screen.
QSize HalfScreenSize();

// Copies the part of PlotRect inside both images from source to target (no allocation).
void CopyPlotRect(const QImage& source, QImage& target);

// Paints the part of PlotRect inside the image at the painter's origin.
void PaintPlotRect(QPainter& painter, const QImage& image);
