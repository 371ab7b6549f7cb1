#include "patterns/library_loader.h"

#include <memory>

#include "formats/xl_collection.h"
#include "foundation/messages.h"
#include "games/task_scheduler.h"
#include "patterns/library_commands.h"
#include "patterns/library_front_end.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_info.h"
#include "patterns/pattern_library.h"

namespace tessera {
namespace {

CTaskScheduler* gScheduler = nullptr;
std::unique_ptr<CBgLoadPatternLibrary> gTask;

CTaskScheduler& Scheduler() { return gScheduler ? *gScheduler : TheTaskScheduler(); }

// Attribute lines no set takes go to the file's error report.
class CCollectionReporter : public CAttributeErrorReporter {
public:
    explicit CCollectionReporter(CXLUniverseCollection& collection) : collection_(collection) {}
    void Report(const CAttributeValue& value) override {
        collection_.AddError(msg::XLUnknownAttribute, nullptr, value.lineNumber, value.name);
    }

private:
    CXLUniverseCollection& collection_;
};

// The task has ended: a library still holding its file was cancelled and is closed; the next waiting
// library gets a task of its own.
void LoadFinished(CBgTask&) {
    std::unique_ptr<CBgLoadPatternLibrary> task = std::move(gTask);
    CPatternLibrary& library = task->Library();
    if (std::unique_ptr<CXLUniverseCollection> imported = library.TakeImported()) {
        library.SetReadOnly(true);
        imported.reset();
        DestroyLibrary(&library);
        LibraryFrontEnd().LibrariesChanged();
    }
    task.reset();
    StartLibraryLoading();
}

}  // namespace

CBgLoadPatternLibrary::CBgLoadPatternLibrary(CPatternLibrary& library)
    : CBgTask(LoadFinished), library_(library) {
    for (CXLUniverse* universe : library.Imported()->InOrder()) names_.push_back(universe->name.Text());
    // The library's own attributes stand before the first block.
    CPatternInfo unused;
    ApplyAttributes(library.Imported()->FileAttributes(), unused);
    progress_ = FormatMessage(msg::LoadingLibraryPattern, library.FileName());
}

bool CBgLoadPatternLibrary::Run() {
    CXLUniverseCollection* imported = library_.Imported();
    while (imported && next_ < names_.size()) {
        CXLUniverse* universe = imported->Find(CName(names_[next_++]));
        if (!universe || universe->universe->Population() == 0) continue;
        LoadOne(*universe);
        return true;
    }
    if (imported) {
        if (imported->ErrorCount() != 0)
            LibraryFrontEnd().ShowErrorReport(imported->ErrorReportCaption(), imported->ErrorReportText());
        library_.TakeImported().reset();
    }
    if (madeAny_) LibraryFrontEnd().LibrariesChanged();
    return false;
}

void CBgLoadPatternLibrary::LoadOne(CXLUniverse& universe) {
    const std::string name = universe.name.Text();
    LibraryFrontEnd().ShowProgress(FormatText(progress_, name));
    CPatternInfo info;
    info.recognizable = static_cast<int32_t>(ERecognizable::ByDefaultRule);
    ApplyAttributes(universe.attributes, info);

    // The pattern is classified from its cells; what the user declared or chose is applied on top.
    auto pattern = CreatePattern(*universe.universe, ERecognizable::No);
    pattern->GetType();
    pattern->TakeDeclaredProperties(info);
    pattern->SetRecognizable(static_cast<ERecognizable>(info.recognizable));
    const std::string unique = MakeUniquePatternName(IsValidName(name) ? name : "New", &library_, 0);
    CNamedPattern* entry = NameNewPattern(pattern, unique, &library_);
    entry->saved = true;
    madeAny_ = true;
}

void CBgLoadPatternLibrary::ApplyAttributes(const CAttributeValueList& attributes, CPatternInfo& info) {
    CLexAttributeSetList sets;
    CLexAttributeSet<CPatternLibrary> librarySet(sets, library_);
    CLexAttributeSet<CPatternInfo> patternSet(sets, info);
    CCollectionReporter reporter(*library_.Imported());
    tessera::ApplyAttributes(sets, attributes, reporter);
}

void SetLibraryTaskScheduler(CTaskScheduler* scheduler) { gScheduler = scheduler; }

CBgLoadPatternLibrary* LibraryLoadTask() { return gTask.get(); }

void StartLibraryLoading() {
    if (gTask) return;
    for (CPatternLibrary* library = Libraries().First(); library; library = library->Next()) {
        if (!library->Imported()) continue;
        gTask = std::make_unique<CBgLoadPatternLibrary>(*library);
        Scheduler().Schedule(*gTask, Scheduler().Now());
        return;
    }
}

void FinishLibraryLoadingNow() {
    while (CBgLoadPatternLibrary* task = gTask.get()) {
        while (task->Run()) {
        }
        Scheduler().FinishNow(*task);
    }
}

void CancelLibraryLoading() {
    if (gTask) Scheduler().FinishNow(*gTask);
}

}  // namespace tessera
