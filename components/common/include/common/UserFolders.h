// UserFolders: where the program keeps a user's files.
//
//   home             $HOME, else the password database's home folder, else /tmp
//   configuration    $XDG_CONFIG_HOME, else <home>/.config; the maker's folder in it holds
//                    the component registry, the settings and the error log of a user who
//                    cannot write the program folder
//   data             $APPDATA/Orlenwick/CLD, else $XDG_DATA_HOME/Orlenwick/CLD, else
//                    <home>/.local/share/Orlenwick/CLD: new data files start there
//   temporary        $XDG_RUNTIME_DIR, else $TMPDIR (each only when it is a folder), else /tmp
//
// Every variable counts only when it holds an absolute path: a relative one ("HOME=.")
// would make the folders depend on the working folder, so it is treated as unset. No
// folder ends in "/". Nothing here creates a folder.
#pragma once

#include <string>
#include <vector>

namespace common {

inline constexpr const char* kMakerFolder = "Orlenwick";

std::string HomeFolder();
std::string ConfigHome();
std::string MakerConfigFolder();  // <configuration>/Orlenwick
std::string MakerDataFolder();    // .../Orlenwick/CLD
std::string TemporaryFolder();

// The folders that are the user's own: the home folder and the configuration and data
// folders, each only when it is known from an absolute path (the /tmp of last resort is
// nobody's own). Empty when none is known.
std::vector<std::string> OwnFolders();

}  // namespace common
