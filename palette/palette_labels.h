// Names of the values of block, character and item fields as the editor
// shows them; each list names value 0 first (or the value its comment says)
// and ends with an empty text. The flag catalogue of the flow engine uses the
// on/off, flying, invincible and giant lists as value labels; nothing else
// reads them during play.
#pragma once

#include "flow/option_labels.h"

// Blocks.
extern const char* const g_szBlockOnOffLabels[];
extern const char* const g_szBlockOnOffLabels2[];
extern const char* const g_szPaletteChoiceLabels[];  // stage palette, common palette
extern const char* const g_szInheritSrcLabels[];     // inherit source 0, 1, 2
extern const char* const g_szInheritCommonLabels[];  // inherit source 0, 1
extern const char* const g_szInheritStageLabels[];   // inherit source 0 and the stage
extern const char* const g_szInheritNoneLabels[];
extern const char* const g_szGraphicKindLabels[];
extern const char* const g_szGraphicKindLabels2[];
extern const char* const g_szDisplayLabels[];
extern const char* const g_szHitTypeLabels[];
extern const char* const g_szExemptLabels[];  // 255 (none), then 0..7
extern const char* const g_szSpecialLabels[];
extern const char* const g_szItemSrcLabels[];
extern const char* const g_szItemSrcCommonLabels[];

// Characters.
extern const char* const g_szOperatorLabels[];
extern const char* const g_szInputPlayerLabels[];
extern const char* const g_szFlyingLabels[];
extern const char* const g_szInvincibleLabels[];
extern const char* const g_szCharaOnOffLabels[];
extern const char* const g_szGiantLabels[];      // scale 1..10
extern const char* const g_szGiantOnlyLabels[];  // scale 2..10
extern const char* const g_szSightLabels[];
extern const char* const g_szBlockHitRangeLabels[];
extern const char* const g_szActRangeLabels[];
extern const char* const g_szActModeLabels[];

// Items.
extern const char* const g_szPickRuleLabels[];
