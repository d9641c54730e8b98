// Module MRU: the five most recently used data files, newest first, in the File menu and
// in the settings file ("User Preferences", "File 1" ... "File 5").
#pragma once

#include <array>
#include <string>

namespace caldren {

struct Preferences;
struct RunOptions;

namespace MRU {

// Loads the list from the settings file into the menu; with an empty name copies it into
// the in-memory list (CopyMRUold2new). A name not yet in the list (case-insensitive
// substring test against each entry) goes first, the others move down one, the fifth is
// dropped, and the new list is written. Errors take the program's own error message with
// the location "MaintMRUList". Returns false after an error.
bool MaintMRUList(Preferences& preferences, const RunOptions& options, const std::string& fileName);

// The in-memory list = the five texts last loaded. Errors: own message "CopyMRUold2new".
bool CopyMRUold2new(Preferences& preferences, const RunOptions& options,
                    const std::array<std::string, 5>& loaded);

// The menu caption of entry n: "&" n " " text, e.g. "&1 /home/ann/acme.cld".
std::string EntryCaption(int n, const std::string& text);

}  // namespace MRU
}  // namespace caldren
