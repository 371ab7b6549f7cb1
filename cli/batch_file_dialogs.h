#pragma once
// The batch tool's answers to the questions that loading a file asks a person: which of several
// universes to take (the one named with --select, else the file's top-level pattern when it has cells),
// the file's error report (written to a stream, stderr), and another name when the file's name for
// its game is taken (the name with the first free "-1", "-2", ... suffix).
#include <iosfwd>
#include <optional>
#include <string>

#include "formats/file_dialogs.h"

namespace tessera {
class CGameRegistry;
}

namespace tessera::cli {

class CBatchFileDialogs : public CFileDialogs {
public:
    CBatchFileDialogs(std::ostream& messages, std::optional<std::string> select, const CGameRegistry& games);

    int SelectUniverse(const CUniverseCollection& universes) override;
    void ShowErrorReport(std::string_view caption, std::string_view report) override;
    bool AskForOtherName(CName& name) override;
    void NoteUnusedRule(std::string_view ruleText) override { unusedRule_ = ruleText; }

    // Why no universe was chosen (the file's names listed); empty when one was, or none was asked for.
    const std::string& SelectionProblem() const { return selectionProblem_; }
    // The rule text of the chosen pattern that could not be used, if any.
    const std::optional<std::string>& UnusedRule() const { return unusedRule_; }

private:
    std::ostream& messages_;
    std::optional<std::string> select_;
    const CGameRegistry& games_;
    std::string selectionProblem_;
    std::optional<std::string> unusedRule_;
};

}  // namespace tessera::cli
