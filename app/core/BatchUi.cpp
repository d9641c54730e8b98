#include "BatchUi.h"

#include "BatchFailure.h"

#include <activation/Com.h>

#include "Console.h"

#include <ostream>

namespace caldren {

BatchUi::BatchUi() : m_write([](const std::string& text) { Console::Err(text); }) {}
BatchUi::BatchUi(std::ostream& out)
    : m_write([&out](const std::string& text) { out << text << std::flush; }) {}

MsgAnswer BatchUi::MsgBox(const std::string& text, int style, const std::string&) {
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        line += c;
    }
    m_write(line + '\n');
    return DefaultAnswer(style);
}

std::string BatchUi::OpenFileDialog(const FileDialogSpec&) { return std::string(); }
std::string BatchUi::SaveFileDialog(const FileDialogSpec&) { return std::string(); }

void BatchUi::ReportErrorAndQuit(long number, const std::string& location) {
    throw BatchFailure{number, activation::StandardErrorText(number), location};
}

void BatchUi::ShutDown(bool) { throw BatchFailure{0, "The run was ended.", std::string()}; }

}  // namespace caldren
