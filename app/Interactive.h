// The interactive program: the windows and the event loop, until the main
// window closes.
#pragma once

int RunInteractive(int argc, char** argv);
