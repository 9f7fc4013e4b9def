// Saving a file so that a failure is never silent: the bytes go to the disk
// through the platform's one atomic writer (the old file stays whole on any
// failure), and a failed save is told to the player, in the report log when
// there is one and always on standard error.
#pragma once

#include <cstddef>
#include <string>

// Writes the file; false (and the failure reported) when it did not reach
// the disk. szOwnText, when given, is the program's own printf line for the
// failure, taking the path ("%s の書き込みに失敗！"): it is the report log's
// line and follows the English on standard error.
bool SaveFile(const std::string& strPath, const void* pData, size_t nSize,
              const char* szOwnText = nullptr);

// The report of a save that failed with errno nError: the report log's line
// (szOwnText with the path, or an English one), and one line on standard
// error, in English with the own text after it, converted to UTF-8.
void ReportSaveFailed(const std::string& strPath, int nError, const char* szOwnText);
