// Numbers as text.
#include "base/number_text.h"

int GetDigitNum(int32_t n) {
  // The magnitude in 64 bits: INT_MIN has one.
  int64_t m = n < 0 ? -static_cast<int64_t>(n) : n;
  int nDigits = 1;
  while (m >= 10) {
    m /= 10;
    ++nDigits;
  }
  return nDigits;
}

void NumToStr(std::string& strOut, int32_t nValue, int nWidth, int bKeepZeros, int bPlus) {
  const int nDigits = GetDigitNum(nValue);
  if (nWidth <= 0 || nWidth < nDigits) nWidth = nDigits;
  int64_t m = nValue < 0 ? -static_cast<int64_t>(nValue) : nValue;
  strOut.assign(static_cast<size_t>(nWidth), '0');
  for (int i = nWidth - 1; i >= 0; --i) {
    strOut[static_cast<size_t>(i)] = static_cast<char>('0' + m % 10);
    m /= 10;
  }
  if (!bKeepZeros)
    for (size_t i = 0; i + 1 < strOut.size() && strOut[i] == '0'; ++i) strOut[i] = ' ';
  if (nValue < 0)
    strOut.insert(0, "-");
  else if (bPlus)
    strOut.insert(0, "+");
}
