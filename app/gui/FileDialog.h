// The Open and Save As dialogs of the data-file commands, with a seam so that tests
// answer them (KeePassXC style: FileDialog::setNextFileName).
#pragma once

#include "app/core/Ui.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace caldren::gui {

class FileDialog {
public:
    // The chosen path, or the empty text when the dialog was cancelled.
    static QString getOpenFileName(QWidget* parent, const FileDialogSpec& spec);
    static QString getSaveFileName(QWidget* parent, const FileDialogSpec& spec);
    // Open dialog in which several existing files may be chosen; empty when cancelled.
    static QStringList getOpenFileNames(QWidget* parent, const FileDialogSpec& spec);

    // "Data Files(*.CLD)|*.CLD|All Files(*.*)|*.*||" as Qt name filters. On this platform
    // file names are case-sensitive, so "*.CLD" also matches "*.cld".
    static QStringList nameFilters(const std::string& filter);

    // ---- Test seam --------------------------------------------------------------------
    // The next dialog returns this name at once (an empty name: the dialog was cancelled).
    static void setNextFileName(const QString& fileName);
    // The next multi-file dialog returns these names at once (empty: cancelled).
    static void setNextFileNames(const QStringList& fileNames);
    // With headless set, a dialog without a queued name returns the empty text.
    static void setHeadless(bool headless);
    // The specs of the dialogs asked for, newest last.
    static QList<FileDialogSpec>& history();
    static void reset();
};

}  // namespace caldren::gui
