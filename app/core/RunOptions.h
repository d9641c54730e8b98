// How this run goes: what the command line asked for (a batch run and its report file, a
// data file to start on), what shows things to the user, the start-up chooser's answer, and
// the run's start and end times.
#pragma once

#include "Ui.h"

#include <cstdint>
#include <string>

namespace caldren {

// Start-up chooser answer.
enum StartChoice : std::int16_t { kStartMainWindow = 0, kStartNew = 1, kStartOld = 2 };

struct RunOptions {
    bool batch = false;  // "/silent" given
    // Whatever shows things to the user: BatchUi in a batch run, the windows' Ui otherwise.
    // Not owned. Set through RunState::SetUi.
    Ui* ui = nullptr;
    std::string outputFileName;     // "/output" of a batch run
    bool reportHeadings = false;    // "/headings": each run's reports say whose they are
    bool correctedWording = false;  // "/corrected": the report texts' wording corrected
    // "/workpaper" of a batch run: the workbook written with the reports; empty for none.
    std::string workpaperFileName;
    // A data file named as the only argument (opening a .cld from the desktop): the
    // interactive start opens it and skips the start-up chooser. Empty otherwise.
    std::string startFile;
    std::int16_t startChoice = kStartMainWindow;
    std::int32_t startTime = 0;  // seconds since midnight, when the main window shows
    std::int32_t endTime = 0;    // seconds since midnight, at shutdown
};

}  // namespace caldren
