// The one call a program's main makes to choose where its windows appear.
#pragma once

namespace win {

// Opens a real display (SDL2) and installs it as the layer's backend, so
// that windows are shown and input comes from the user. Consumes the option
// "--headless" from argv (argc adjusted): the program then runs on the
// in-memory backend, as tests do. When no display can be opened it prints
// the reason on stderr and answers false; the program should exit then.
// Call it on the thread that will run the user interface, before the first
// window is created.
bool StartDisplay(int& argc, char** argv);

}  // namespace win
