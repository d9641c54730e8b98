// Dialogs: everything the windows ask the user or hand to the desktop, behind one interface.
//
// Message boxes and the beep, the Open, Save As and folder dialogs, the print dialog, the
// program's own modal windows, the desktop's opener (web pages, documents, other programs),
// the clock and the end of the process. CaldrenGuiMain creates the one QtDialogs of the
// run and hands it to the main window and the Qt Ui, which pass it on to every window and
// command that needs it. QtDialogs shows real Qt widgets and records nothing; the window
// tests hand a fake that answers from queues and keeps what it was asked.
#pragma once

#include "app/core/Ui.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class QDialog;
class QPrinter;
class QUrl;
class QWidget;

namespace caldren::dialogs {

class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message box over `parent`; style combines the buttons and the symbol of
    // caldren::MsgStyle. A box closed by its frame gives DefaultAnswer(style).
    virtual MsgAnswer message(QWidget* parent, const QString& text, int style,
                              const QString& title) = 0;
    // A question answered by two buttons that say what they do ("Discard", "Keep Editing"):
    // Yes for the first, No for the second. The first is the default, the second with
    // kDefaultButton2 in style; Esc and the frame's close box answer No.
    virtual MsgAnswer ask(QWidget* parent, const QString& text, int style, const QString& title,
                          const QString& yesText, const QString& noText) = 0;
    virtual void beep() = 0;

    // The Open and Save As dialogs: the chosen path, or the empty text when cancelled.
    virtual QString openFileName(QWidget* parent, const FileDialogSpec& spec) = 0;
    virtual QString saveFileName(QWidget* parent, const FileDialogSpec& spec) = 0;
    // The Open dialog in which several existing files may be chosen; empty when cancelled.
    virtual QStringList openFileNames(QWidget* parent, const FileDialogSpec& spec) = 0;

    // The folder dialog: the chosen folder, or the empty text when cancelled.
    virtual QString folderName(QWidget* parent, const QString& title, const QString& start) = 0;

    // Whether the system has a printer installed (without one, printing goes to a file).
    virtual bool printersInstalled() = 0;
    // The print dialog with this title on `printer`, which holds the choice afterwards (the
    // printer or file, the paper, the copies). False when it was cancelled.
    virtual bool printDialog(QWidget* parent, QPrinter& printer, const QString& title) = 0;

    // One of the program's own modal windows (or the font dialog) until it closes: its
    // result, as QDialog::exec() gives it.
    virtual int runModal(QDialog& dialog) = 0;

    // Opens a web page or a document with the desktop's default program. False when no
    // opener exists (the desktop answers at once; it never waits).
    virtual bool openUrl(const QUrl& url) = 0;
    // Starts a program detached from this one. False when it cannot be started.
    virtual bool startProgram(const QString& program) = 0;
    // The full path of a program found on PATH, or the empty text.
    virtual QString findProgram(const QString& name) = 0;

    // Whole seconds since the last local midnight, now.
    virtual std::int32_t secondsSinceMidnight() = 0;
    // Ends the process with this exit code. Never returns in the program.
    virtual void endProgram(int code) = 0;
};

// The answer of a message box closed by its frame (app/core/Ui.h).
using caldren::DefaultAnswer;

}  // namespace caldren::dialogs
