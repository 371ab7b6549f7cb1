#pragma once
// Message numbers of the file readers (texts in the string table).

namespace tessera::msg {
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

// Loading a file.
inline constexpr int SyntaxErrorAtLine = 1320;
inline constexpr int InputRowTooLong = 1321;
inline constexpr int InputCellOutside = 1322;
inline constexpr int GameFileFilter = 1323;
}  // namespace tessera::msg
