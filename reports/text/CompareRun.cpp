// CompareRun: the comparison of a batch run, written to its output file.
#include "CompareRun.h"

#include <activation/Com.h>

#include <new>

namespace Reports {

CompareRunResult BuildCompareRun(
    const std::vector<std::string>& names,
    const std::function<vesmora::ComPtr<vesmora::_Caldren>()>& newEngine) {
    if (names.size() < kCompareMinFiles || names.size() > kCompareMaxFiles)
        throw activation::ComError(5, "CompareRun.RunCompareToFile",
                                   "Choose from two to six data files to compare.");
    std::vector<CompareFile> files;
    for (const std::string& name : names) {
        vesmora::ComPtr<vesmora::_Caldren> calc;
        try {
            calc = newEngine();
        } catch (const activation::ComError& e) {
            CompareFile f;
            f.fileName = name;
            f.failure = "Could not be loaded: " + CompareFailureText(e);
            f.errorNumber = e.Number();
            f.source = e.Source();
            files.push_back(std::move(f));
            continue;
        }
        files.push_back(LoadCompareFile(std::move(calc), name));
    }
    CompareRunResult result;
    MemorySink sink(result.text);
    FillCompareMonths(files);
    BuildCompareReport(files, sink);
    for (const CompareFile& f : files)
        if (!f.Ok()) result.failures.push_back({f.fileName, f.failure, f.errorNumber, f.source});
    return result;
}

CompareRunResult RunCompareToFile(
    const std::vector<std::string>& names, const std::string& outputPath,
    const std::function<vesmora::ComPtr<vesmora::_Caldren>()>& newEngine) {
    CompareRunResult result = BuildCompareRun(names, newEngine);
    AppendWholeText(outputPath, result.text);
    return result;
}

}  // namespace Reports
