// A layer check fixture: a back end.
#pragma once
