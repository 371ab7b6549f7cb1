#include "support/reference_life.h"

namespace tessera::test {
namespace {

constexpr int kBirthShift = 9;

Cells WindowCentres(const Cells& cells) {
    Cells centres;
    for (const CLPoint& p : cells) {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) centres.insert({p.x + dx, p.y + dy});
        }
    }
    return centres;
}

}  // namespace

int CountNeighbours(const Cells& cells, RuleCode rule, CLPoint p) {
    int n = 0;
    for (const NeighbourDigit& d : kNeighbourDigits) {
        if ((rule >> d.codeBit) & 1) n += static_cast<int>(cells.count({p.x + d.dx, p.y + d.dy}));
    }
    return n;
}

Cells ReferenceStep(const Cells& cells, RuleCode rule) {
    Cells next;
    for (const CLPoint& p : WindowCentres(cells)) {
        const int n = CountNeighbours(cells, rule, p);
        const bool alive = cells.count(p) != 0;
        if (alive ? (rule >> n) & 1 : (rule >> (kBirthShift + n)) & 1) next.insert(p);
    }
    return next;
}

Cells ReferenceRun(Cells cells, RuleCode rule, int generations) {
    for (int g = 0; g < generations; ++g) cells = ReferenceStep(cells, rule);
    return cells;
}

uint32_t ReferenceSignature(const Cells& cells) {
    uint32_t sum = 0;
    for (const CLPoint& c : WindowCentres(cells)) {
        uint32_t w = 0;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                w = (w << 1) | static_cast<uint32_t>(cells.count({c.x + dx, c.y + dy}));
            }
        }
        sum += cells.count(c) ? 2 * w : w;
    }
    return sum;
}

RuleCode RandomRule(std::mt19937& rng, bool birthOnZero) {
    std::uniform_int_distribution<uint32_t> digits(0, 511);
    const uint32_t survival = digits(rng);
    const uint32_t birth = birthOnZero ? digits(rng) : digits(rng) & ~1u;
    uint32_t neighbourhood = 0;
    for (const NeighbourDigit& d : kNeighbourDigits) {
        if (rng() & 1) neighbourhood |= 1u << d.codeBit;
    }
    return survival | (birth << kBirthShift) | neighbourhood;
}

}  // namespace tessera::test
