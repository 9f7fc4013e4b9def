// Which installed font file stands for a face the game names. Games name
// the faces of another system ("ＭＳ ゴシック", "ＭＳ Ｐ明朝"), which are not
// installed here: such a face is matched by its kind (gothic or mincho,
// fixed or proportional) to a Japanese face that is, and anything else that
// is not installed falls back to a Japanese monospace face.
#pragma once

#include <string>
#include <string_view>

namespace plat::font {

struct FACECHOICE {
  std::string strFile;    // font file
  int nIndex = 0;         // face within the file
  std::string strFamily;  // its family name, for the logs
};

// strFace in UTF-8. False when no Japanese font is installed at all and the
// face itself is not installed either; *pstrError then says why.
bool ChooseFace(std::string_view strFace, FACECHOICE& choice, std::string* pstrError);

// The Japanese families that stand for a face the system does not have,
// most wanted first, by the kind the face's name shows; empty for a face
// whose name shows no kind.
const char* const* GetStandInFamilies(std::string_view strFace);

}  // namespace plat::font
