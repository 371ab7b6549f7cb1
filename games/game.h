#pragma once
// CGame: a start universe and the generations grown from it. A game keeps a thinned-out history (every
// KeepEvery-th generation, the generations near the current and the last one, and every modified
// generation) and regrows the others on demand from the nearest stored predecessor.
#include <cstdint>
#include <string>

#include "foundation/memory_recovery.h"
#include "foundation/name.h"
#include "games/document.h"
#include "games/front_end.h"
#include "games/generation_list.h"
#include "games/repeat_state.h"
#include "rules/rule_code.h"

namespace tessera {

class CGameRegistry;

class CGame : public CLDocument {
public:
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;
    // Discards every generation (one still in use lives on until its last user lets go) and leaves the
    // game dictionary. Games are destroyed through their registry.
    ~CGame() override;

    // ---- Generations
    CUniverse& Current() const { return *current_; }
    CUniverse& First() const { return *generations_.First(); }
    CUniverse& Last() const { return *generations_.Last(); }
    const CGenerationList& Generations() const { return generations_; }

    bool IsLastGeneration(const CUniverse& universe) const override;
    bool NoteModified(CUniverse& universe) override;
    // The stored generation numbered n, or none.
    CUniverse* FindStoredGeneration(int32_t n);
    // Generation n, regrown from the nearest stored predecessor (starting the walk at the hint when it
    // is not beyond n) and kept. None when n precedes the start or growth is refused on the way. The
    // answer may be trimmed by any later allocation: hold it (use count) while working with it.
    CUniverse* GetGeneration(int32_t n, CUniverse* hint = nullptr);
    // The stored generation numbered current − 1, or none.
    CUniverse* PreviousGeneration();
    // Grows one generation (see game.cpp). Answers 0, a growth refusal (1016, 1017, 1018) or a repeat
    // report; out of memory throws CMemoryException and leaves the game as it was.
    int StepForward(CDisplayContext* context);
    void StepBack(CDisplayContext* context);
    void ResetToGeneration(int32_t n);
    // Makes a stored generation current again (after reverse growth regrew behind it); false when the
    // universe is no longer one of this game's generations.
    bool RestoreCurrent(CUniverse& stored);
    void SetRule(RuleCode code);

    int32_t Generation() const;
    uint32_t Population() const;

    // ---- Population records (0: not yet recorded)
    uint32_t MaxPopulation() const { return maxPopulation_; }
    int32_t MaxPopulationGeneration() const { return maxPopulationGeneration_; }
    uint32_t MinPopulation() const { return minPopulation_; }
    int32_t MinPopulationGeneration() const { return minPopulationGeneration_; }
    // Games take their records from attribute lines but never write them as such (the game file's
    // header carries them).
    bool WritesAttributeLines() const { return false; }
    // Records as read from a file.
    void SetMaxPopulation(uint32_t population) { maxPopulation_ = population; }
    void SetMaxPopulationGeneration(int32_t generation) { maxPopulationGeneration_ = generation; }
    void SetMinPopulation(uint32_t population) { minPopulation_ = population; }
    void SetMinPopulationGeneration(int32_t generation) { minPopulationGeneration_ = generation; }

    // ---- Display
    void AttachWindow(CDisplayContext& window);
    void DetachWindow();
    CDisplayContext* Window() const { return window_; }
    CViewState& ViewState() { return viewState_; }
    uint32_t DisplayStamp() const { return displayStamp_; }
    uint32_t PreviousDisplayStamp() const { return previousDisplayStamp_; }
    // The floating object that was in the window when generation 0 was grown, or none; the window takes
    // a copy back whenever it shows generation 0 again.
    const CUniverse* FloatingObjectCopy() const { return floatingCopy_.get(); }
    int32_t RecentWindow() const { return recentWindow_; }

    // ---- Names and titles
    const CName& Name() const { return name_; }
    // The key the game dictionary orders by.
    const CName& Key() const { return name_; }
    bool IsNamed() const { return !name_.IsEmpty() && name_.Text()[0] != '#'; }
    uint32_t Serial() const { return serial_; }
    bool SetName(const CName& name);
    bool SetUniqueName(const CName& name);
    std::string Title(bool withPrefix) const override;
    std::string DefaultFileName() const;
    const std::string& FileName() const { return fileName_; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }

    bool IsKept() const { return kept_; }
    void SetKept(bool kept) { kept_ = kept; }
    bool AutostopFired() const { return autostopFired_; }
    void SetAutostopFired(bool fired) { autostopFired_ = fired; }

    // ---- Repeat detection state
    CRepeatState& Repeat() { return repeat_; }
    CSignatureRing& SignatureRing() { return ring_; }

    // ---- Memory
    // The trimming pass with spacing S and stride f; answers whether anything was discarded.
    bool TrimPass(int64_t spacing, int64_t stride);
    // Whether the trim with this factor freed something and, if not, whether a larger factor could.
    ETrimOutcome TrimGenerations(int64_t factor);
    uint16_t TrimCountdown() const { return trimCountdown_; }

    CGameRegistry& Registry() const { return registry_; }

private:
    friend class CGameRegistry;
    // A game whose generations are the given list (at least one); the first becomes current.
    CGame(CGameRegistry& registry, CGenerationList generations);
    void Trim();

    CGameRegistry& registry_;
    CName name_;
    uint32_t serial_;
    std::string fileName_;
    CGenerationList generations_;
    CUniverse* current_ = nullptr;
    CUniverse* previous_ = nullptr;
    UniverseRef floatingCopy_;
    uint32_t maxPopulation_ = 0;
    int32_t maxPopulationGeneration_ = 0;
    uint32_t minPopulation_ = 0;
    int32_t minPopulationGeneration_ = 0;
    int32_t recentWindow_ = 0;
    CDisplayContext* window_ = nullptr;
    CViewState viewState_;
    CRepeatState repeat_;
    CSignatureRing ring_;
    uint16_t trimCountdown_ = 0;
    bool kept_ = false;
    bool autostopFired_ = false;
    uint32_t displayStamp_ = 0;
    uint32_t previousDisplayStamp_ = 0;
};

}  // namespace tessera
