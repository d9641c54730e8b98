#include "FileOperations.h"

#include "DataFileLock.h"
#include "ErrorPaths.h"
#include "MRU.h"
#include "RunState.h"
#include "Settings.h"
#include "Ui.h"

#include <activation/Activation.h>
#include <common/TextWidth.h>
#include <common/UserFolders.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace caldren::FileOperations {

using activation::ComError;

namespace {

FileDialogSpec DialogSpec(const Preferences& preferences, const char* title) {
    FileDialogSpec spec;
    spec.title = title;
    spec.initialFolder = preferences.dataFilePath;
    return spec;
}

// Who has `name` open in CaldrenCalc ("bob on elsewhere (process 4711) since 12/06/2026
// 20:15:03"), as its lock file names them; empty when nobody else has it or it is unknown.
std::string OtherHolder(const std::string& name) {
    const DataFileLock::Status status = DataFileLock::Query(name);
    if (status.state != DataFileLock::State::Held || status.holder.user.empty()) return {};
    return DataFileLock::Describe(status.holder);
}

void ShowFileStatus(const RunOptions& options, const Document& document) {
    if (!options.ui) return;
    std::string text = "File: " + document.currentFileName;
    if (document.readOnly && !options.batch) {
        const std::string holder = OtherHolder(document.currentFileName);
        text += holder.empty() ? " \xE2\x80\x94 read-only"
                               : " \xE2\x80\x94 read-only, open in CaldrenCalc by " + holder;
    }
    options.ui->SetStatusText(text);
}

// Folder of a new untitled file: the data file path, or, before any is known, the per-user
// data folder (never the file-system root).
std::string UntitledFolder(const Preferences& preferences) {
    if (!preferences.dataFilePath.empty()) return preferences.dataFilePath;
    if (!preferences.perUserDataFolder.empty()) return preferences.perUserDataFolder;
    return common::HomeFolder();
}

MsgAnswer Ask(const RunOptions& options, const std::string& text, int style,
              const std::string& title) {
    return options.ui ? options.ui->MsgBox(text, style, title) : MsgAnswer::Cancel;
}

enum class Hold { Taken, ReadOnly, Refused };

// Takes the data file's lock for the windows. Held by another program: when opening, the
// user may open it read-only; when saving, the name is refused. A folder where no lock
// file can be made (read-only, say) leaves the file to whoever can write it.
Hold TakeFile(const RunOptions& options, const std::string& name, bool opening) {
    if (options.batch) return Hold::Taken;
    DataFileLock::Status status;
    try {
        status = DataFileLock::Acquire(name);
    } catch (const ComError&) {
        return Hold::Taken;
    }
    if (status.state != DataFileLock::State::Held) return Hold::Taken;
    const std::string inUse =
        name + " is open in CaldrenCalc by " + DataFileLock::Describe(status.holder) + ".";
    if (!opening) {
        Ask(options, inUse + "\nSave the analysis under another name.", kExclamation, kInUseTitle);
        return Hold::Refused;
    }
    const MsgAnswer answer =
        Ask(options,
            inUse +
                "\n\nOpen it read-only? You can read it and print its reports, and save it "
                "only under another name.",
            kYesNo | kQuestion, kInUseTitle);
    return answer == MsgAnswer::Yes ? Hold::ReadOnly : Hold::Refused;
}

// The lock is now on `name` (or on nothing, read-only): the previous file is given back.
void MoveHold(Document& document, const RunOptions& options, const std::string& name, Hold hold) {
    if (options.batch) return;
    if (!document.lockedFile.empty() && document.lockedFile != name)
        DataFileLock::Release(document.lockedFile);
    document.lockedFile = hold == Hold::Taken ? name : std::string();
    document.readOnly = hold == Hold::ReadOnly;
}

}  // namespace

void ReleaseFile(Document& document) {
    if (!document.lockedFile.empty()) DataFileLock::Release(document.lockedFile);
    document.lockedFile.clear();
    document.readOnly = false;
}

