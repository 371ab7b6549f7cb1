#include "games/game.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <new>

#include "config/parameters.h"
#include "foundation/errors.h"
#include "games/game_registry.h"
#include "games/repeat_check.h"

namespace tessera {
namespace {

int32_t KeepLastUndisplayed() { return int32_t(params::KeepLastUndisplayed.GetUInt()); }

uint32_t SignatureRingCapacity() { return uint32_t(2 * params::GameMaxCycle.GetInt() + 1); }

// The next generation of a universe. A failed allocation anywhere in growth is the program's
// out-of-memory failure; the partly built result never escapes.
UniverseRef GrowFrom(CUniverse& source, CGrowListener* listener) {
    try {
        return Owned(source.Grow(listener));
    } catch (const std::bad_alloc&) {
        throw CMemoryException();
    }
}

}  // namespace

CGame::CGame(CGameRegistry& registry, CGenerationList generations)
    : registry_(registry), serial_(registry.TakeSerial()), generations_(std::move(generations)) {
    current_ = generations_.First();
    recentWindow_ = KeepLastUndisplayed();
    ring_.Reset(SignatureRingCapacity());
    ring_.Restart(current_->Generation());
    SetName(CName());
}

CGame::~CGame() { registry_.MutableDictionary().RemoveObject(this); }

// ---- Generations

bool CGame::IsLastGeneration(const CUniverse& universe) const { return &universe == generations_.Last(); }

bool CGame::NoteModified(CUniverse& universe) {
    if (!IsLastGeneration(universe)) return false;
    // Only the newest generation may change; marking it keeps it from being trimmed or regrown.
    universe.SetModified(true);
    return true;
}

CUniverse* CGame::FindStoredGeneration(int32_t n) {
    previous_ = nullptr;
    CUniverse* u = generations_.First();
    while (u && u->Generation() < n) u = u->Next();
    return u && u->Generation() == n ? u : nullptr;
}

CUniverse* CGame::GetGeneration(int32_t n, CUniverse* hint) {
    CUniverse* u = hint && hint->Generation() <= n ? hint : generations_.First();
    if (u->Generation() > n) return nullptr;
    while (u->Next() && u->Next()->Generation() <= n) u = u->Next();
    while (u->Generation() < n) {
        if (u->CheckGrowable() != 0) return nullptr;
        u = generations_.InsertAfter(GrowFrom(*u, nullptr), u);
    }
    return u;
}

CUniverse* CGame::PreviousGeneration() {
    if (previous_) return previous_;
    CUniverse* before = current_->Prev();
    if (before && before->Generation() == current_->Generation() - 1) previous_ = before;
    return previous_;
}

int CGame::StepForward(CDisplayContext* context) {
    CUniverse* cur = current_;
    CGrowListener* listener = context ? context->Listener() : nullptr;

    // Taken now, kept only if the step succeeds.
    UniverseRef floating;
    if (cur->Generation() == 0 && context && context->FloatingObject())
        floating = Owned(context->FloatingObject()->Clone());

    CUniverse* grown;
    bool tellWindow = false;
    CUniverse* nxt = cur->Next();
    if (nxt && nxt->Generation() == cur->Generation() + 1) {
        // A modified successor holds edits that regrowing would lose: it is taken as it is.
        if (context && !nxt->IsModified()) {
            UniverseRef fresh = GrowFrom(*cur, listener);
            // Growth may have trimmed the list (memory recovery): look for the successor again.
            nxt = cur->Next();
            if (nxt && nxt->Generation() == cur->Generation() + 1) CGenerationList::Discard(nxt);
            grown = generations_.InsertAfter(std::move(fresh), cur);
        } else {
            grown = nxt;
            // The window hears no births and deaths for this step: it redraws the generation whole.
            tellWindow = context != nullptr;
        }
    } else {
        if (int refusal = cur->CheckGrowable()) return refusal;
        grown = generations_.InsertAfter(GrowFrom(*cur, listener), cur);
        uint32_t population = grown->Population();
        if (population > maxPopulation_) {
            maxPopulation_ = population;
            maxPopulationGeneration_ = grown->Generation();
        }
        if (population < minPopulation_ || minPopulation_ == 0) {
            minPopulation_ = population;
            minPopulationGeneration_ = grown->Generation();
        }
    }

    if (floating) floatingCopy_ = std::move(floating);
    previous_ = cur;
    current_ = grown;
    if (tellWindow) context->CurrentGenerationChanged();
    Trim();

    if (params::AutoStopGrow.GetInt() != 0 && !autostopFired_) {
        if (int report = CheckRepeat(*this)) {
            autostopFired_ = true;
            StepBack(context);
            return report;
        }
    }
    return 0;
}

void CGame::StepBack(CDisplayContext* context) {
    CUniverse* before = current_->Prev();
    if (!before || before->Generation() != current_->Generation() - 1) return;
    current_ = before;
    previous_ = nullptr;
    ring_.CutBack(current_->Generation());
    if (context) context->CurrentGenerationChanged();
}

void CGame::ResetToGeneration(int32_t n) {
    CUniverse* target = generations_.First();
    if (n == 0) {
        autostopFired_ = false;
    } else {
        while (target->Next() && target->Next()->Generation() <= n) target = target->Next();
    }
    current_ = target;
    previous_ = nullptr;
    ring_.Restart(target->Generation());
    repeat_.ClearCandidate();
}

bool CGame::RestoreCurrent(CUniverse& stored) {
    CUniverse* u = generations_.First();
    while (u && u != &stored) u = u->Next();
    if (!u) return false;
    current_ = u;
    previous_ = nullptr;
    ring_.Restart(u->Generation());
    return true;
}

void CGame::SetRule(RuleCode code) {
    current_->SetModified(true);
    current_->SetRuleCode(code);
}

int32_t CGame::Generation() const { return current_->Generation(); }
uint32_t CGame::Population() const { return current_->Population(); }

// ---- Display

void CGame::AttachWindow(CDisplayContext& window) {
    window_ = &window;
    uint32_t displayed = params::KeepLastDisplayed.GetUInt();
    uint32_t cycles = uint32_t(2 * params::GameMaxCycle.GetInt());
    recentWindow_ = int32_t(std::max(displayed, cycles));
    previousDisplayStamp_ = displayStamp_;
    displayStamp_ = registry_.TakeDisplayStamp();
}

void CGame::DetachWindow() {
    if (window_) window_->SaveViewState(viewState_);
    window_ = nullptr;
    recentWindow_ = KeepLastUndisplayed();
}

// ---- Names and titles

bool CGame::SetName(const CName& name) {
    CGameDictionary& dictionary = registry_.MutableDictionary();
    const CName old = name_;
    dictionary.RemoveObject(this);
    if (!name.IsEmpty() && name.Text()[0] != '#') {
        name_ = name;
        if (dictionary.InsertObject(this) == nullptr) return true;
        // Another game has this name: everything stays as it was.
        name_ = old;
        dictionary.InsertObject(this);
        return false;
    }
    name_ = CName("#" + std::to_string(serial_));
    dictionary.InsertObject(this);
    return true;
}

bool CGame::SetUniqueName(const CName& name) {
    if (SetName(name)) return true;
    for (int suffix = 1; suffix <= 999; ++suffix) {
        if (SetName(CName(name.Text() + "-" + std::to_string(suffix)))) return true;
    }
    SetName(CName());
    return false;
}

std::string CGame::Title(bool withPrefix) const {
    std::string title = withPrefix ? "game " : "";
    title += std::to_string(serial_);
    if (IsNamed()) title += "  \"" + name_.Text() + "\" ";
    return title;
}

std::string CGame::DefaultFileName() const {
    std::string base;
    for (char ch : name_.Text()) {
        if (ch == '.' || base.size() == 127) break;
        if (std::isalnum(static_cast<unsigned char>(ch))) base += ch;
    }
    return base.empty() ? base : base + ".LIF";
}

// ---- Memory

void CGame::Trim() {
    if (trimCountdown_ > 0) {
        --trimCountdown_;
        return;
    }
    trimCountdown_ = uint16_t(params::GameTrimInterval.GetUInt());
    TrimPass(params::KeepEvery.GetInt(), 1);
}

bool CGame::TrimPass(int64_t spacing, int64_t stride) {
    const int64_t cur = current_->Generation();
    const int64_t last = generations_.Last()->Generation();
    const int64_t a = std::max<int64_t>(cur - recentWindow_, 0);
    const int64_t b = std::max<int64_t>(last - recentWindow_, 0);
    int64_t nextKeep = 0;
    bool discarded = false;
    for (CUniverse* u = generations_.First(); u;) {
        CUniverse* v = u->Next();
        const int64_t g = u->Generation();
        if (!u->IsModified() && u->UseCount() == 0 && g != cur && g != cur - 1 && g != last &&
            (!v || v->Generation() <= nextKeep)) {
            CGenerationList::Discard(u);
            discarded = true;
            u = v;
            continue;
        }
        const int64_t p = nextKeep + spacing;
        if (g + 1 < p && g + 1 <= a && a < p) {
            nextKeep = a;
        } else if (g + 1 < p && g + 1 <= b && b < p) {
            nextKeep = b;
        } else if (a < cur && a <= g && g < cur) {
            nextKeep = std::min(g + stride, cur);
        } else if (b < last && b <= g && g < last) {
            nextKeep = std::min(g + stride, last);
        } else {
            nextKeep = p;
        }
        u = v;
    }
    return discarded;
}

ETrimOutcome CGame::TrimGenerations(int64_t factor) {
    if (factor == 1 && trimCountdown_ > 0) {
        --trimCountdown_;
        return ETrimOutcome::MoreWithLargerFactor;
    }
    trimCountdown_ = uint16_t(params::GameTrimInterval.GetUInt());
    const int64_t spacing = factor == 0 ? INT32_MAX : params::KeepEvery.GetInt() * factor;
    if (TrimPass(spacing, factor)) return ETrimOutcome::Freed;
    const int64_t last = generations_.Last()->Generation();
    return spacing < last || factor < recentWindow_ ? ETrimOutcome::MoreWithLargerFactor
                                                    : ETrimOutcome::NothingMore;
}

}  // namespace tessera
