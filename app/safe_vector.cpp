// The bad-index report of the checked accessors.
#include "app/safe_vector.h"

#include <string>

#include "app/logs.h"
#include "app/program_state.h"
#include "app/text_helpers.h"

void ReportBadIndex(char chKind, int nIndex, int nCount, int nElemSize) {
  std::string strMes;
  FormatString(strMes, chKind == 'L' ? "err L[%d] ( %d , %d )" : "err V[%d] ( %d , %d )", nIndex,
               nCount, nElemSize);
  DebugLog(strMes.c_str());
  ReportF("%s", strMes.c_str());
  plat::PostMessage(g_hMainWnd.load(), plat::WM_CLOSE, 0, 0);
}
