#pragma once

namespace corvane {

// Program entry: headless sub-commands first, otherwise the GUI.
int runApplication(int argc, char* argv[]);

}
