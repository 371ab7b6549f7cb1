#pragma once
// Test doubles for the front end and the clock.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "games/cancel_box.h"
#include "games/front_end.h"
#include "games/millitime.h"

namespace tessera::test {

// A clock that moves only when told to (or when something spins on it).
class FakeClock : public CClock {
public:
    CMillitime Now() override {
        ++reads;
        now = now.Plus(advancePerRead);
        return now;
    }
    void SpinUntil(const CMillitime& due) override {
        ++spins;
        if (now < due) now = due;
    }
    void Advance(int64_t ms) { now = now.Plus(ms); }

    CMillitime now{1'700'000'000, 0};
    int64_t advancePerRead = 0;
    int reads = 0;
    int spins = 0;
};

class FakeCancelBoxDisplay : public CCancelBoxDisplay {
public:
    explicit FakeCancelBoxDisplay(std::vector<std::string>* log) : log_(log) {}
    void ShowLines(std::string_view title, std::string_view status) override {
        log_->push_back(std::string(title) + " | " + std::string(status));
    }

private:
    std::vector<std::string>* log_;
};

class FakeMainWindow : public CMainWindowPort {
public:
    CGame* CurrentGame() override { return currentGame; }
    void ShowGeneration(CGame& game) override { shownGames.push_back(&game); }
    void EndGrowthDisplay(CGame&) override { ++growthDisplayEnds; }
    void EnterBusyState() override { ++busyDepth; }
    void LeaveBusyState() override { --busyDepth; }
    void ShowBusyCursor() override { ++busyCursors; }
    void ReportMessage(CGame&, int messageId) override { reported.push_back(messageId); }
    void ReportError(int messageId, std::string_view) override { errors.push_back(messageId); }
    uint32_t SpeedSliderValue() override { return speed; }
    void ArmSliceTimer(int64_t ms) override { timerArms.push_back(ms); }
    void KillSliceTimer() override { ++timerKills; }
    void PostCommand(uint32_t id) override { posted.push_back(id); }
    std::unique_ptr<CCancelBoxDisplay> MakeCancelBoxDisplay(CCancelBox& box) override {
        lastCancelBox = &box;
        return std::make_unique<FakeCancelBoxDisplay>(&cancelBoxLines);
    }

    CGame* currentGame = nullptr;
    uint32_t speed = 10000;
    int busyDepth = 0;
    int busyCursors = 0;
    int growthDisplayEnds = 0;
    int timerKills = 0;
    std::vector<CGame*> shownGames;
    std::vector<int> reported;
    std::vector<int> errors;
    std::vector<int64_t> timerArms;
    std::vector<uint32_t> posted;
    std::vector<std::string> cancelBoxLines;
    CCancelBox* lastCancelBox = nullptr;
};

}  // namespace tessera::test
