#include "games/broth.h"

#include <cmath>
#include <string>

#include "config/decimal_text.h"
#include "config/parameters.h"
#include "engine/universe.h"
#include "foundation/messages.h"
#include "games/millitime.h"

namespace tessera {
namespace {

constexpr uint32_t kSeedMask = 0x1234FEDC;
constexpr uint32_t kMultiplier = 69069;
constexpr uint32_t kStirOffset = 101;
constexpr uint32_t kDensityScale = 100;  // numbers 0..100 are drawn for each cell

}  // namespace

// Clears the busy flag however filling ends.
class CBusyGenerator {
public:
    explicit CBusyGenerator(CRandomGenerator& generator) : generator_(generator) { generator_.busy_ = true; }
    ~CBusyGenerator() { generator_.busy_ = false; }
    CBusyGenerator(const CBusyGenerator&) = delete;
    CBusyGenerator& operator=(const CBusyGenerator&) = delete;

private:
    CRandomGenerator& generator_;
};

CRandomGenerator::CRandomGenerator(const CMillitime& now) { Seed(now); }

void CRandomGenerator::Seed(const CMillitime& now) {
    state_ = (uint32_t(now.Milliseconds()) * uint32_t(uint64_t(now.Seconds()))) ^ kSeedMask;
}

void CRandomGenerator::Stir(const CMillitime& now) {
    if (busy_ || params::Randomize.GetInt() != 0) return;
    state_ ^= uint32_t(uint64_t(now.Seconds())) * 1000u + kStirOffset + now.Milliseconds();
}

uint32_t CRandomGenerator::NextRandom(uint32_t n) {
    state_ = state_ * kMultiplier + 1;
    const uint32_t r = state_ >> 8;
    return n == UINT32_MAX ? r : r % (n + 1);
}

CRandomGenerator& TheRandomGenerator() {
    static CRandomGenerator generator{CSystemClock().Now()};
    return generator;
}

CLRect BrothRectangle(int32_t width, int32_t height) {
    CLRect rect;
    rect.left = -(width / 2);
    rect.right = rect.left + width;
    rect.top = -(height / 2);
    rect.bottom = rect.top + height;
    return rect;
}

CLRect BrothRectangle(int32_t windowWidth, int32_t windowHeight, bool explicitSize) {
    if (!explicitSize) return BrothRectangle(windowWidth, windowHeight);
    return BrothRectangle(int32_t(params::BrothSizeX.GetUInt()), int32_t(params::BrothSizeY.GetUInt()));
}

void FillBroth(CUniverse& universe, uint32_t density, const CLRect& rect, CRandomGenerator& generator,
               CBrothProgress* progress) {
    CBusyGenerator busy(generator);
    const std::string_view progressText = MessageText(msg::CreatingBroth);
    auto report = [&](long percent) {
        if (progress) progress->ShowProgress(FormatText(progressText, {}, std::to_string(percent)));
    };
    const double rowShare = 100.0 / double(int64_t(rect.bottom) - rect.top);
    double done = 0.0;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        done += rowShare;
        report(std::lround(done));
        for (int32_t x = rect.left; x < rect.right; ++x) {
            if (generator.NextRandom(kDensityScale) < density) universe.SetCell(x, y);
        }
    }
    report(100);
}

int ApplyBrothSettings(const CBrothSettings& settings) {
    const int32_t density = ParseSignedDecimal(settings.density).value_or(0);
    if (density < 0 || density > int32_t(kDensityScale)) return msg::BrothDensityRange;
    params::BrothExplicitSize.SetInt(settings.explicitSize ? 1 : 0);
    if (settings.explicitSize) {
        params::BrothSizeX.Set(settings.sizeX);
        params::BrothSizeY.Set(settings.sizeY);
    }
    params::BrothDensity.SetUInt(uint32_t(density));
    SaveAllParametersIfAuto();
    return 0;
}

}  // namespace tessera
