#pragma once
#include "app/logic/set_paths.h"

class SystemHost;

// Writes the information file (the game folder's line, then the components) under the
// temporary name and moves it over the information file in a single step, so a failure at
// any step leaves the old file whole. Only a file the user agreed to replace (replacing) is
// replaced; one that the existence test missed stays. Uses g_textFile and leaves it freed.
bool WriteInformationFile(SystemHost& host, const char* gameFolder, const char* components,
                          const InstallPaths& paths, bool replacing);
