#include "DpiScale.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <cmath>

namespace {

double DotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

// The width a caption needs inside its control, decorations included.
int NeededWidth(const QWidget* control, const QFontMetrics& fm) {
    if (const auto* check = qobject_cast<const QCheckBox*>(control)) {
        const QStyle* style = check->style();
        return style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, check) +
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, check) +
               fm.horizontalAdvance(check->text()) + 2;
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control))
        return fm.horizontalAdvance(button->text()) + 2 * Scaled(4);
    if (const auto* label = qobject_cast<const QLabel*>(control))
        return fm.horizontalAdvance(label->text());
    return 0;
}

} // namespace

int Scaled(int x) {
    return static_cast<int>(std::lround(x * DotsPerInch() / 96.0));
}

void PlaceAt(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(Scaled(left), Scaled(top), Scaled(width), Scaled(height));
}

void FixClientSize(QWidget* window, int width, int height) {
    window->setFixedSize(Scaled(width), Scaled(height));
}

bool CaptionFits(const QWidget* control) {
    const QFontMetrics fm(control->font());
    return NeededWidth(control, fm) <= control->width() && fm.height() <= control->height();
}

void FitFontToCaptions(QWidget* window, const QList<QWidget*>& controls) {
    QFont font = QApplication::font(window);
    for (;;) {
        window->setFont(font);
        bool all = true;
        for (const QWidget* control : controls)
            all = all && CaptionFits(control);
        const double size = font.pointSizeF();
        if (all || size <= 6.0 || size <= 0)
            return;
        font.setPointSizeF(std::max(6.0, size - 0.5));
    }
}

void CenterOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}
