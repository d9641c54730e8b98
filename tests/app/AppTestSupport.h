// Shared pieces of the program's core tests: a pinned environment (temporary HOME and XDG
// folders, no APPDATA, no display), temporary folders, file helpers and a scripted Ui.
#pragma once

#include "RunState.h"
#include "TestSupport.h"
#include "Ui.h"

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace apptest {

namespace fs = std::filesystem;

// A fresh folder under the temporary folder, removed with the object (tests/TestSupport.h).
class TempDir : public testsupport::TempDir {
public:
    const std::string& Path() const { return path(); }
};

using testsupport::ReadFile;
using testsupport::WriteFile;

// Sets the environment of a test: HOME and the XDG folders in a temporary folder, APPDATA
// and the display variables unset. Restores nothing: each test process pins its own.
class PinnedEnvironment {
public:
    PinnedEnvironment() {
        ::setenv("HOME", m_home.Path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_home / "config").c_str(), 1);
        ::setenv("XDG_DATA_HOME", (m_home / "data").c_str(), 1);
        ::unsetenv("APPDATA");
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        ::unsetenv("QT_QPA_PLATFORM");
        ::setenv("LC_ALL", "C", 1);
    }
    const TempDir& Home() const { return m_home; }

private:
    TempDir m_home;
};

// A Ui that records what the logic shows and answers from a script.
class ScriptedUi : public caldren::Ui {
public:
    struct Message {
        std::string text;
        int style = 0;
        std::string title;
    };

    std::deque<caldren::MsgAnswer> answers;  // next MsgBox answers (default: Ok/No)
    std::deque<std::string> openAnswers;     // next Open dialog results
    std::deque<std::string> saveAnswers;     // next Save As dialog results

    std::vector<Message> messages;
    std::vector<caldren::FileDialogSpec> openDialogs;
    std::vector<caldren::FileDialogSpec> saveDialogs;
    std::vector<std::string> statusTexts;
    std::vector<std::string> recentCaptions{5};
    std::vector<bool> recentVisible = std::vector<bool>(5, false);
    bool separatorVisible = false;
    int inputFormShown = 0;
    int beeps = 0;
    std::vector<std::pair<long, std::string>> ownErrors;
    std::vector<bool> shutDowns;

    caldren::MsgAnswer MsgBox(const std::string& text, int style,
                              const std::string& title) override {
        messages.push_back({text, style, title});
        if (!answers.empty()) {
            auto a = answers.front();
            answers.pop_front();
            return a;
        }
        return (style & 7) == caldren::kOkOnly ? caldren::MsgAnswer::Ok : caldren::MsgAnswer::No;
    }
    std::string OpenFileDialog(const caldren::FileDialogSpec& spec) override {
        openDialogs.push_back(spec);
        if (openAnswers.empty()) return {};
        auto a = openAnswers.front();
        openAnswers.pop_front();
        return a;
    }
    std::string SaveFileDialog(const caldren::FileDialogSpec& spec) override {
        saveDialogs.push_back(spec);
        if (saveAnswers.empty()) return {};
        auto a = saveAnswers.front();
        saveAnswers.pop_front();
        return a;
    }
    void Beep() override { ++beeps; }
    void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void SetRecentEntry(int n, const std::string& caption, bool visible) override {
        recentCaptions.at(n - 1) = caption;
        recentVisible.at(n - 1) = visible;
    }
    void SetRecentSeparatorVisible(bool visible) override { separatorVisible = visible; }
    void ShowInputForm() override { ++inputFormShown; }
    void ReportErrorAndQuit(long number, const std::string& location) override {
        ownErrors.emplace_back(number, location);
    }
    void ShutDown(bool saveFirst) override { shutDowns.push_back(saveFirst); }
};

}  // namespace apptest
