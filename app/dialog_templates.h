// The program's dialog templates, found by their resource number: 102 the
// name entry, 103 the start dialog.
#pragma once

#include "platform/ui/dialog_service.h"

constexpr int IDD_NAME_DIALOG = 102;
constexpr int IDD_START_DIALOG = 103;

// Null for a number the program has no template for.
const plat::DLGTEMPLATE* FindDialogTemplate(int nId);
