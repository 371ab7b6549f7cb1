#include "patterns/recognition_port.h"

namespace tessera {
namespace {

CRecognitionIndexPort*& Installed() {
    static CRecognitionIndexPort* index = nullptr;
    return index;
}

}  // namespace

CRecognitionIndexPort* RecognitionIndex() { return Installed(); }

void InstallRecognitionIndex(CRecognitionIndexPort* index) { Installed() = index; }

}  // namespace tessera
