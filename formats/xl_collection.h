#pragma once
// The named universes read from one XLife-family file (XLife 2 directives with picture, coordinate and
// RLE data, RLE files, Life 1.05/1.06 files), with their insertions and the file's error report.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formats/file_dialogs.h"
#include "formats/xl_universe.h"
#include "foundation/dict.h"

namespace tessera {

class CLex;

class CXLUniverseCollection : public CUniverseCollection {
public:
    // fileName is what the error report names.
    explicit CXLUniverseCollection(std::string fileName);
    ~CXLUniverseCollection() override;

    // Reads the whole input into universes; the data outside named blocks goes to a universe named
    // title. Problems are collected, not thrown; the lexer's syntax errors and CInputLimitException
    // end the read.
    void Read(CLex& lex, std::string_view title);
    // Builds and merges every insertion, in dependency order; circular ones are reported.
    void ResolveInsertions();
    // Drops every universe without a cell: such a universe is never worth choosing.
    void RemoveEmptyUniverses();
    // None when there is no universe, the only one, or the one the user picks (none on cancel).
    CXLUniverse* SelectUniverse(CFileDialogs& dialogs);

    // Records a problem, up to "MaxXLifeErrors" of them. The line text is the lexer's current line
    // (none without a lexer); lineNumber 0 takes the lexer's line number.
    void AddError(int messageId, const CLex* lex, int32_t lineNumber, std::string_view argument = {},
                  std::string_view argument2 = {});
    // AddError when "XLifeStrict" is 1.
    void AddWarning(int messageId, const CLex& lex);
    const CDeque<CXLErrorReport>& Errors() const { return errors_; }
    uint32_t ErrorCount() const { return errorCount_; }
    // One line per problem, each ended by carriage return and line feed; empty without problems.
    std::string ErrorReportText() const;
    std::string ErrorReportCaption() const;
    // Shows the report when there is one.
    void ShowErrorReport(CFileDialogs& dialogs) const;

    CXLUniverse* Find(const CName& name) const { return universes_.Find(name); }
    CXLUniverse* FindOrCreate(const CName& name);
    // A new universe named name, or name-1, name-2, ... name-999 when it is taken; none when all are.
    CXLUniverse* CreateWithFreeName(const CName& name);
    // The universe of the data outside named blocks, under a name no block can have (no name read from
    // a line holds a NUL character), so that a block named like the file stays a block of its own.
    CXLUniverse* CreateFileLevel(std::string_view title);
    // Gives the file-level universe its title, or the first free of title-1, title-2, ... when a block
    // has taken it.
    void NameFileLevel(CXLUniverse* universe, std::string_view title);
    CXLUniverse* TopLevel() const { return topLevel_; }
    void SetTopLevel(CXLUniverse* universe) { topLevel_ = universe; }
    void Remove(CXLUniverse* universe);
    // Every universe, in dictionary order.
    std::vector<CXLUniverse*> InOrder() const;
    const std::string& FileName() const { return fileName_; }
    // Attribute lines outside every block when that part of the file held no pattern: they describe
    // the file itself (a library's dates).
    CAttributeValueList& FileAttributes() { return fileAttributes_; }

    int UniverseCount() const override;
    CUniverse* UniverseAt(int index) const override;
    std::string NameAt(int index) const override;
    int IndexOf(const CName& name) const override;

private:
    CXLUniverse* At(int index) const;
    CXLUniverse* Insert(std::unique_ptr<CXLUniverse> universe);
    // The first free name of base, base-1, base-2, ... from the suffix tried last for base, up to
    // lastSuffix; an empty name when none is free.
    CName FreeName(const CName& base, int lastSuffix);
    // Resolves the pending insertions of one universe up to the first one whose block still waits for
    // insertions of its own, and gives that block (none when every insertion is resolved).
    const CXLUniverse* ResolveUniverse(CXLUniverse& universe);

    CDictKeyed<CXLUniverse, CName> universes_;
    // Universes in dictionary order, for listing by index; rebuilt after a change.
    mutable std::vector<CXLUniverse*> order_;
    mutable bool orderValid_ = false;
    // For each base name, the suffix below which every name is taken: a file with many blocks of one
    // name must not try all the taken ones again for each.
    std::map<CName, int> takenSuffixes_;
    CXLUniverse* topLevel_ = nullptr;
    CTidyDeque<CXLErrorReport> errors_;
    uint32_t errorCount_ = 0;
    std::string fileName_;
    CAttributeValueList fileAttributes_;
};

}  // namespace tessera
