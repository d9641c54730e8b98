#include "CompareYears.h"

#include "Preferences.h"

#include <activation/Com.h>

namespace caldren::CompareYears {

FileDialogSpec DialogSpec(const Preferences& preferences) {
    FileDialogSpec spec;
    spec.title = kTitle;
    spec.initialFolder = preferences.dataFilePath;
    return spec;
}

void CompareFiles(const std::vector<std::string>& names, Reports::ReportSink& sink,
                  const std::function<vesmora::ComPtr<vesmora::_Caldren>()>& newEngine) {
    std::vector<Reports::CompareFile> files;
    for (const std::string& name : names) {
        vesmora::ComPtr<vesmora::_Caldren> calc;
        std::string failure;
        try {
            calc = newEngine();
        } catch (const activation::ComError& e) {
            failure = "Could not be loaded: " + Reports::CompareFailureText(e);
        }
        if (!failure.empty()) {
            Reports::CompareFile f;
            f.fileName = name;
            f.failure = failure;
            files.push_back(std::move(f));
        } else {
            files.push_back(Reports::LoadCompareFile(std::move(calc), name));
        }
    }
    try {
        Reports::FillCompareMonths(files);
        Reports::BuildCompareReport(files, sink);
    } catch (...) {
        sink.AbortReport();
        throw;
    }
}

int Run(const Preferences& preferences, Ui& ui, Reports::ReportSink& sink,
        const std::function<vesmora::ComPtr<vesmora::_Caldren>()>& newEngine) {
    const std::vector<std::string> names = ui.OpenFilesDialog(DialogSpec(preferences));
    if (names.empty()) return 0;  // cancelled
    if (names.size() < Reports::kCompareMinFiles || names.size() > Reports::kCompareMaxFiles) {
        ui.MsgBox(kChooseTwoToSix, kOkOnly | kExclamation, kTitle);
        return 0;
    }
    try {
        CompareFiles(names, sink, newEngine);
    } catch (const activation::ComError& e) {
        ui.MsgBox("The comparison could not be shown: " + e.Description() + " (error " +
                      std::to_string(e.Number()) + ")",
                  kOkOnly | kExclamation, kTitle);
        return 0;
    } catch (const std::exception& e) {
        ui.MsgBox(std::string("The comparison could not be shown: ") + e.what(),
                  kOkOnly | kExclamation, kTitle);
        return 0;
    }
    return static_cast<int>(names.size());
}

}  // namespace caldren::CompareYears
