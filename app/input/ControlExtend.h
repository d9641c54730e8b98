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

namespace caldren::input {
class FormContext;
}

namespace caldren::input::ControlExtend {

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
    MonthlyTarget(vesmora::_Caldren* engine, long position)
        : m_engine(engine), m_position(position) {}
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
// text (or it was a lone "-"). The message, the beep and the error reporter are the form's.
bool TextChg(QLineEdit* box, Target& target, const std::string& propertyName,
             const input::FormContext& form);

// ---- Amount fields ---------------------------------------------------------------------
//
// An amount field takes amounts as accountants write them ("8,420,000", "$8,420,000",
// "(50,000)"; AmountText.h), the same texts the month paste takes. While it is typed, each
// change sends the value typed so far to the target, in the engine's plain form ("8420000",
// "-50000"), and shows no message; a text that is not an amount yet ("8,", "$", "(")
// sends nothing. When the field is left its whole text is checked: a text that is not an
// amount, or one the target refuses (past the amount range), is refused with a message
// naming the field, and the value the field held when it was entered comes back.

// The keystroke step. The target's refusal of the value (10002, or 6 past the amount
// range) waits for AmountLeft; other errors go to the error reporter as in TextChg. False
// when the text cannot become an amount or its value was refused (the field shows that).
bool AmountChg(const std::string& text, Target& target, const std::string& propertyName,
               const input::FormContext& form);

enum class AmountCheck { Taken, NotAnAmount, TooLarge };

// The leaving step: the whole text in plain form to the target. Taken when the target now
// holds it; errors other than its refusals (10002, 6) propagate.
AmountCheck AmountLeft(const std::string& text, Target& target, const std::string& propertyName);

// The message of a refused amount: the field's label, the text as typed, why, and the
// value put back (as the target formats it).
std::string AmountRefusal(const std::string& label, const std::string& typed, AmountCheck why,
                          const std::string& restored);

// Selects the whole text of the box.
void SelectAllText(QLineEdit* box);

// Enter (and the keypad's Enter) acts as Tab: true when the key was Enter and one Tab
// keystroke has been sent to the widget (which moves the focus); the caller then drops
// the key. Any other key is left alone (false).
bool EnterAsTab(QKeyEvent* key, QWidget* widget);

// Centres the window on its screen.
void CenterForm(QWidget* form);

}  // namespace caldren::input::ControlExtend
