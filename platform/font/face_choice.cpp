// Face choice through fontconfig.
#include "platform/font/face_choice.h"

#include <fontconfig/fontconfig.h>

#include <mutex>

namespace plat::font {

namespace {

std::mutex& FontconfigMutex() {
  static std::mutex mtx;
  return mtx;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

bool ContainsIgnoreCase(std::string_view text, std::string_view part) {
  if (part.size() > text.size()) return false;
  for (size_t i = 0; i + part.size() <= text.size(); ++i) {
    bool bSame = true;
    for (size_t k = 0; k < part.size() && bSame; ++k) {
      char a = text[i + k], b = part[k];
      if (a >= 'A' && a <= 'Z') a = char(a - 'A' + 'a');
      if (b >= 'A' && b <= 'Z') b = char(b - 'A' + 'a');
      bSame = a == b;
    }
    if (bSame) return true;
  }
  return false;
}

// One fontconfig match. bExactFamily: the match must carry strFamily among
// its family names (fontconfig always answers something); bJapanese: it
// must cover Japanese.
bool Match(FcPattern* pPattern, std::string_view strFamily, bool bExactFamily, bool bJapanese,
           FACECHOICE& choice) {
  FcConfigSubstitute(nullptr, pPattern, FcMatchPattern);
  FcDefaultSubstitute(pPattern);
  FcResult result = FcResultNoMatch;
  FcPattern* pMatch = FcFontMatch(nullptr, pPattern, &result);
  FcPatternDestroy(pPattern);
  if (!pMatch) return false;
  bool bOk = true;
  FcChar8* szFamily = nullptr;
  if (bExactFamily) {
    bOk = false;
    const std::string strWanted(strFamily);
    for (int i = 0; FcPatternGetString(pMatch, FC_FAMILY, i, &szFamily) == FcResultMatch; ++i) {
      if (FcStrCmpIgnoreCase(szFamily, reinterpret_cast<const FcChar8*>(strWanted.c_str())) == 0) {
        bOk = true;
        break;
      }
    }
  }
  if (bOk && bJapanese) {
    FcLangSet* pLangs = nullptr;
    bOk = FcPatternGetLangSet(pMatch, FC_LANG, 0, &pLangs) == FcResultMatch &&
          FcLangSetHasLang(pLangs, reinterpret_cast<const FcChar8*>("ja")) != FcLangDifferentLang;
  }
  FcChar8* szFile = nullptr;
  int nIndex = 0;
  if (bOk && FcPatternGetString(pMatch, FC_FILE, 0, &szFile) == FcResultMatch) {
    FcPatternGetInteger(pMatch, FC_INDEX, 0, &nIndex);
    choice.strFile = reinterpret_cast<const char*>(szFile);
    choice.nIndex = nIndex;
    choice.strFamily = FcPatternGetString(pMatch, FC_FAMILY, 0, &szFamily) == FcResultMatch
                           ? reinterpret_cast<const char*>(szFamily)
                           : std::string();
  } else {
    bOk = false;
  }
  FcPatternDestroy(pMatch);
  return bOk;
}

bool MatchFamily(std::string_view strFamily, bool bJapanese, FACECHOICE& choice) {
  FcPattern* pPattern = FcPatternCreate();
  const std::string strName(strFamily);
  FcPatternAddString(pPattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(strName.c_str()));
  return Match(pPattern, strFamily, true, bJapanese, choice);
}

bool MatchQuery(const char* szQuery, FACECHOICE& choice) {
  FcPattern* pPattern = FcNameParse(reinterpret_cast<const FcChar8*>(szQuery));
  if (!pPattern) return false;
  return Match(pPattern, {}, false, true, choice);
}

constexpr const char* kGothicFixed[] = {"IPAGothic", "VL Gothic", "TakaoGothic",
                                        "Noto Sans Mono CJK JP", nullptr};
constexpr const char* kGothicProportional[] = {"IPAPGothic", "VL PGothic", "TakaoPGothic",
                                               "Noto Sans CJK JP", nullptr};
constexpr const char* kMinchoFixed[] = {"IPAMincho", "TakaoMincho", "Noto Serif CJK JP", nullptr};
constexpr const char* kMinchoProportional[] = {"IPAPMincho", "TakaoPMincho", "Noto Serif CJK JP",
                                               nullptr};
constexpr const char* kNone[] = {nullptr};

}  // namespace

const char* const* GetStandInFamilies(std::string_view strFace) {
  const bool bMincho = Contains(strFace, "明朝") || ContainsIgnoreCase(strFace, "mincho");
  const bool bGothic = Contains(strFace, "ゴシック") || Contains(strFace, "ｺﾞｼｯｸ") ||
                       ContainsIgnoreCase(strFace, "gothic");
  if (!bMincho && !bGothic) return kNone;
  // "ＭＳ Ｐゴシック", "HGP明朝B", "MS PGothic", "MS UI Gothic": proportional.
  const bool bProportional = Contains(strFace, "Ｐ") || strFace.substr(0, 3) == "HGP" ||
                             ContainsIgnoreCase(strFace, "PGothic") ||
                             ContainsIgnoreCase(strFace, "PMincho") ||
                             ContainsIgnoreCase(strFace, "UI Gothic");
  if (bMincho) return bProportional ? kMinchoProportional : kMinchoFixed;
  return bProportional ? kGothicProportional : kGothicFixed;
}

bool ChooseFace(std::string_view strFace, FACECHOICE& choice, std::string* pstrError) {
  std::lock_guard<std::mutex> lock(FontconfigMutex());
  if (!FcInit()) {
    if (pstrError) *pstrError = "fontconfig cannot be initialised";
    return false;
  }
  // The face itself, when it is installed.
  if (!strFace.empty() && MatchFamily(strFace, false, choice)) return true;
  // A Japanese face of the same kind.
  for (const char* const* p = GetStandInFamilies(strFace); *p; ++p)
    if (MatchFamily(*p, true, choice)) return true;
  // Any Japanese face, a monospace one first.
  if (MatchQuery(":lang=ja:spacing=mono", choice) || MatchQuery(":lang=ja", choice)) return true;
  if (pstrError)
    *pstrError = "no font for the face \"" + std::string(strFace) +
                 "\" and no Japanese font is installed (fonts-ipafont-gothic provides one)";
  return false;
}

}  // namespace plat::font
