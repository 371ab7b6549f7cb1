#include "patterns/library_files.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/parameters.h"
#include "engine/growable_universe.h"
#include "formats/game_format.h"
#include "formats/input_limit_exception.h"
#include "formats/xl_import.h"
#include "formats/xl_writer.h"
#include "foundation/messages.h"
#include "patterns/library_front_end.h"
#include "patterns/library_loader.h"
#include "patterns/named_pattern.h"
#include "patterns/pattern_info.h"
#include "patterns/pattern_library.h"
#include "patterns/recognition.h"
#include "text/lex.h"

namespace tessera {
namespace {

std::string Trimmed(std::string_view text) {
    const size_t begin = text.find_first_not_of(" \t\r");
    if (begin == std::string_view::npos) return {};
    return std::string(text.substr(begin, text.find_last_not_of(" \t\r") - begin + 1));
}

// The rest of the current line as one value; the lexer moves on to the next line.
std::string ReadLineValue(CLex& lex) {
    if (lex.Kind() == TokEndOfFile || lex.Kind() == TokPastEnd) lex.SyntaxError();
    const int32_t line = lex.LineNumber();
    std::string value = Trimmed(lex.RestOfLine());
    lex.NextToken();
    if (value.empty()) throw CSyntaxException(line);
    return value;
}

CTime ReadTimeValue(CLex& lex) {
    const int32_t line = lex.LineNumber();
    std::istringstream in(ReadLineValue(lex));
    CTime time;
    in >> time;
    // A date the clock cannot represent reads as unknown, as it was written: it must not cost the library.
    if (!in) throw CSyntaxException(line);
    return time;
}

void ReadNativePattern(CPatternLibrary& library, CLex& lex) {
    lex.ExpectKeyword("PATTERN");
    std::string name;
    const int32_t nameLine = lex.LineNumber();
    if (!lex.ReadQuoted(name) || !IsValidName(name)) throw CSyntaxException(nameLine);
    LibraryFrontEnd().ShowProgress(FormatMessage(msg::LoadingPattern, name));
    CPatternInfo info;
    lex.ExpectKeyword("SYMMETRY");
    int32_t line = lex.LineNumber();
    // Words as the writer writes them, or numbers.
    if (!ParsePatternSymmetry(ReadLineValue(lex), info.symmetry) || info.symmetry == EPatternSymmetry::Unset)
        throw CSyntaxException(line);
    if (lex.AcceptKeyword("PERIOD")) lex.ExpectSigned(info.period);
    if (lex.AcceptKeyword("CYCLESTART")) lex.ExpectSigned(info.cycleStart);
    if (lex.AcceptKeyword("FOLDPERIOD")) {
        lex.ExpectSigned(info.foldPeriod);
        lex.ExpectKeyword("FOLDTRANSFORM");
        lex.ExpectUnsigned(info.foldTransform);
    }
    lex.ExpectKeyword("TYPE");
    line = lex.LineNumber();
    if (!ParsePatternType(ReadLineValue(lex), info.type)) throw CSyntaxException(line);
    if (lex.AcceptKeyword("VELOCITY")) {
        lex.ExpectSigned(info.velocity.cx);
        lex.ExpectSigned(info.velocity.cy);
    }
    const bool recognizable = lex.AcceptKeyword("RECOGNIZABLE");
    CGrowableUniverse cells;
    ReadUniverse(cells, lex);

    // The symmetry of the record is not taken: the caches are laid out for the one of the cells.
    auto pattern = CreatePattern(cells, recognizable ? ERecognizable::Yes : ERecognizable::No);
    pattern->TakeStoredProperties(info);
    pattern->TakeDeclaredProperties(info);  // a recognisable pattern was classified above
    CNamedPattern* entry = NameNewPattern(pattern, MakeUniquePatternName(name, &library, 0), &library);
    entry->userRecognizable = recognizable;
    entry->saved = true;
}

void WriteLine(std::ostream& out, const std::string& text) { out << text << '\n'; }

std::string TimeText(const CTime& time) {
    std::ostringstream text;
    text << time;
    return text.str();
}

}  // namespace

void WriteNativeLibrary(CPatternLibrary& library, std::ostream& out) {
    WriteLine(out, "LIBRARY");
    WriteLine(out, "CREATED " + TimeText(library.created));
    WriteLine(out, "UPDATED " + TimeText(CTime::Now()));
    for (CNamedPattern* entry : library.Entries()) {
        CPattern& pattern = entry->Pattern();
        WriteLine(out, "PATTERN \"" + entry->Name() + "\"");
        WriteLine(out, "SYMMETRY " + std::string(PatternSymmetryWord(pattern.Symmetry())));
        if (pattern.Period() != 0) WriteLine(out, "PERIOD " + std::to_string(pattern.Period()));
        if (pattern.CycleStart() > 0) WriteLine(out, "CYCLESTART " + std::to_string(pattern.CycleStart()));
        if (pattern.FoldPeriod() != 0) {
            WriteLine(out, "FOLDPERIOD " + std::to_string(pattern.FoldPeriod()));
            WriteLine(out, "FOLDTRANSFORM " + std::to_string(pattern.FoldTransform()));
        }
        WriteLine(out, "TYPE " + std::string(PatternTypeWord(pattern.DeclaredType())));
        if (pattern.Velocity() != CLSize{})
            WriteLine(out, "VELOCITY " + std::to_string(pattern.Velocity().cx) + " " +
                               std::to_string(pattern.Velocity().cy));
        if (pattern.IsRecognizable()) WriteLine(out, "RECOGNIZABLE");
        WriteUniverse(pattern.Base(), out);
    }
    WriteLine(out, "ENDLIBRARY");
}

void WriteXLifeLibrary(CPatternLibrary& library, std::ostream& out) {
    WriteAttributes(out, library);
    for (CNamedPattern* entry : library.Entries()) {
        out << "#B " << entry->Name() << '\n';
        WriteAttributes(out, entry->Pattern().Info());
        WriteXLifeUniverse(entry->Pattern().Base(), out);
        out << "#E\n";
    }
}

void ReadNativeLibrary(CPatternLibrary& library, CLex& lex) {
    try {
        lex.ExpectKeyword("LIBRARY");
        lex.ExpectKeyword("CREATED");
        library.created = ReadTimeValue(lex);
        lex.ExpectKeyword("UPDATED");
        library.updated = ReadTimeValue(lex);
        while (!lex.AcceptKeyword("ENDLIBRARY")) ReadNativePattern(library, lex);
    } catch (const CSyntaxException& error) {
        library.SetReadOnly(true);
        LibraryFrontEnd().ShowMessage(
            FormatMessage(msg::LibrarySyntaxError, std::to_string(error.LineNumber()), library.FileName()));
    } catch (const CInputLimitException& error) {
        library.SetReadOnly(true);
        LibraryFrontEnd().ShowMessage(
            FormatMessage(msg::LibrarySyntaxError, std::to_string(error.LineNumber()), library.FileName()));
    }
}

bool ReadLibraryFile(CPatternLibrary& library) {
    std::ifstream in(library.FileName(), std::ios::binary);
    std::error_code error;
    if (!in || std::filesystem::is_directory(library.FileName(), error)) return false;
    library.loaded = std::time(nullptr);
    const CLibraryActivity reading;
    CLex lex(in, library.FileName());
    if (lex.Kind() == TokWord && lex.TokenText() == "LIBRARY") {
        ReadNativeLibrary(library, lex);
        return true;
    }
    LibraryFrontEnd().ShowProgress(FormatMessage(msg::LoadingLibraryFile, library.FileName()));
    try {
        library.SetImported(
            ReadXLife(lex, std::filesystem::path(library.FileName()).stem().string(), library.FileName()));
    } catch (const CSyntaxException& error) {
        library.SetReadOnly(true);
        LibraryFrontEnd().ShowMessage(
            FormatMessage(msg::LibrarySyntaxError, std::to_string(error.LineNumber()), library.FileName()));
        return true;
    } catch (const CInputLimitException& error) {
        library.SetReadOnly(true);
        LibraryFrontEnd().ShowMessage(
            FormatMessage(msg::LibrarySyntaxError, std::to_string(error.LineNumber()), library.FileName()));
        return true;
    }
    StartLibraryLoading();
    return true;
}

}  // namespace tessera
