// Text and path helpers shared by the whole program: formatted strings,
// Shift-JIS character handling, and Windows-form paths of at most 259 bytes.
#pragma once

#include <string>

#include "platform/msg/messages.h"

constexpr int MAX_PATH = 260;

void FormatString(std::string& strOut, const char* szFormat, ...)
    __attribute__((format(printf, 2, 3)));
int SetStrFromBuf(std::string& str);
std::string SubStrSafe(std::string& strSrc, int nStart, int nCount);

bool IsSjisLeadByte(unsigned char ch);
bool IsSjisTrailByte(unsigned char ch);
int IsDBCSPair(const char* p);
int CountChars(const char* szText);

// A dialog control's text, read into a buffer of at most 5120 bytes: at most
// nMax - 1 bytes come back, cut before a character, never inside one.
// Returns the length read; 0 and an empty text without such a control.
int GetDlgItemString(plat::WndHandle hDlg, int nId, std::string& strOut, int nMax);
// Nonzero when the dialog has the control.
int SetDlgItemString(plat::WndHandle hDlg, int nId, const std::string& strText);

int MakeRelativePath(char* szPath);
int MakeRelativePathStr(std::string& strPath);
int MakeFullPath(char* szPath);
int StripDirectory(char* szPath);
int ChangeExtension(char* szOut, const char* szSrc, const char* szExt);
int RemoveExtension(char* szPath);
int RemoveExtensionStr(std::string& strPath);
int GetExtension(char* szOut, const char* szPath);
int InsertFileNumber(char* szOut, const char* szSrc, int a, int b);
int FindLatestVersionFile(char* szOut, const char* szPath, const char* szExt);
int FindLatestVersionFileStr(std::string& strOut, const std::string& strPath, const char* szExt);
