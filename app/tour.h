// The tour: opens each screen of the program on the headless backend and
// writes a screenshot of each into a folder, then leaves the program.
#pragma once

#include <string>

#include "app/screen_script.h"

// Adds the tour's steps to `script`; screenshots go to `dir` (created when
// missing) as BMP files named after the screens.
void AddTourSteps(ScreenScript& script, const std::string& dir);
