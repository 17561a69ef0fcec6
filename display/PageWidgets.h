#pragma once
// Fonts, colours and the plot panel that the channel pages and the three-phase page build
// their controls with.

#include <QColor>
#include <QFont>

class QFrame;
class QWidget;

// Background of the value boxes, and the text colours of captions and values.
inline const QColor kSkyBlue(166, 202, 240);
inline const QColor kCaptionGrey(128, 128, 128);
inline const QColor kValueBlue(0, 0, 255);

// The pages' sans-serif font at `pixels` pixels.
QFont PageFont(int pixels, bool bold = false);

// Sets the background (filled) and the text colour of `widget`; an invalid colour leaves
// that one as it is.
void SetColours(QWidget* widget, QColor background, QColor text = QColor());

// A sunken panel with a 2-pixel bevel, named `name`, that holds a plot's paint box.
QFrame* PlotPanel(QWidget* parent, const char* name);
