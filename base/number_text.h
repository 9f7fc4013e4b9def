// Numbers as the result, ranking and option screens write them.
#pragma once

#include <cstdint>
#include <string>

// Decimal digits of n, 1 to 10; the sign does not count.
int GetDigitNum(int32_t n);

// The last nWidth digits of value (at least all of its digits), zero-padded
// on the left; unless bKeepZeros, the leading zeros become blanks so the
// number stays right-aligned (a lone 0 stays). A negative value gets "-" in
// front, and with bPlus a value of 0 or more gets "+".
void NumToStr(std::string& strOut, int32_t nValue, int nWidth, int bKeepZeros, int bPlus);
