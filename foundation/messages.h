#pragma once
// The string table: the texts the program shows, by message number.
#include <string>
#include <string_view>

namespace tessera {

// Message numbers: the one list of the texts the program shows, kept in step with the table in messages.cpp.
namespace msg {
// General.
inline constexpr int ErrorReadingFile = 1013;
inline constexpr int CannotModifyGeneration = 1015;
inline constexpr int GameTooBig = 1016;
inline constexpr int GameTooOld = 1017;
inline constexpr int NothingToGrow = 1018;
inline constexpr int OutOfMemory = 1019;
inline constexpr int OutOfResources = 1020;
inline constexpr int UnexpectedError = 1021;

// The engine's own refusals.
inline constexpr int RowTooLong = 1200;           // an edit would make a row longer than a row can hold
inline constexpr int TooManyExplorations = 1201;  // every exploration slot is in use
inline constexpr int CellOutsideUniverse = 1202;  // a cell beyond the limits of the universe

// The cancel box of a long growth.
inline constexpr int ComputingGeneration = 1210;
inline constexpr int CurrentlyAtGeneration = 1211;
inline constexpr int Cancelled = 1212;

// File readers.
inline constexpr int HalcyonTooBig = 1106;
inline constexpr int HalcyonBadFormat = 1107;

// Problems collected in an XLife-family file's error report.
inline constexpr int XLDescriptionDirective = 1300;
inline constexpr int XLRuleDirective = 1301;
inline constexpr int XLUnknownCommand = 1302;
inline constexpr int XLLettersAsCells = 1303;
inline constexpr int XLUnexpectedRleCharacter = 1304;
inline constexpr int XLEndOutsideBlock = 1305;
inline constexpr int XLErrorInRule = 1306;
inline constexpr int XLInsertionNotInLibrary = 1307;
inline constexpr int XLLibraryNotLoaded = 1308;
inline constexpr int XLInsertionNotInFile = 1309;
inline constexpr int XLUnknownAttribute = 1310;
inline constexpr int XLTooManyErrors = 1311;
inline constexpr int XLCircularInsertions = 1312;
inline constexpr int XLUnrecognisedLine = 1313;
inline constexpr int XLNameInsideBlock = 1314;
inline constexpr int XLErrorReportCaption = 1315;
inline constexpr int XLRuleNotUsed = 1316;  // %1 the rule text, %2 why it cannot be used

// Loading a file.
inline constexpr int SyntaxErrorAtLine = 1320;
inline constexpr int InputRowTooLong = 1321;
inline constexpr int InputCellOutside = 1322;
inline constexpr int GameFileFilter = 1323;

// The census.
inline constexpr int TotalCensusTitle = 1063;
inline constexpr int CountingObjects = 1071;
inline constexpr int CensusExportFailed = 2110;
inline constexpr int CensusTitle = 2111;
inline constexpr int CensusSummary = 2112;
// Patterns and pattern libraries.
inline constexpr int InvalidName = 1008;
inline constexpr int LibraryFileFilter = 1023;
inline constexpr int UnloadLibraryPrompt = 1025;
inline constexpr int NameAlreadyUsed = 1036;
inline constexpr int SystemLibraryNotLoaded = 1040;
inline constexpr int UserLibraryNotLoaded = 1041;
inline constexpr int PropertyFieldMistake = 1044;
inline constexpr int DeletePatternPrompt = 1045;
inline constexpr int LibraryWord = 1046;
inline constexpr int PatternNameTaken = 1047;
inline constexpr int SaveLibraryPrompt = 1048;
inline constexpr int CannotSaveLibrary = 1049;
inline constexpr int LibrarySyntaxError = 1050;
inline constexpr int LibraryAlreadyLoaded = 1058;
inline constexpr int NewPatternNameTitle = 1066;
inline constexpr int LoadingLibraryFile = 1088;
inline constexpr int LoadingLibraryPattern = 1089;
inline constexpr int LoadingPattern = 1094;
inline constexpr int UnloadingPattern = 1108;
inline constexpr int LibrarySystem = 1111;
inline constexpr int LibraryUser = 1112;
inline constexpr int TooManyLibraries = 2056;
// Repeats found by automatic stop.
inline constexpr int RepeatInPlace = 1038;
inline constexpr int RepeatSimilar = 1039;
inline constexpr int RepeatMoved = 1069;
inline constexpr int NotInteresting = 1070;
inline constexpr int RepeatWait = 1110;  // internal: check again at a known generation, never shown

// Broth and clipboard.
inline constexpr int ClipboardTitle = 1092;
inline constexpr int CreatingBroth = 1400;
inline constexpr int BrothDensityRange = 1401;
inline constexpr int LeaveOnClipboard = 1402;
inline constexpr int InvertClipboardBitmap = 1403;
inline constexpr int ClipboardTextTooLong = 1404;
// Files that cannot be opened or written: %1 the file, %2 the system's reason.
inline constexpr int FileNotOpened = 1330;
inline constexpr int FileNotWritten = 1331;
// A pattern whose extent the RLE header cannot express.
inline constexpr int RleTooLarge = 1332;
// Why a rule text cannot be used.
inline constexpr int RuleTextNotARule = 1340;
inline constexpr int RuleTextUnknownName = 1341;
inline constexpr int RuleTextNotTotalistic = 1342;
inline constexpr int RuleTextManyStates = 1343;
inline constexpr int RuleTextBoundedPlane = 1344;
inline constexpr int RuleTextBirthOnZero = 1345;
}  // namespace msg

// The text of a message, or an empty view for a number the table does not hold.
std::string_view MessageText(int messageId);

// The text with %1, %2 and %3 replaced by the arguments ("%%" stands for one "%").
std::string FormatMessage(int messageId, std::string_view arg1 = {}, std::string_view arg2 = {},
                          std::string_view arg3 = {});
std::string FormatText(std::string_view text, std::string_view arg1 = {}, std::string_view arg2 = {},
                       std::string_view arg3 = {});

}  // namespace tessera