bool AskUnsaved(RunState& state) {
    if (state.document.saved) return true;
    const MsgAnswer answer =
        Ask(state.options, kUnsavedText, kYesNoCancel | kExclamation, kUnsavedTitle);
    if (answer == MsgAnswer::Cancel) return false;
    if (answer == MsgAnswer::Yes) SaveAs(state);
    return true;
}

bool ClearAllData(Document& document, const RunOptions& options) {
    try {
        document.engine = document.NewEngine();
        return true;
    } catch (const std::exception& e) {
        ErrorPaths::OwnMessage(options, ErrorPaths::AsComError(e), "ClearAllData");
        return false;
    }
}

void NewFile(RunState& state) {
    try {
        if (!AskUnsaved(state)) return;
        if (!ClearAllData(state.document, state.options)) return;
        ReleaseFile(state.document);
        state.document.currentFileName = UntitledFolder(state.preferences) + "/" + kUntitledName;
        ShowFileStatus(state.options, state.document);
        state.document.SetSaved(true);
        if (state.options.ui) state.options.ui->ShowInputForm();
        if (state.document.engine) state.document.engine->BeginEdit();
    } catch (const std::exception& e) {
        ErrorPaths::OwnMessage(state.options, ErrorPaths::AsComError(e), "NewFile");
    }
}

bool OpenFile(RunState& state, const std::string& fileName) {
    // The file being opened becomes the current file only once it has loaded: a missing,
    // unreadable or malformed file leaves the analysis and the name that were current.
    std::string name = fileName;
    try {
        if (!state.options.batch && !AskUnsaved(state)) return false;
        bool chosen = false;
        if (fileName.empty() && !state.options.batch) {
            const FileDialogSpec spec = DialogSpec(state.preferences, "Open");
            name = state.options.ui ? state.options.ui->OpenFileDialog(spec) : std::string();
            if (name.empty()) {
                Ask(state.options, kFilenameEmpty, kCritical, kWarningTitle);
                return false;
            }
            state.preferences.dataFilePath = spec.initialFolder;
            chosen = true;
        }
        if (!state.options.batch && !name.empty()) {
            // A name given relative to the working folder (the command line) is kept whole,
            // so that its folder is known to Save.
            std::error_code ec;
            const fs::path absolute = fs::absolute(fs::path(name), ec);
            if (!ec) name = absolute.lexically_normal().string();
        }
        if (!FileExists(name)) {
            Ask(state.options, name + kDoesNotExist, kExclamation, kWarningTitle);
            return false;
        }
        // Another program may have it open: read-only or not at all. A file reopened read-only
        // (after a report run) is not asked about again.
        const bool ours = !state.document.lockedFile.empty() && name == state.document.lockedFile;
        const Hold hold = state.document.readOnly && name == state.document.currentFileName
                              ? Hold::ReadOnly
                              : TakeFile(state.options, name, true);
        if (hold == Hold::Refused) return false;
        // Loaded into an object of its own, which replaces the engine only when every entry
        // was accepted: a file refused part-way never leaves a half-loaded analysis behind.
        auto loaded = state.document.NewEngine();
        try {
            loaded->Load(name);
        } catch (...) {
            if (hold == Hold::Taken && !ours && !state.options.batch) DataFileLock::Release(name);
            throw;
        }
        state.document.engine = loaded;
        MoveHold(state.document, state.options, name, hold);
        state.document.currentFileName = name;
        if (chosen) MRU::MaintMRUList(state.preferences, state.options, name);
        if (!state.options.batch) ShowFileStatus(state.options, state.document);
        state.document.SetSaved(true);
        return true;
    } catch (const std::exception& e) {
        const ComError err = ErrorPaths::AsComError(e);
        if (state.options.batch) {
            ErrorPaths::LogAndGoOn(state.program, state.options, err, "File Operations.Open File");
            return false;
        }
        // The reason: the innermost message of the source chain ("This item needs to be a
        // number."), else the error's standard text.
        const std::string& source = err.Source();
        const std::size_t cr = source.rfind('\r');
        std::string reason = cr == std::string::npos ? source : source.substr(cr + 1);
        if (reason.find(' ') == std::string::npos)
            reason = activation::StandardErrorText(err.Number());
        ErrorPaths::LogAndGoOn(state.program, state.options, err, "File Operations.Open File",
                               name + " could not be opened: " + reason +
                                   " The analysis that was open before stays open.");
        return false;
    }
}

