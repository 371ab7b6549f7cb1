#include "ui/log_slider.h"

#include <algorithm>
#include <cmath>

#include "ui/view_geometry.h"

namespace tessera::ui {
namespace {
constexpr int kTrackPositions = 1000;
}

CLogSlider::CLogSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) { setRange(0, kTrackPositions); }

void CLogSlider::SetSpeedRange(uint32_t low, uint32_t high) {
    low_ = std::max<uint32_t>(1, low);
    high_ = std::max(low_, high);
}

uint32_t CLogSlider::SpeedAt(uint32_t low, uint32_t high, int minimum, int maximum, int position) {
    return uint32_t(LogInterpolate(low, high, minimum, maximum, position));
}

uint32_t CLogSlider::Speed() const { return SpeedAt(low_, high_, minimum(), maximum(), value()); }

void CLogSlider::SetSpeed(uint32_t speed) {
    speed = std::clamp(speed, low_, high_);
    if (high_ == low_) {
        setValue(maximum());
        return;
    }
    const double fraction =
        std::log10(double(speed) / low_) / (std::log10(double(high_)) - std::log10(double(low_)));
    setValue(minimum() + int(std::lround(fraction * (maximum() - minimum()))));
}

}  // namespace tessera::ui
