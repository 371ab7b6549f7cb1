#pragma once
// CBgLoadPatternLibrary: turns the XLife-form file a library has read into patterns, one pattern per
// slice of the background task runner. One such task exists at a time; libraries waiting for it are
// served in list order.
#include <cstddef>
#include <string>
#include <vector>

#include "games/bg_task.h"
#include "patterns/recognition.h"
#include "text/lex_attribute.h"

namespace tessera {

class CPatternLibrary;
struct CPatternInfo;
class CTaskScheduler;
class CXLUniverse;

class CBgLoadPatternLibrary : public CBgTask {
public:
    explicit CBgLoadPatternLibrary(CPatternLibrary& library);

    // One universe of the imported file; false once every universe has been turned into a pattern.
    bool Run() override;
    CPatternLibrary& Library() const { return library_; }

private:
    void LoadOne(CXLUniverse& universe);
    // Gives each attribute to the library or to the pattern's information; reports the others.
    void ApplyAttributes(const CAttributeValueList& attributes, CPatternInfo& info);

    CLibraryActivity activity_;  // no discriminator tree is built while the patterns arrive
    CPatternLibrary& library_;
    std::vector<std::string> names_;  // the imported universes, in dictionary order
    size_t next_ = 0;
    std::string progress_;
    bool madeAny_ = false;
};

// The scheduler the load task runs on (the application's unless a test sets another; none restores it).
void SetLibraryTaskScheduler(CTaskScheduler* scheduler);
// Starts a load task for the first library that waits for one, unless a task is running.
void StartLibraryLoading();
// The running load task, or none.
CBgLoadPatternLibrary* LibraryLoadTask();
// Runs every waiting load to its end at once (for the batch tool and tests).
void FinishLibraryLoadingNow();
// Cancels the running task; its completion closes the library it was loading.
void CancelLibraryLoading();

}  // namespace tessera
