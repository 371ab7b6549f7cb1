#pragma once
// The message an action fails with, so that a test of an error path is one comparison.
#include <functional>

#include "foundation/errors.h"

namespace tessera::test {

// The message number of the program's exception the action throws, or 0 when it throws none.
inline int MessageIdOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const CErrorException& error) {
        return error.MessageId();
    }
    return 0;
}

}  // namespace tessera::test
