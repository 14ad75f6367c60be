#pragma once

// Title sets read by a test program go to the built executable's reading child.
#include "readers/mediainfo_child.h"

namespace markwright::testing {
inline const bool kMediaInfoChildProgramSet = (SetMediaInfoChildProgram(MARKWRIGHT_EXE), true);
}
