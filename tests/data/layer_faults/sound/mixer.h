// A layer check fixture.
#pragma once
