#pragma once
// CLogSlider: a slider whose positions stand for speeds on a logarithmic scale between a low and a high
// speed; either end of the track gives exactly that end's speed.
#include <QSlider>
#include <cstdint>

namespace tessera::ui {

class CLogSlider : public QSlider {
    Q_OBJECT
public:
    explicit CLogSlider(QWidget* parent = nullptr);
    void SetSpeedRange(uint32_t low, uint32_t high);
    uint32_t Speed() const;
    // Places the thumb for a speed.
    void SetSpeed(uint32_t speed);
    static uint32_t SpeedAt(uint32_t low, uint32_t high, int minimum, int maximum, int position);

private:
    uint32_t low_ = 1;
    uint32_t high_ = 10000;
};

}  // namespace tessera::ui
