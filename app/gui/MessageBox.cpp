#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <deque>

namespace caldren::gui {

namespace {
std::deque<MsgAnswer>& queue() {
    static std::deque<MsgAnswer> answers;
    return answers;
}
bool g_headless = false;
int g_beeps = 0;
}  // namespace

MsgAnswer MessageBox::defaultAnswer(int style) {
    switch (style & 7) {
        case kOkOnly:
            return MsgAnswer::Ok;
        case kYesNo:
            return MsgAnswer::No;
        default:
            return MsgAnswer::Cancel;
    }
}

MsgAnswer MessageBox::show(QWidget* parent, const QString& text, int style, const QString& title) {
    Record record{text, style, title, defaultAnswer(style)};
    if (!queue().empty()) {
        record.answer = queue().front();
        queue().pop_front();
        history().append(record);
        return record.answer;
    }
    if (g_headless) {
        history().append(record);
        return record.answer;
    }

    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (style & 0x70) {
        case kCritical:
            box.setIcon(QMessageBox::Critical);
            break;
        case kQuestion:
            box.setIcon(QMessageBox::Question);
            break;
        case kExclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case kInformation:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            box.setIcon(QMessageBox::NoIcon);
            break;
    }
    switch (style & 7) {
        case kOkCancel:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case kYesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setEscapeButton(QMessageBox::Cancel);
            break;
        case kYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
    }
    box.exec();
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok:
            record.answer = MsgAnswer::Ok;
            break;
        case QMessageBox::Yes:
            record.answer = MsgAnswer::Yes;
            break;
        case QMessageBox::No:
            record.answer = MsgAnswer::No;
            break;
        case QMessageBox::Cancel:
            record.answer = MsgAnswer::Cancel;
            break;
        default:
            break;  // closed by the frame: the default answer
    }
    history().append(record);
    return record.answer;
}

void MessageBox::beep() {
    ++g_beeps;
    if (!g_headless) QApplication::beep();
}

void MessageBox::setNextAnswer(MsgAnswer answer) { queue().push_back(answer); }
void MessageBox::setHeadless(bool headless) { g_headless = headless; }

QList<MessageBox::Record>& MessageBox::history() {
    static QList<Record> records;
    return records;
}

int MessageBox::beepCount() { return g_beeps; }

void MessageBox::reset() {
    queue().clear();
    history().clear();
    g_beeps = 0;
}

}  // namespace caldren::gui
