// caldren::Ui for a batch run: no window, no waiting. Messages go to stderr (one line per
// message line); file dialogs answer with the empty name; questions take the answer that
// does nothing (No, Cancel). The program's own error message and shutdown end the batch
// run with BatchFailure.
#pragma once

#include "Ui.h"

#include <functional>
#include <iosfwd>
#include <string>

namespace caldren {

class BatchUi : public Ui {
public:
    BatchUi();  // messages to standard error
    explicit BatchUi(std::ostream& out);

    MsgAnswer MsgBox(const std::string& text, int style, const std::string& title) override;
    std::string OpenFileDialog(const FileDialogSpec& spec) override;
    std::string SaveFileDialog(const FileDialogSpec& spec) override;
    void Beep() override {}
    void SetStatusText(const std::string&) override {}
    void SetRecentEntry(int, const std::string&, bool) override {}
    void SetRecentSeparatorVisible(bool) override {}
    void ShowInputForm() override {}
    [[noreturn]] void ReportErrorAndQuit(long number, const std::string& location) override;
    [[noreturn]] void ShutDown(bool saveFirst) override;

private:
    std::function<void(const std::string&)> m_write;
};

}  // namespace caldren
