// A layer check fixture: the platform core.
#pragma once
