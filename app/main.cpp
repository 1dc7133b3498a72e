// Tintorama's executable: everything happens in the program library, so
// that the tests run the very same start.
#include "app/start.h"

int main(int argc, char** argv) { return RunTintorama(argc, argv); }
