#pragma once
// CPattern: a small shape with what it does when grown — its type, period, movement, symmetry and the
// shortcut by which its cycle repeats under a transform — and lazily grown caches of its generations in
// each distinct orientation, held within "PatternUniverseLimit" across all patterns.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/deque.h"
#include "foundation/geometry.h"
#include "patterns/pattern_types.h"
#include "patterns/pattern_universe.h"

namespace tessera {

class CNamedPattern;
struct CPatternInfo;

// The recognisable state, and the requests that change it.
enum class ERecognizable : int32_t {
    No = 0,
    ByDefaultRule = 1,  // a request only: decide by the default rule
    Yes = 2,
};

class CPattern : public CDequeElement<CPattern> {
public:
    // Visited once per phase and orientation by ForEachPhaseAndOrientation.
    class CUniverseHelper {
    public:
        virtual ~CUniverseHelper() = default;
        virtual void Visit(CPattern& pattern, CPatternUniverse& universe, int32_t phase, int transform) = 0;
    };

    CPattern(const CPattern&) = delete;
    CPattern& operator=(const CPattern&) = delete;
    // Leaves the recognition index when recognisable; cached generations still in use are discarded
    // (destroyed when their last user lets go).
    ~CPattern() override;

    // A new pattern of the cells of source, moved so that its bounding box starts at (0, 0), keeping the
    // rule; then the recognisable state is set from the request.
    [[nodiscard]] static std::unique_ptr<CPattern> Create(CUniverse& source, ERecognizable request);

    // Grows up to maxCycle generations looking for a repeat; stores and returns the type found.
    EPatternType Classify(int32_t maxCycle);
    // The declared type, classifying first (with "PatternMaxCycle") while it is unknown.
    EPatternType GetType();

    // Generation `generation` of the pattern in orientation `transform` (0..7), from the caches. The
    // universe belongs to the cache: hold it (CUniverseUse) while other patterns' generations are fetched.
    CPatternUniverse& GetPatternGeneration(int transform, int32_t generation);
    // The fold period, else the period, else 1.
    int32_t PhaseCount() const;
    // For each phase below count (count <= 0: PhaseCount()) and each orientation (0 then the distinct
    // ones ascending): visitor.Visit(pattern, generation, phase, orientation).
    void ForEachPhaseAndOrientation(CUniverseHelper& visitor, int32_t count = 0);

    void SetRecognizable(ERecognizable request);
    // Whether the default rule makes the pattern recognisable: a still life, oscillator, ship, puffer or
    // gun within "DefaultPatternRecogPopLimit" cells and "DefaultPatternRecogPeriodLimit" generations.
    bool DefaultRuleHolds();
    void SetDeclaredProperties(EPatternType type, int32_t period, int32_t velocityX, int32_t velocityY);
    // Takes type, period, cycle start, fold and velocity from a stored record while the pattern is
    // unclassified; values that cannot describe a cycle are refused in favour of classification.
    void TakeStoredProperties(const CPatternInfo& info);
    // A classified pattern takes the type, period and velocity a stored record declares where they
    // differ from what classification found (the user declared them).
    void TakeDeclaredProperties(const CPatternInfo& info);
    // The record written to library files.
    CPatternInfo Info() const;

    CPatternUniverse& Base() const { return *base_; }
    uint32_t SerialNumber() const { return serial_; }
    EPatternSymmetry Symmetry() const { return symmetry_; }
    int32_t Period() const { return period_; }
    int32_t CycleStart() const { return cycleStart_; }
    int32_t FoldPeriod() const { return foldPeriod_; }
    int FoldTransform() const { return foldTransform_; }
    CLSize Velocity() const { return velocity_; }
    EPatternType DeclaredType() const { return declaredType_; }
    EPatternType ClassifiedType() const { return classifiedType_; }
    ERecognizable RecognizableState() const { return recognizable_; }
    bool IsRecognizable() const { return recognizable_ == ERecognizable::Yes; }

    CNamedPattern* Named() const { return named_; }
    const std::string& FullName() const { return fullName_; }
    void SetNamed(CNamedPattern* named, std::string fullName);

    // Fields kept for the recognition index.
    CUniverse* Envelope() const { return envelope_.get(); }
    void SetEnvelope(std::unique_ptr<CUniverse> envelope) { envelope_ = std::move(envelope); }
    int32_t DuplicateCount() const { return duplicateCount_; }
    void SetDuplicateCount(int32_t count) { duplicateCount_ = count; }
    CPattern* DuplicateOf() const { return duplicateOf_; }
    void SetDuplicateOf(CPattern* pattern) { duplicateOf_ = pattern; }
    int64_t CreationTime() const { return creationTime_; }
    uint32_t UseStamp() const { return useStamp_; }

    // Cached generations in all orientations (the base universe included).
    int32_t CachedGenerationCount() const;
    // Destroys the cached generations nobody holds, except the base universe; false when there was
    // none.
    bool ReleaseUnusedGenerations();

    // Every live pattern, oldest first.
    static CDeque<CPattern>& AllPatterns();
    static int32_t LiveCount();

private:
    explicit CPattern(CUniverse& source);

    // The deque of cached generations of orientation 0 or of a distinct orientation.
    CDeque<CUniverse>& CacheOf(int orientation);
    // Generation `phase` of one orientation's cache, grown forwards from the last one not beyond it.
    CPatternUniverse& CachedGeneration(int orientation, int32_t phase);
    // The cycle's length once it has begun.
    int32_t CycleLength() const;
    // Keeps the caches within the configured limit; keep stays whatever happens.
    static void EnforceCacheLimit(CUniverse* keep);
    void ComputeSymmetry();
    void FoldSearch();
    void ReapplyRecognizable();

    uint32_t serial_;
    CDeque<CUniverse> generations_;                     // orientation 0, ascending generations
    std::vector<CDeque<CUniverse>> otherOrientations_;  // one per distinct orientation
    CPatternUniverse* base_ = nullptr;
    CNamedPattern* named_ = nullptr;
    std::string fullName_;
    EPatternSymmetry symmetry_ = EPatternSymmetry::Unset;
    int32_t period_ = 0;
    int32_t cycleStart_ = 0;
    int32_t foldPeriod_ = 0;
    EPatternType declaredType_ = EPatternType::Unknown;
    EPatternType classifiedType_ = EPatternType::Unknown;
    int foldTransform_ = 0;
    CLSize velocity_;
    ERecognizable recognizable_ = ERecognizable::No;
    std::unique_ptr<CUniverse> envelope_;
    int32_t duplicateCount_ = 0;
    CPattern* duplicateOf_ = nullptr;
    int64_t creationTime_ = 0;
    uint32_t useStamp_ = 0;
};

// CreatePattern(universe, request).
[[nodiscard]] inline std::unique_ptr<CPattern> CreatePattern(CUniverse& source, ERecognizable request) {
    return CPattern::Create(source, request);
}

}  // namespace tessera
