#include "GuiHooks.h"

#include "MessageBox.h"
#include "app/core/RunState.h"

#include <errorreporter/ErrorReporter.h>

#include <QString>

namespace caldren::gui {

namespace {

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

// The stand-in presenter: one message box with the error, its description and location
// (each carriage return of the source chain on a line of its own).
class PlainPresenter final : public errorreporter::ErrorPresenter {
public:
    bool ShowAndAsk(long number, const std::string& description, const std::string& location,
                    const std::string& appDescription) override {
        const QString text = message(number, description, location) +
                             QStringLiteral(
                                 "\n\nDo you want to save your data before the program "
                                 "shuts down?");
        return MessageBox::show(nullptr, text, kYesNo | kCritical, fromUtf8(appDescription)) ==
               MsgAnswer::Yes;
    }
    void Show(long number, const std::string& description, const std::string& location,
              const std::string& appDescription) override {
        MessageBox::show(nullptr, message(number, description, location), kOkOnly | kCritical,
                         fromUtf8(appDescription));
    }

private:
    static QString message(long number, const std::string& description,
                           const std::string& location) {
        QString where = fromUtf8(location);
        where.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        return QStringLiteral("Error Number: %1\nDescription: %2\nLocation: %3")
            .arg(number)
            .arg(fromUtf8(description), where);
    }
};

}  // namespace

GuiHooks& Hooks() {
    static GuiHooks hooks;
    return hooks;
}

void ShowNotAvailable(QWidget* parent, const std::string& command) {
    MessageBox::show(parent, fromUtf8(command + " is not available yet."), kOkOnly,
                     QString::fromUtf8(kTitle));
}

std::shared_ptr<errorreporter::ErrorPresenter> MakeErrorPresenter() {
    if (Hooks().makeErrorPresenter)
        if (auto presenter = Hooks().makeErrorPresenter()) return presenter;
    return std::make_shared<PlainPresenter>();
}

void ReportError(long number, const std::string& description, const std::string& location) {
    errorreporter::ErrorReporter reporter(MakeErrorPresenter());
    reporter.ReportError(number, description, location, kDescription);
}

}  // namespace caldren::gui
