#include "games/bg_task.h"

namespace tessera {

void CBgTask::Finish() {
    if (completion_) completion_(*this);
}

void CBgTask::FinishOnce() {
    if (finished_) return;
    finished_ = true;
    Finish();
}

}  // namespace tessera
