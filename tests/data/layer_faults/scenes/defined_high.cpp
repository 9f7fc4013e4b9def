#include "records/menu.h"

void cMenu::Draw() {}
