// Module MRU: the five most recently used data files, newest first, in the File menu and
// in the settings file ("User Preferences", "File 1" ... "File 5").
#pragma once

#include <array>
#include <string>

namespace caldren {

struct RunState;

namespace MRU {

// Loads the list from the settings file into the menu; with an empty name copies it into
// the run state's list (CopyMRUold2new). A name not yet in the list (case-insensitive
// substring test against each entry) goes first, the others move down one, the fifth is
// dropped, and the new list is written. Errors take the program's own error message with
// the location "MaintMRUList". Returns false after an error.
bool MaintMRUList(RunState& state, const std::string& fileName);

// The run state's list = the five texts last loaded. Errors: own message "CopyMRUold2new".
bool CopyMRUold2new(RunState& state, const std::array<std::string, 5>& loaded);

// The menu caption of entry n: "&" n " " text, e.g. "&1 /home/ann/acme.cld".
std::string EntryCaption(int n, const std::string& text);

}  // namespace MRU
}  // namespace caldren
