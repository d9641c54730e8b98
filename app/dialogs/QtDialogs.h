// QtDialogs: the Dialogs of an interactive run, with Qt's widgets and the desktop's
// services. It shows, asks and opens; it keeps nothing of what it did.
#pragma once

#include "app/dialogs/Dialogs.h"

#include <string>

namespace caldren::dialogs {

class QtDialogs final : public Dialogs {
public:
    MsgAnswer message(QWidget* parent, const QString& text, int style,
                      const QString& title) override;
    MsgAnswer ask(QWidget* parent, const QString& text, int style, const QString& title,
                  const QString& yesText, const QString& noText) override;
    void beep() override;
    QString openFileName(QWidget* parent, const FileDialogSpec& spec) override;
    QString saveFileName(QWidget* parent, const FileDialogSpec& spec) override;
    QStringList openFileNames(QWidget* parent, const FileDialogSpec& spec) override;
    QString folderName(QWidget* parent, const QString& title, const QString& start) override;
    bool printersInstalled() override;
    bool printDialog(QWidget* parent, QPrinter& printer, const QString& title) override;
    int runModal(QDialog& dialog) override;
    bool openUrl(const QUrl& url) override;
    bool startProgram(const QString& program) override;
    QString findProgram(const QString& name) override;
    // Rounded to the nearest whole second, as the start and the end of a run both are: a
    // start rounded up and an end cut down would make a short run read as a whole day.
    std::int32_t secondsSinceMidnight() override;
    // Flushes the output streams and ends the process at once.
    [[noreturn]] void endProgram(int code) override;
};

// "Data Files(*.CLD)|*.CLD|All Files(*.*)|*.*||" as Qt name filters. On this platform
// file names are case-sensitive, so "*.CLD" also matches "*.cld".
QStringList NameFilters(const std::string& filter);

}  // namespace caldren::dialogs
