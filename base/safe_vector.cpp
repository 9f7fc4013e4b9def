// The bad-index report of the checked accessors.
#include "base/safe_vector.h"

#include <string>

#include "base/exit_status.h"
#include "base/logs.h"
#include "base/program_state.h"
#include "base/text_helpers.h"

void ReportBadIndex(char chKind, int nIndex, int nCount, int nElemSize) {
  std::string strMes;
  FormatString(strMes, chKind == 'L' ? "err L[%d] ( %d , %d )" : "err V[%d] ( %d , %d )", nIndex,
               nCount, nElemSize);
  DebugLog(strMes.c_str());
  ReportF("%s", strMes.c_str());
  // The game ends on it: whoever started it hears why, once.
  if (!HasRunFailed()) ReportRunFailure("the game read past the end of a list (" + strMes + ")");
  PostFatalClose();
}
