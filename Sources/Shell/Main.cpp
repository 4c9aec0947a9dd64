// The program's entry point.
#include "Placeholder.h"

int main(int argc, char** argv) { return RunPlaceholderApplication(argc, argv); }