bool Save(RunState& state, const std::string& fileName) {
    // An analysis without a file name (the program started on the main window) is saved
    // through the Save As dialog.
    if (fileName.empty()) return SaveAs(state);
    if (!state.options.batch && state.document.readOnly &&
        fileName == state.document.currentFileName) {
        const std::string holder = OtherHolder(fileName);
        Ask(state.options,
            fileName + " was opened read-only: " +
                (holder.empty() ? "another program has it open"
                                : "it is open in CaldrenCalc by " + holder) +
                ". Save the analysis under another name.",
            kExclamation, kInUseTitle);
        return SaveAs(state);
    }
    try {
        if (!state.options.batch && fileName != state.document.lockedFile &&
            TakeFile(state.options, fileName, false) == Hold::Refused)
            return false;
        const std::string folder = GetPathOnly(fileName);
        if (!folder.empty()) {
            state.preferences.dataFilePath = folder;
            if (!state.preferences.settingsFilePath.empty()) {
                Settings::WriteText(state.preferences, "Data Files", "Data File Path",
                                    state.preferences.dataFilePath);
            }
        }
        std::string version = state.program.versionTag;
        if (version.size() < 21) version.resize(21, ' ');
        // The engine writes only a new or changed analysis. The Save command always means
        // "write this file": after an earlier save nothing is open or changed, and Save As
        // to another name would write nothing while the name, the recent files and the
        // status line all moved to the new file. Opening an edit first makes the version
        // below an effective change, so the file is always written.
        state.document.engine->BeginEdit();
        state.document.engine->put_Version(version);
        state.document.engine->ApplyEdit(fileName);
        MoveHold(state.document, state.options, fileName, Hold::Taken);
        state.document.SetSaved(true);
        return true;
    } catch (const std::exception& e) {
        ErrorPaths::OwnMessage(state.options, ErrorPaths::AsComError(e), "Save");
        return false;
    }
}

bool SaveAs(RunState& state) {
    try {
        FileDialogSpec spec = DialogSpec(state.preferences, "Save As");
        spec.initialName = state.document.currentFileName;
        const std::string chosen =
            state.options.ui ? state.options.ui->SaveFileDialog(spec) : std::string();
        if (chosen.empty()) {
            Ask(state.options, kFilenameEmpty, kCritical, kWarningTitle);
            return false;
        }
        // A name another program has open is refused before anything changes.
        if (!state.options.batch && chosen != state.document.lockedFile &&
            TakeFile(state.options, chosen, false) == Hold::Refused)
            return false;
        state.document.currentFileName = chosen;
        state.document.readOnly = false;
        state.preferences.dataFilePath = spec.initialFolder;
        MRU::MaintMRUList(state.preferences, state.options, chosen);
        const bool saved = Save(state, state.document.currentFileName);
        ShowFileStatus(state.options, state.document);
        return saved;
    } catch (const std::exception& e) {
        ErrorPaths::OwnMessage(state.options, ErrorPaths::AsComError(e), "SaveAs");
        return false;
    }
}

bool FileExists(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

std::string GetPathOnly(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string DisplayShorterFilename(const std::string& fileName) {
    const std::vector<std::size_t> starts = common::CharStarts(fileName);
    const std::size_t count = starts.size();
    const std::size_t firstEnd = count > 25 ? starts[25] : fileName.size();
    const std::size_t lastBegin = count > 25 ? starts[count - 25] : 0;
    return fileName.substr(0, firstEnd) + "..." + fileName.substr(lastBegin);
}

std::string DisplayShorterFilename(ProgramInfo& program, const RunOptions& options,
                                   const std::string& fileName) {
    try {
        return DisplayShorterFilename(fileName);
    } catch (const std::exception& e) {
        ErrorPaths::LogThenShutDown(program, options, ErrorPaths::AsComError(e),
                                    "File Operations.DisplayShorterFilename");
        return std::string();
    }
}

}  // namespace caldren::FileOperations
