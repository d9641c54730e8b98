// The Dialogs of the window tests (and of the screenshot tool and the window benchmarks):
// nothing is shown and nothing waits. A message box takes the next of `answers`, else its
// default; a file dialog the next of `files` (one name, or several for the multi-open;
// none left or an empty name: cancelled; the folder dialog likewise); the program's own windows go
// to `modal` and the print dialog to `print` (without them: rejected, cancelled). What was asked is
// kept, each box as "<title>|<style>|<text>" with the text's line ends as "|".
#pragma once

#include "app/dialogs/Dialogs.h"

#include <QDialog>
#include <QUrl>

#include <deque>
#include <functional>

namespace guitest {

class FakeDialogs final : public caldren::dialogs::Dialogs {
public:
    std::deque<caldren::MsgAnswer> answers;
    std::deque<QStringList> files;
    std::function<int(QDialog&)> modal;
    std::function<bool(QPrinter&, const QString& title)> print;
    bool printers = false;  // a printer installed
    QStringList programs;   // on PATH, by full path
    std::int32_t clock = 0;

    QStringList boxes, opened;  // opened: the URLs opened and the programs started
    QList<caldren::FileDialogSpec> fileDialogs;
    int beeps = 0;
    QList<int> ends;  // the exit codes the process was ended with

    caldren::MsgAnswer message(QWidget*, const QString& text, int style,
                               const QString& title) override {
        boxes << title + u'|' + QString::number(style) + u'|' + QString(text).replace(u'\n', u'|');
        const auto answer = answers.empty() ? caldren::DefaultAnswer(style) : answers.front();
        if (!answers.empty()) answers.pop_front();
        return answer;
    }
    // Asked as a box whose text ends in "[<yes>/<no>]"; the default answer is No.
    caldren::MsgAnswer ask(QWidget* parent, const QString& text, int style, const QString& title,
                           const QString& yes, const QString& no) override {
        return message(parent, text + QStringLiteral(" [%1/%2]").arg(yes, no), style | 4, title);
    }
    void beep() override { ++beeps; }
    QString openFileName(QWidget*, const caldren::FileDialogSpec& spec) override {
        return openFileNames(nullptr, spec).value(0);
    }
    QString saveFileName(QWidget*, const caldren::FileDialogSpec& spec) override {
        return openFileNames(nullptr, spec).value(0);
    }
    QStringList openFileNames(QWidget*, const caldren::FileDialogSpec& spec) override {
        fileDialogs << spec;
        const QStringList names = files.empty() ? QStringList() : files.front();
        if (!files.empty()) files.pop_front();
        return names;
    }
    QString folderName(QWidget*, const QString& title, const QString&) override {
        return openFileNames(nullptr, {title.toStdString(), {}, {}, {}, {}}).value(0);
    }
    bool printersInstalled() override { return printers; }
    bool printDialog(QWidget*, QPrinter& printer, const QString& title) override {
        return print && print(printer, title);
    }
    int runModal(QDialog& dialog) override { return modal ? modal(dialog) : QDialog::Rejected; }
    bool openUrl(const QUrl& url) override { return opened << url.toString(), true; }
    bool startProgram(const QString& program) override { return opened << program, true; }
    QString findProgram(const QString& name) override {
        for (const QString& path : programs)
            if (path.section(u'/', -1) == name) return path;
        return {};
    }
    std::int32_t secondsSinceMidnight() override { return clock; }
    void endProgram(int code) override { ends << code; }  // the test goes on
};

}  // namespace guitest
