// The open analysis and its data file: the one engine object, the file's name, the windows'
// hold on it, and whether the analysis has been saved since it last changed.
#pragma once

#include <activation/Activation.h>
#include <vesmora/Vesmora.h>

#include <functional>
#include <string>

namespace caldren {

struct Document {
    // The one engine object; replaced by a fresh Caldren on New (FileOperations::ClearAllData).
    activation::ComPtr<vesmora::_Caldren> engine;
    // Makes a fresh engine object (New, Open, the batch run's copy to save): by ProgID
    // through the activation layer, unless set (a batch run finds the class once).
    std::function<activation::ComPtr<vesmora::_Caldren>()> newEngine;
    activation::ComPtr<vesmora::_Caldren> NewEngine() const {
        return newEngine ? newEngine()
                         : activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
    }
    std::string currentFileName;  // the data file in use, exactly as typed or chosen
    // The data file whose lock file names this program (the windows only: a batch run holds
    // its own lock), and whether the current file was opened read-only because another
    // program has it open.
    std::string lockedFile;
    bool readOnly = false;

    // Saved flag: true at start, after New, after a successful Open and after Save. The
    // input form calls SetSaved(false) on every effective change, so the unsaved-data
    // question of New and Open appears exactly when there is unsaved work.
    bool saved = true;
    // Told every time the saved flag is set (the main window marks unsaved work in its title).
    std::function<void()> savedChanged;
    void SetSaved(bool value) {
        saved = value;
        if (savedChanged) savedChanged();
    }
    bool IsSaved() const { return saved; }
};

}  // namespace caldren
