// A layer check fixture: a header of a high floor.
#pragma once

class cScene {};
