#pragma once
// The command numbers of the menus, the toolbar and the keyboard. They are kept as the program has always
// numbered them, so that a help topic or a recorded command keeps its meaning.
#include <cstdint>

namespace tessera::ui::cmd {

inline constexpr uint32_t kCancel = 2;
// Game
inline constexpr uint32_t kNewGame = 40045;
inline constexpr uint32_t kSave = 40062;
inline constexpr uint32_t kSaveAs = 40063;
inline constexpr uint32_t kOpen = 40064;
inline constexpr uint32_t kCopyStart = 40047;
inline constexpr uint32_t kCopyCurrent = 40066;
inline constexpr uint32_t kCopyGame = 40067;
inline constexpr uint32_t kName = 40057;
inline constexpr uint32_t kDescription = 40201;
inline constexpr uint32_t kKeep = 40048;
inline constexpr uint32_t kRuleShow = 40208;
inline constexpr uint32_t kRuleFirst = 40209;
inline constexpr uint32_t kRuleLast = 40300;
inline constexpr uint32_t kDeleteThis = 40068;
inline constexpr uint32_t kDeleteUnnamed = 40069;
inline constexpr uint32_t kDeleteOthers = 40070;
inline constexpr uint32_t kSelectPrevious = 40052;
inline constexpr uint32_t kSelectNext = 40053;
inline constexpr uint32_t kSelectLast = 40054;
inline constexpr uint32_t kSelectGame = 40056;
inline constexpr uint32_t kOptions = 40315;
inline constexpr uint32_t kExit = 40049;
// Edit
inline constexpr uint32_t kUndo = 57643;
inline constexpr uint32_t kRedo = 57644;
inline constexpr uint32_t kCut = 57635;
inline constexpr uint32_t kCopy = 57634;
inline constexpr uint32_t kPaste = 57637;
inline constexpr uint32_t kPasteNewGame = 40322;
inline constexpr uint32_t kDelete = 40006;
inline constexpr uint32_t kRotateLeft = 40008;
inline constexpr uint32_t kRotateRight = 40009;
inline constexpr uint32_t kRotate180 = 40010;
inline constexpr uint32_t kVerticalReflect = 40011;
inline constexpr uint32_t kHorizReflect = 40012;
inline constexpr uint32_t kReflectSlash = 40013;
inline constexpr uint32_t kReflectBackslash = 40023;
inline constexpr uint32_t kFill = 40015;
inline constexpr uint32_t kRepeatInsert = 40301;
inline constexpr uint32_t kGrowSelection = 40034;
inline constexpr uint32_t kSelectAll = 40035;
inline constexpr uint32_t kBroth = 40204;
// Generation
inline constexpr uint32_t kGoto = 40060;
inline constexpr uint32_t kFirst = 40205;
inline constexpr uint32_t kLast = 40065;
inline constexpr uint32_t kPrevious = 40058;
inline constexpr uint32_t kNext = 40059;
inline constexpr uint32_t kAutostop = 40081;
inline constexpr uint32_t kGrowOne = 40046;
// View
inline constexpr uint32_t kZoomIn = 40040;
inline constexpr uint32_t kZoomOut = 40041;
inline constexpr uint32_t kZoomAll = 40042;
inline constexpr uint32_t kZoomCosmic = 40306;
inline constexpr uint32_t kZoomBack = 40043;
inline constexpr uint32_t kZoomDefault = 40044;
inline constexpr uint32_t kZoomSelection = 40033;
inline constexpr uint32_t kGridStyle = 40050;
inline constexpr uint32_t kMapStyle = 40051;
inline constexpr uint32_t kNewOnly = 40036;
inline constexpr uint32_t kDifferences = 40037;
inline constexpr uint32_t kFlashDifferences = 40038;
inline constexpr uint32_t kScrollUp = 40318;
inline constexpr uint32_t kScrollDown = 40319;
inline constexpr uint32_t kScrollLeft = 40320;
inline constexpr uint32_t kScrollRight = 40321;
// Patterns
inline constexpr uint32_t kShowPatterns = 40083;
inline constexpr uint32_t kKeepPatternsOnTop = 40084;
inline constexpr uint32_t kCreatePattern = 40094;
inline constexpr uint32_t kSystemLibrary = 40096;
inline constexpr uint32_t kUserLibrary = 40097;
inline constexpr uint32_t kOtherLibraryFirst = 40098;
inline constexpr uint32_t kNewLibrary = 40095;
inline constexpr uint32_t kLoadLibrary = 40087;
inline constexpr uint32_t kSaveLibraries = 40093;
inline constexpr uint32_t kCensus = 40089;
inline constexpr uint32_t kTotalCensus = 40207;
// Help
inline constexpr uint32_t kHelpIndex = 57666;
inline constexpr uint32_t kGettingStarted = 40073;
inline constexpr uint32_t kAbout = 40071;
// The growth buttons
inline constexpr uint32_t kGrowWhilePressed = 40078;
inline constexpr uint32_t kGrowBackwards = 40090;
inline constexpr uint32_t kGrowContinuously = 40079;

}  // namespace tessera::ui::cmd
