#include "formats/xl_import.h"

namespace tessera {

std::unique_ptr<CXLUniverseCollection> ReadXLife(CLex& lex, std::string_view title, std::string fileName) {
    auto collection = std::make_unique<CXLUniverseCollection>(std::move(fileName));
    collection->Read(lex, title);
    collection->ResolveInsertions();
    collection->RemoveEmptyUniverses();
    return collection;
}

CXLPattern ReadXLifePattern(CLex& lex, std::string_view title, std::string fileName, CFileDialogs& dialogs) {
    std::unique_ptr<CXLUniverseCollection> collection = ReadXLife(lex, title, std::move(fileName));
    CXLPattern pattern;
    if (CXLUniverse* chosen = collection->SelectUniverse(dialogs)) {
        pattern.universe = std::move(chosen->universe);
        chosen->universe = std::make_unique<CGrowableUniverse>();
        pattern.name = chosen->name;
        pattern.description = chosen->description;
        pattern.originator = chosen->originator;
    }
    collection->ShowErrorReport(dialogs);
    pattern.errorCaption = collection->ErrorReportCaption();
    pattern.errorReport = collection->ErrorReportText();
    return pattern;
}

}  // namespace tessera
