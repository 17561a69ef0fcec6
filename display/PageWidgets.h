#pragma once
// Fonts, colours, plot panels and value box parts that the channel pages and the
// three-phase page build their controls with.

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

class QFrame;
class QLabel;
class QPalette;
class QWidget;

// Background of the value boxes, and the text colours of captions and values.
inline const QColor kSkyBlue(166, 202, 240);
inline const QColor kCaptionGrey(128, 128, 128);
inline const QColor kValueBlue(0, 0, 255);

// The pages' sans-serif font at `pixels` pixels.
QFont PageFont(int pixels, bool bold = false);

// Sets the background (filled) and the text colour of `widget`; an invalid colour leaves
// that one as it is. The colours hold under every skin.
void SetColours(QWidget* widget, QColor background, QColor text = QColor());
// The text colour of `widget` while it is disabled.
void SetDisabledTextColour(QWidget* widget, QColor text);

// A sunken panel with a 2-pixel bevel, named `name`, that holds a plot's paint box.
QFrame* PlotPanel(QWidget* parent, const char* name);

// A value box frame on `page`, sky blue.
QFrame* ValueBoxFrame(QWidget* page, const char* name);

// Row `row` (from 0) of a value box. Rows alternate between the light 3D face colour (first
// row) and the window colour of the page's palette `colours`.
QFrame* ValueRowPanel(QWidget* box, const char* name, int row, const QPalette& colours);

// A grey caption in `font`, as large as its text; with a `room` in pixels, fitted into it
// by FitLabelText.
QLabel* CaptionLabel(const QString& text, QWidget* parent, const QFont& font, int room = 0);

// Shows `text` on `label` within `room` pixels at the label's font: as it is when it fits,
// else condensed (down to kNarrowestStretch per cent of its width), else also cut with an
// ellipsis and the whole text as tooltip.
inline constexpr int kNarrowestStretch = 75;
void FitLabelText(QLabel* label, const QString& text, int room);
// Fits a caption made by CaptionLabel anew, from its whole text, into `room` pixels.
void FitCaption(QLabel* caption, int room);

// The size of every value label in `font`: room for the longest value text.
QSize ValueLabelSize(const QFont& font);

// A blue value label in `font` of the fixed `size`, so that a refresh never re-measures.
QLabel* ValueLabel(QWidget* parent, const char* name, const QFont& font, QSize size);
