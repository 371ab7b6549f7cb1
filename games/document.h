#pragma once
// CLDocument: what every displayable object (a game, a pattern) offers its windows.
#include <string>

namespace tessera {

class CUniverse;

class CLDocument {
public:
    virtual ~CLDocument() = default;

    // Whether the universe is the newest generation of this document (the only one that may be edited).
    virtual bool IsLastGeneration(const CUniverse&) const { return false; }
    // Called before the universe is edited; false when it may not be edited.
    virtual bool NoteModified(CUniverse&) { return false; }
    virtual std::string Title(bool withPrefix) const = 0;

    const std::string& Description() const { return description_; }
    void SetDescription(std::string text) { description_ = std::move(text); }
    const std::string& Originator() const { return originator_; }
    void SetOriginator(std::string text) { originator_ = std::move(text); }

private:
    std::string description_;
    std::string originator_;
};

}  // namespace tessera
