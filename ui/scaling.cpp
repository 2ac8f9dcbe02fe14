#include "ui/scaling.h"

#include <QFontMetrics>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace kelvora::ui {

namespace {

int pixelMetric(const QWidget& w, QStyle::PixelMetric metric) {
    return w.style()->pixelMetric(metric, nullptr, &w);
}

// QLineEdit's own margins around its text: 2 px across, 1 px down, plus the frame.
QSize textFieldSize(const QWidget& w, const QFontMetrics& fm, const QString& text) {
    const int frame = pixelMetric(w, QStyle::PM_DefaultFrameWidth);
    return {fm.horizontalAdvance(text) + 2 * 2 + 2 * frame + 1, fm.height() + 2 * 1 + 2 * frame};
}

QSize buttonSize(const QWidget& w, const QFontMetrics& fm, const QString& text) {
    const int margin = pixelMetric(w, QStyle::PM_ButtonMargin);
    const int frame = pixelMetric(w, QStyle::PM_DefaultFrameWidth);
    return {fm.horizontalAdvance(text) + 2 * margin + 2 * frame, fm.height() + 2 * frame};
}

}  // namespace

QSize requiredSize(const QWidget& widget, Kind kind, const QString& text) {
    const QFontMetrics fm = widget.fontMetrics();
    switch (kind) {
        case Kind::Label:
            return {fm.horizontalAdvance(text), fm.height()};
        case Kind::TextField:
            return textFieldSize(widget, fm, text);
        case Kind::Button:
            return buttonSize(widget, fm, text);
        case Kind::Option: {
            const int indicator = pixelMetric(widget, QStyle::PM_ExclusiveIndicatorHeight);
            return {widget.sizeHint().width(), std::max(fm.height(), indicator)};
        }
        case Kind::GroupBox:
            return {widget.minimumSizeHint().width(), 0};
    }
    return {};
}

double fittingFactor(double current, QSize required, int widthTwips, int heightTwips) {
    double f = std::max(current, 1.0 / kBaseTwipsPerPixel);
    f = std::max(f, static_cast<double>(required.width()) / widthTwips);
    return std::max(f, static_cast<double>(required.height()) / heightTwips);
}

namespace {
int position(int twips, double f) {
    return static_cast<int>(std::lround(twips * f));
}
int extent(int twips, double f) {
    return static_cast<int>(std::ceil(twips * f - 1e-9));
}
}  // namespace

QRect toPixels(const ControlSpec& entry, double f) {
    return {position(entry.left, f), position(entry.top, f), extent(entry.width, f),
            extent(entry.height, f)};
}

QSize clientPixels(double f) {
    return {extent(kClientWidthTwips, f), extent(kClientHeightTwips, f)};
}

}  // namespace kelvora::ui
