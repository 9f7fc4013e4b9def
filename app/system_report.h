// The description of the machine at the top of the report log.
#pragma once

// 1, or 0 when the report log cannot be opened.
int ReportSystem();
