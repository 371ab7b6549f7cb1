#pragma once
// The table of every parameter of the "Parameters" section, in the order the save-all and reset-all
// operations walk them: key, default text and, for numbers, the accepted range. Expanded by
// parameters.h (declarations) and parameters.cpp (definitions and the registry).
//
// TESSERA_PARAMETER_TABLE(PARAM_INT, PARAM_UINT, PARAM_STRING, PARAM_COLOR) expands to one
// PARAM_INT(Key, "default", min, max), PARAM_UINT(Key, "default", min, max),
// PARAM_STRING(Key, "default") or PARAM_COLOR(Key, "default") per parameter.

// clang-format off
#define TESSERA_PARAMETER_TABLE(PARAM_INT, PARAM_UINT, PARAM_STRING, PARAM_COLOR) \
    PARAM_INT(AutoSaveConfig, "1", 0, 1) \
    PARAM_INT(FirstTime, "1", 0, 1) \
    PARAM_INT(RegisterFiles, "0", 0, 1) \
    PARAM_INT(WindowSizeX, "580", 100, 2000) \
    PARAM_INT(WindowSizeY, "500", 100, 2000) \
    PARAM_INT(MinWindowX, "400", 100, 480) \
    PARAM_INT(MinWindowY, "200", 100, 480) \
    PARAM_INT(WindowPosX, "32767", 0, 32767) \
    PARAM_INT(WindowPosY, "32767", 0, 32767) \
    PARAM_INT(StartMaximized, "0", 0, 1) \
    PARAM_INT(StartMinimized, "0", 0, 1) \
    PARAM_COLOR(DialogBackgroundColor, "255 255 255") \
    PARAM_COLOR(DialogTextColor, "0 0 0") \
    PARAM_INT(PageScrollOverlap, "5", 0, 15) \
    PARAM_INT(GridPitch, "10", 5, 12) \
    PARAM_INT(GridMinPitch, "6", 5, 12) \
    PARAM_INT(GridMaxPitch, "12", 5, 12) \
    PARAM_INT(GameDisplayStyle, "0", 0, 1) \
    PARAM_INT(GrowDisplayStyle, "0", 0, 6) \
    PARAM_COLOR(GridColor, "96 96 96") \
    PARAM_COLOR(GridHighlightColor, "255 0 0") \
    PARAM_COLOR(TileGridColor, "96 96 96") \
    PARAM_COLOR(TileGridHighlightColor, "255 0 0") \
    PARAM_COLOR(TileTitleColor, "192 192 192") \
    PARAM_COLOR(TileTextColor, "0 0 0") \
    PARAM_COLOR(TileTitleHighlightColor, "255 0 0") \
    PARAM_COLOR(TileTextHighlightColor, "0 255 255") \
    PARAM_INT(BackgroundColor, "1", 0, 1) \
    PARAM_COLOR(AliveColor, "192 0 192") \
    PARAM_COLOR(BornColor, "255 0 0") \
    PARAM_COLOR(DiedColor, "224 192 224") \
    PARAM_COLOR(SelectedColor, "0 0 255") \
    PARAM_COLOR(ForegroundColor, "192 64 64") \
    PARAM_COLOR(BgUniverseColor, "0 0 128") \
    PARAM_COLOR(ForeAndBackColor, "192 64 128") \
    PARAM_INT(MapPitch, "5", 1, 8) \
    PARAM_INT(MapMinPitch, "5", 1, 7) \
    PARAM_INT(UseCosmic, "1", 0, 1) \
    PARAM_INT(MapMaxPitch, "8", 1, 31) \
    PARAM_INT(VignettePitch, "5", 1, 31) \
    PARAM_UINT(PatternTileWidth, "80", 10u, 500u) \
    PARAM_UINT(PatternTileHeight, "85", 20u, 500u) \
    PARAM_UINT(TransformsTileWidth, "32", 8u, 300u) \
    PARAM_UINT(TransformsTileHeight, "32", 8u, 300u) \
    PARAM_INT(KeepPatternsOnTop, "0", 0, 1) \
    PARAM_UINT(AutoScrollInterval, "50", 1u, 1000u) \
    PARAM_INT(AutoScrollZone, "10", 1, 100) \
    PARAM_INT(AutoScrollExtend, "30", 1, 100) \
    PARAM_INT(AutoScrollMinRate, "1", 1, 1000) \
    PARAM_INT(AutoScrollMaxRate, "100", 1, 1000) \
    PARAM_INT(BackgroundSlice, "250", 100, 10000) \
    PARAM_INT(KeepGames, "10", 0, 32767) \
    PARAM_INT(AnimateTimer, "600", 100, 3000) \
    PARAM_INT(KeepEvery, "50", 1, 32767) \
    PARAM_UINT(KeepLastDisplayed, "16", 1u, 32767u) \
    PARAM_UINT(KeepLastUndisplayed, "2", 1u, 32767u) \
    PARAM_UINT(GameTrimInterval, "50", 1u, 32767u) \
    PARAM_UINT(UndoListSize, "20", 1u, 20u) \
    PARAM_INT(PatternMaxCycle, "64", 1, 512) \
    PARAM_INT(GameMaxCycle, "64", 1, 512) \
    PARAM_INT(GameMaxCycleCheck, "20", 1, 512) \
    PARAM_UINT(DefaultPatternRecogPopLimit, "100", 1u, 500u) \
    PARAM_INT(DefaultPatternRecogPeriodLimit, "16", 1, 256) \
    PARAM_UINT(MaxDiscriminatorPop, "6", 0u, 256u) \
    PARAM_UINT(MinDiscriminatorReferences, "12", 2u, 256u) \
    PARAM_INT(LoadSystemLibrary, "1", 0, 1) \
    PARAM_INT(LoadUserLibrary, "1", 0, 1) \
    PARAM_INT(SilentLoadUser, "1", 0, 1) \
    PARAM_STRING(SystemLibraryName, "syslib.lfl") \
    PARAM_STRING(UserLibraryName, "userlib.lfl") \
    PARAM_INT(GridGen1, "1", 0, 1) \
    PARAM_INT(StartBrothAsGrid, "0", 0, 1) \
    PARAM_INT(GridAfterRead, "0", 0, 1) \
    PARAM_INT(GridMakeGame, "0", 0, 1) \
    PARAM_INT(SilentReplace, "0", 0, 1) \
    PARAM_INT(GotogameShowUnnamed, "0", 0, 1) \
    PARAM_INT(AutoStopGrow, "1", 0, 1) \
    PARAM_INT(ConfirmPatternDelete, "1", 0, 1) \
    PARAM_INT(Announce, "0", 0, 1) \
    PARAM_INT(PatternUniverseLimit, "30", 0, 100) \
    PARAM_UINT(ExploreFixupThreshold, "5000", 100u, 65535u) \
    PARAM_INT(SmallFontHeight, "7", 5, 12) \
    PARAM_INT(TileGridThickness, "1", 1, 5) \
    PARAM_INT(TileTitleLeading, "1", 0, 10) \
    PARAM_INT(Capture, "1", 0, 1) \
    PARAM_INT(LocalBusVideo, "1", 0, 1) \
    PARAM_UINT(HeapBlockSize, "500000", 32768u, 100000000u) \
    PARAM_UINT(MaxMemory, "64", 1u, 2048u) \
    PARAM_INT(MaxMemoryNeverExceed, "0", 0, 1) \
    PARAM_UINT(LineLength, "72", 24u, 256u) \
    PARAM_UINT(PageLength, "55", 24u, 256u) \
    PARAM_UINT(StatusBarUpdateInterval, "125", 0u, 1000u) \
    PARAM_INT(IdleInterval, "500", 0, 5000) \
    PARAM_INT(ShowDescriptions, "1", 0, 1) \
    PARAM_INT(WriteXLifeFormat, "1", 0, 1) \
    PARAM_INT(PatternXLifeFormat, "1", 0, 1) \
    PARAM_INT(XLifeObjectWidth, "64", 0, 80) \
    PARAM_INT(XLifeObjectHeight, "48", 0, 60) \
    PARAM_INT(XLifeWriteRLE, "1", 0, 1) \
    PARAM_INT(XLifeRLELineLength, "70", 32, 255) \
    PARAM_UINT(MaxXLifeErrors, "100", 1u, 10000u) \
    PARAM_INT(XLifeStrict, "0", 0, 1) \
    PARAM_UINT(MaxClipboardBuffer, "4294967295", 65528u, 4294967295u) \
    PARAM_UINT(DefaultClipboardScale, "8", 1u, 15u) \
    PARAM_UINT(DefaultClipboardStyle, "0", 0u, 1u) \
    PARAM_COLOR(ClipboardAliveColor, "0 0 0") \
    PARAM_INT(ClipboardInvertBitmap, "1", 0, 1) \
    PARAM_INT(MaxSilentClipboardLength, "1024", 0, 65535) \
    PARAM_STRING(CensusWriteFormat, "%n,%p,%c") \
    PARAM_STRING(CensusShowFormat, "%n\t%c") \
    PARAM_INT(BrothExplicitSize, "1", 0, 1) \
    PARAM_UINT(BrothDensity, "30", 0u, 100u) \
    PARAM_UINT(BrothSizeX, "100", 1u, 30000u) \
    PARAM_UINT(BrothSizeY, "100", 1u, 30000u) \
    PARAM_UINT(AnonymousRules, "8", 1u, 32u) \
    PARAM_STRING(DefaultRule, "23/3") \
    PARAM_INT(RightClickPopup, "1", 0, 1) \
    PARAM_INT(Randomize, "1", 0, 1) \
    PARAM_UINT(MaxGrowSpeed, "10000", 1000u, 10000u) \
    PARAM_UINT(MinGrowSpeed, "1", 1u, 1000u) \
    PARAM_UINT(SlowStartGrowSpeed, "8", 1u, 1000u) \
    PARAM_UINT(SlowStartGenerations, "16", 0u, 1000000u) \
    PARAM_INT(SlowStart, "1", 0, 1) \
    PARAM_INT(MaxSpinTime, "5", 1, 100) \
    PARAM_STRING(DefaultOriginator, "") \
    PARAM_STRING(TraceFile, "") \
    PARAM_INT(ShowCommandTime, "0", 0, 1) \
    PARAM_STRING(LibraryLoadBreak, "")
// clang-format on
