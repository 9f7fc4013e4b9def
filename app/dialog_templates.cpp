// The dialog templates: controls, captions, layout in dialog units and tab
// order.
#include "app/dialog_templates.h"

namespace {

using plat::DLGITEM;
using plat::DLGTEMPLATE;
using plat::eDlgItemKind;

DLGITEM Item(uint16_t nId, eDlgItemKind kind, const char* szText, int x, int y, int cx, int cy,
             bool bTabStop, bool bGroup = false) {
  DLGITEM item;
  item.nId = nId;
  item.kind = kind;
  item.strText = szText;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  item.bTabStop = bTabStop;
  item.bGroup = bGroup;
  return item;
}

DLGTEMPLATE MakeStartDialog() {
  DLGTEMPLATE t;
  t.nId = IDD_START_DIALOG;
  t.cx = 222;
  t.cy = 171;
  t.strFace = "ＭＳ Ｐゴシック";
  t.nPointSize = 9;
  t.bCaption = true;
  t.vItems = {
      Item(1075, eDlgItemKind::Picture, "", 7, 7, 20, 21, false),
      Item(1000, eDlgItemKind::DefPushButton, "ゲーム開始", 80, 105, 50, 25, true),
      Item(1001, eDlgItemKind::PushButton, "ゲーム中止", 80, 140, 50, 18, true),
      Item(1006, eDlgItemKind::GroupBox, "描画モード", 15, 15, 190, 55, false),
      Item(1002, eDlgItemKind::RadioButton, "Direct3D", 20, 30, 42, 10, true),
      Item(1003, eDlgItemKind::RadioButton, "DirectDraw", 80, 30, 45, 10, true),
      Item(1005, eDlgItemKind::Label, "詳細な設定は環境設定ファイル「System.ini」で行って下さい。",
           20, 50, 177, 12, false, true),
      Item(1004, eDlgItemKind::CheckBox, "次回からこのダイアログを表示しない", 50, 85, 120, 10,
           true),
  };
  return t;
}

DLGTEMPLATE MakeNameDialog() {
  DLGTEMPLATE t;
  t.nId = IDD_NAME_DIALOG;
  t.cx = 110;
  t.cy = 65;
  t.strFace = "ＭＳ Ｐゴシック";
  t.nPointSize = 9;
  t.bCaption = false;
  t.vItems = {
      Item(1075, eDlgItemKind::Picture, "", 7, 7, 20, 21, false),
      Item(1007, eDlgItemKind::Label, "登録名(3文字まで)", 15, 15, 56, 16, false),
      Item(1003, eDlgItemKind::Edit, "", 75, 12, 24, 14, true),
      Item(1000, eDlgItemKind::DefPushButton, "OK", 30, 35, 50, 18, true),
  };
  return t;
}

}  // namespace

const plat::DLGTEMPLATE* FindDialogTemplate(int nId) {
  static const DLGTEMPLATE s_Start = MakeStartDialog();
  static const DLGTEMPLATE s_Name = MakeNameDialog();
  switch (nId) {
    case IDD_START_DIALOG:
      return &s_Start;
    case IDD_NAME_DIALOG:
      return &s_Name;
    default:
      return nullptr;
  }
}
