#pragma once
// Where a pattern that becomes recognisable is entered into the recognition index and where it leaves
// it. The recognition code installs its index here; until it does, and after a reset, no index is
// installed and both calls do nothing.
namespace tessera {

class CPattern;

class CRecognitionIndexPort {
public:
    virtual ~CRecognitionIndexPort() = default;
    // The pattern's state has become recognisable: index its phases and orientations.
    virtual void AddPattern(CPattern& pattern) = 0;
    // The pattern stops being recognisable or is destroyed: forget every entry of it.
    virtual void RemovePattern(CPattern& pattern) = 0;
};

// The installed index, or none. The index is not owned; installing none removes it.
CRecognitionIndexPort* RecognitionIndex();
void InstallRecognitionIndex(CRecognitionIndexPort* index);

}  // namespace tessera
