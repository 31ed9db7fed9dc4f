// Libraries come from the system directory only: one placed beside the program, as in a downloads
// folder, must never be loaded in place of the system's.
#pragma once

#include <windows.h>

#include <string>

// The full path of a library in the system directory; the bare name when that cannot be read.
std::string SystemLibraryPath(const char* name);

// A function of a loaded library by its name; null when the library or the function is missing.
template <typename Function>
Function LibraryFunction(HMODULE library, const char* name) {
  return library ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                 : nullptr;
}

// Takes the program's folder and the current directory out of the search for libraries loaded
// later, where the system allows it.
void RestrictLibrarySearch();
