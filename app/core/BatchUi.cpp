#include "BatchUi.h"

#include "BatchFailure.h"

#include <activation/Com.h>

#include <iostream>

namespace caldren {

BatchUi::BatchUi() : m_out(std::cerr) {}
BatchUi::BatchUi(std::ostream& out) : m_out(out) {}

MsgAnswer BatchUi::MsgBox(const std::string& text, int style, const std::string&) {
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        line += c;
    }
    m_out << line << '\n' << std::flush;
    switch (style & 7) {
        case kOkOnly:
            return MsgAnswer::Ok;
        case kYesNo:
            return MsgAnswer::No;
        default:
            return MsgAnswer::Cancel;
    }
}

std::string BatchUi::OpenFileDialog(const FileDialogSpec&) { return std::string(); }
std::string BatchUi::SaveFileDialog(const FileDialogSpec&) { return std::string(); }

void BatchUi::ReportErrorAndQuit(long number, const std::string& location) {
    throw BatchFailure{number, activation::StandardErrorText(number), location};
}

void BatchUi::ShutDown(bool) { throw BatchFailure{0, "The run was ended.", std::string()}; }

}  // namespace caldren
