// Message boxes and the beep of the windows, with a seam so that tests answer them.
//
// Every message box of the window library goes through MessageBox::show. A test queues
// answers with setNextAnswer (KeePassXC style); a queued answer is returned at once and
// nothing is shown. With setHeadless(true) a box without a queued answer is not shown
// either and takes its default (OK, else Cancel, else No). Every box asked for, shown or
// answered, is recorded in history() so a test can check its text, style and title.
#pragma once

#include "app/core/Ui.h"

#include <QList>
#include <QString>

class QWidget;

namespace caldren::gui {

class MessageBox {
public:
    struct Record {
        QString text;
        int style = 0;
        QString title;
        MsgAnswer answer = MsgAnswer::Ok;
    };

    // style: buttons and symbol combined from caldren::MsgStyle.
    static MsgAnswer show(QWidget* parent, const QString& text, int style, const QString& title);
    static void beep();

    // ---- Test seam --------------------------------------------------------------------
    static void setNextAnswer(MsgAnswer answer);
    static void setHeadless(bool headless);
    static QList<Record>& history();
    static int beepCount();
    // Empties the queue, the history and the beep count.
    static void reset();

    // The default answer of a box with these buttons.
    static MsgAnswer defaultAnswer(int style);
};

}  // namespace caldren::gui
