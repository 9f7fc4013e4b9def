#include "records/menu.h"

int cMenu::Count() { return 0; }
