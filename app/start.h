// The program's start, shared by its executable and its tests.
#pragma once

// Runs the program as its command line asks: in a real window; on the
// in-memory backend with "--headless"; or, with "--tour DIR", on the
// in-memory backend through every screen, writing screenshots into DIR.
// Returns the process's exit code.
int RunTintorama(int argc, char** argv);
