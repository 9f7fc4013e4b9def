// Names of the values of the enumerated fields of conditions, flows, commands,
// movement and shot parts, as the editor shows them: each list names value 0
// first and ends with an empty text. Nothing reads them during play; they fix
// the vocabulary the rest of the program uses for those values.
#pragma once

using LABELLIST = const char* const*;

// Number of texts before the closing empty text.
int CountLabels(LABELLIST list);

// Shot definitions.
extern const char* const g_szFormationLabels[];  // pattern kind 0..5
extern const char* const g_szShotRefLabels[];    // reference object of falling/surrounding
extern const char* const g_szMoveTypeLabels[];   // movement kind 0..9
extern const char* const g_szBlockSummonLabels[];
extern const char* const g_szSummonPaletteLabels[];
extern const char* const g_szCommonPaletteOnlyLabels[];
extern const char* const g_szSummonFactionLabels[];

// Effect kind names; the first text names kind 1.
extern const char* const g_szCharaEffectNames[];
extern const char* const g_szScrEffectNames[];

// Conditions (this list alone begins with an empty text for kind 0).
extern const char* const g_szCondKindLabels[];
extern const char* const g_szCondRuleLabels[];
extern const char* const g_szCompareLabels[];
extern const char* const g_szStateOpLabels[];
extern const char* const g_szStateSelectorLabels[];
extern const char* const g_szDistSubjectLabels[];
extern const char* const g_szDistShapeLabels[];
extern const char* const g_szDistOpLabels[];
extern const char* const g_szSubjectLabels[];
extern const char* const g_szSubjectLabels2[];
extern const char* const g_szSubjectSysLabels[];
extern const char* const g_szPlayerSubjectLabels[];
extern const char* const g_szPlayerSubjectSysLabels[];
extern const char* const g_szLeftSideLabels[];
extern const char* const g_szOperandLabels[];
extern const char* const g_szVarScopeLabels[];
extern const char* const g_szVarScope3Labels[];
extern const char* const g_szCharaVarLabels[];
extern const char* const g_szStatusModeLabels[];
extern const char* const g_szStatusOpLabels[];
extern const char* const g_szFlagValueLabels[];
extern const char* const g_szDisplaySwitchLabels[];

// Flows and key steps.
extern const char* const g_szFlowIdLabels[];
extern const char* const g_szLetterAllLabels[];
extern const char* const g_szLowerLetterLabels[];
extern const char* const g_szFlowReplaceKeyLabels[];
extern const char* const g_szFlowReplaceOpLabels[];
extern const char* const g_szTriggerLabels[];
extern const char* const g_szKeyStateLabels[];
extern const char* const g_szKeyRuleLabels[];

// Commands.
extern const char* const g_szFlowOpLabels[];
extern const char* const g_szFlowOpScopeLabels[];
extern const char* const g_szNextStageLabels[];
extern const char* const g_szStartFacingLabels[];
extern const char* const g_szMessagePosLabels[];
extern const char* const g_szMessageModeLabels[];
extern const char* const g_szPictureModeLabels[];
extern const char* const g_szTargetChoiceLabels[];
extern const char* const g_szTargetRangeLabels[];
extern const char* const g_szTargetMissLabels[];
extern const char* const g_szVanishWhatLabels[];
extern const char* const g_szVanishRangeLabels[];
extern const char* const g_szPaletteLabels[];
extern const char* const g_szPaletteCommonLabels[];
extern const char* const g_szPicturePosLabels[];
extern const char* const g_szEffectRunLabels[];
extern const char* const g_szBgSwitchLabels[];

// Movement parts.
extern const char* const g_szMoveModeLabels[];
extern const char* const g_szWarpModeLabels[];
extern const char* const g_szMoveDirLabels[];
extern const char* const g_szCoordKindLabels[];
extern const char* const g_szWarpCoordLabels[];
extern const char* const g_szTargetSlotLabels[];
extern const char* const g_szTurnSenseLabels[];
extern const char* const g_szTurnLabels[];
extern const char* const g_szTimingLabels[];
extern const char* const g_szCircleTimingLabels[];
extern const char* const g_szJumpKindLabels[];
extern const char* const g_szDistUnitLabels[];
