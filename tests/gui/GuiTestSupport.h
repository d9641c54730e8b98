// Shared set-up of the window tests: a pinned environment (offscreen platform, temporary
// HOME and XDG folders, C locale), the engine from the build, a run state with the Qt Ui,
// and seams that answer every dialog without showing it.
#pragma once

#include "app/core/RunState.h"
#include "app/gui/FileDialog.h"
#include "app/gui/GuiHooks.h"
#include "app/gui/MessageBox.h"
#include "app/gui/QtUi.h"
#include "tests/gui/PinnedEnvironment.h"

#include <activation/Activation.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <memory>
#include <string>

namespace guitest {

// A run state on a fresh engine with the Qt Ui; every dialog answered by the seams.
struct Session {
    caldren::RunState state;
    std::unique_ptr<caldren::QtUi> ui;
    int shutDowns = 0;
    bool lastSaveFirst = false;
    int errorsAndQuit = 0;
    caldren::gui::GuiHooks savedHooks;

    Session() {
        state.document.engine =
            activation::CreateObject<vesmora::_Caldren>(vesmora::kProgID_Caldren);
        state.program.versionTag = "CLD2026.12";
        state.program.fullVersion = "CLD2026.12.1";
        state.program.programFolder = CALDREN_PROGRAM_FOLDER;
        ui = std::make_unique<caldren::QtUi>(state);
        state.SetUi(ui.get());
        caldren::gui::MessageBox::reset();
        caldren::gui::MessageBox::setHeadless(true);
        caldren::gui::FileDialog::reset();
        caldren::gui::FileDialog::setHeadless(true);
        savedHooks = caldren::gui::Hooks();
        caldren::gui::Hooks().shutDown = [this](caldren::RunState&, bool saveFirst) {
            ++shutDowns;
            lastSaveFirst = saveFirst;
        };
        caldren::gui::Hooks().reportErrorAndQuit = [this](caldren::RunState&, long,
                                                          const std::string&) { ++errorsAndQuit; };
    }
    ~Session() {
        caldren::gui::Hooks() = savedHooks;
        state.SetUi(nullptr);
    }
};

// Acts on the modal window that the next nested event loop shows (e.g. the input form
// opened by New): waits until a visible modal window (of the class named, when given) is
// the active one, then runs the action on it. className may also be an object name. Gives up after
// about five seconds.
template <class Action>
void WhenModalShows(Action action, const char* className = nullptr, int triesLeft = 500) {
    QTimer::singleShot(triesLeft == 500 ? 0 : 10, [action, className, triesLeft] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() &&
            (!className || modal->inherits(className) ||
             modal->objectName() == QLatin1String(className))) {
            action(modal);
            return;
        }
        if (triesLeft > 0) WhenModalShows(action, className, triesLeft - 1);
    });
}

inline QString Q(const char* text) { return QString::fromUtf8(text); }

}  // namespace guitest

#define GUITEST_MAIN(TestClass)                  \
    int main(int argc, char** argv) {            \
        guitest::PinEnvironment();               \
        QApplication app(argc, argv);            \
        app.setAttribute(Qt::AA_Use96Dpi, true); \
        TestClass test;                          \
        return QTest::qExec(&test, argc, argv);  \
    }
