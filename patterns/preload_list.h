#pragma once
// The libraries to load at start-up, kept in the configuration file's "Preload" section as
// "Library1", "Library2", ... each the file name, behind "RO*" for a read-only library.
#include <string>

#include "config/param_section.h"

namespace tessera {

class CPatternLibrary;

class CPreloadWriter : public CParamWriter {
public:
    bool Next() override;
    std::string Key() override;
    std::string Value() override;

private:
    CPatternLibrary* current_ = nullptr;
    bool started_ = false;
    int counter_ = 0;
};

class CPreloadReader : public CParamReader {
public:
    void OnEntry(const std::string& key, const std::string& value) override;
};

inline constexpr const char* kPreloadSection = "Preload";
inline constexpr const char* kReadOnlyMark = "RO*";

// Rewrites the section from the libraries that carry the preload flag.
bool WritePreloadList();
// Loads every library of the section.
void ReadPreloadList();

}  // namespace tessera
