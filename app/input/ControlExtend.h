// ControlExtend: the editing pattern shared by every bound text box of the input form.
//
// A field binding is (text box, target, property name). The target is the engine object
// (Caldren) or one month of its collection (Monthly); the property is named as text and
// found on the target without regard to case. Every change of the box writes its whole
// text into the property (TextChg); the target validates and converts, and a rejection is
// answered with a message, a beep and the last accepted value put back.
#pragma once

#include <activation/Com.h>
#include <vesmora/Vesmora.h>

#include <string>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace caldren {
class Ui;
}

namespace caldren::ControlExtend {

// An object whose text properties can be read and written by name.
class Target {
public:
    virtual ~Target() = default;
    // Writes the text into the property; throws activation::ComError when the object
    // rejects it, and error 438 when it has no such property.
    virtual void Let(const std::string& propertyName, const std::string& text) = 0;
    // The property as the object formats it; throws 438 when it has no such property.
    virtual std::string Get(const std::string& propertyName) const = 0;
};

// The engine object: every text property of _Caldren (inputs and results).
class CaldrenTarget final : public Target {
public:
    explicit CaldrenTarget(vesmora::_Caldren* engine) : m_engine(engine) {}
    void Let(const std::string& propertyName, const std::string& text) override;
    std::string Get(const std::string& propertyName) const override;

private:
    vesmora::_Caldren* m_engine;  // not owned
};

// Month `position` (from 1) of the engine's month collection, looked up at every access
// (the collection is replaced when a file is loaded).
class MonthlyTarget final : public Target {
public:
    MonthlyTarget(vesmora::_Caldren* engine, long position) : m_engine(engine), m_position(position) {}
    void Let(const std::string& propertyName, const std::string& text) override;
    std::string Get(const std::string& propertyName) const override;

private:
    activation::ComPtr<vesmora::_Monthly> month() const;
    vesmora::_Caldren* m_engine;  // not owned
    long m_position;
};

// The message shown for an error number the form understands (10001, 10002), else empty:
// "(10002) This item needs to be a number.".
std::string RejectionMessage(long number);

// Reads the named property of the target.
std::string GetPropByName(const Target& target, const std::string& propertyName);

// Writes the box's text into the named property of the target and recovers from a
// rejection: message (10001, 10002) or the error reporter (other numbers), beep, and,
// when the caret is not at the start, the last accepted value put back with the caret
// one place to the left. A lone "-" is not sent. Returns true when the target took the
// text (or it was a lone "-").
bool TextChg(QLineEdit* box, Target& target, const std::string& propertyName, Ui& ui);

// Selects the whole text of the box.
void SelectAllText(QLineEdit* box);

// Enter (and the keypad's Enter) acts as Tab: true when the key was Enter and one Tab
// keystroke has been sent to the widget (which moves the focus); the caller then drops
// the key. Any other key is left alone (false).
bool EnterAsTab(QKeyEvent* key, QWidget* widget);

// Centres the window on its screen.
void CenterForm(QWidget* form);

}  // namespace caldren::ControlExtend
