// The windows are laid out in pixels at 96 dots per inch; these helpers scale
// that layout to the screen, pick a font in which every caption fits its
// control, and centre a window on its screen.
#pragma once

#include <QList>

class QWidget;

// x pixels at 96 dots per inch, in the screen's pixels.
int Scaled(int x);
// Places a control by its 96-dots-per-inch rectangle.
void PlaceAt(QWidget* control, int left, int top, int width, int height);
// Gives the window a client area of width x height (at 96 dots per inch) that the user cannot
// resize.
void FixClientSize(QWidget* window, int width, int height);

// The desktop's default font, made smaller (never below 6 points) until each control's caption
// fits the control's rectangle; set on the window, so that its controls inherit it.
void FitFontToCaptions(QWidget* window, const QList<QWidget*>& controls);
// True when the control's caption fits inside it in its current font.
bool CaptionFits(const QWidget* control);

void CenterOnScreen(QWidget* window);
