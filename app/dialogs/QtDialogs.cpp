#include "app/dialogs/QtDialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace caldren::dialogs {

namespace {

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
        case kCritical:
            return QMessageBox::Critical;
        case kQuestion:
            return QMessageBox::Question;
        case kExclamation:
            return QMessageBox::Warning;
        case kInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QString runFileDialog(QWidget* parent, const FileDialogSpec& spec, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, fromUtf8(spec.title), fromUtf8(spec.initialFolder));
    dialog.setAcceptMode(mode);
    // No must-exist check and no overwrite question: the commands decide what follows.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilters(NameFilters(spec.filter));
    dialog.selectNameFilter(dialog.nameFilters().value(0));
    dialog.setDefaultSuffix(fromUtf8(spec.defaultExtension));
    if (!spec.initialName.empty()) dialog.selectFile(fromUtf8(spec.initialName));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

}  // namespace

MsgAnswer QtDialogs::message(QWidget* parent, const QString& text, int style,
                             const QString& title) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(iconOf(style));
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
            return MsgAnswer::Ok;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        case QMessageBox::Cancel:
            return MsgAnswer::Cancel;
        default:
            return DefaultAnswer(style);  // closed by the frame
    }
}

MsgAnswer QtDialogs::ask(QWidget* parent, const QString& text, int style, const QString& title,
                         const QString& yesText, const QString& noText) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(iconOf(style));
    QPushButton* yes = box.addButton(yesText, QMessageBox::YesRole);
    QPushButton* no = box.addButton(noText, QMessageBox::NoRole);
    box.setDefaultButton((style & kDefaultButton2) ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? MsgAnswer::Yes : MsgAnswer::No;
}

void QtDialogs::beep() { QApplication::beep(); }

QString QtDialogs::openFileName(QWidget* parent, const FileDialogSpec& spec) {
    return runFileDialog(parent, spec, QFileDialog::AcceptOpen);
}

QString QtDialogs::saveFileName(QWidget* parent, const FileDialogSpec& spec) {
    return runFileDialog(parent, spec, QFileDialog::AcceptSave);
}

QStringList QtDialogs::openFileNames(QWidget* parent, const FileDialogSpec& spec) {
    QFileDialog dialog(parent, fromUtf8(spec.title), fromUtf8(spec.initialFolder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(NameFilters(spec.filter));
    dialog.selectNameFilter(dialog.nameFilters().value(0));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

QString QtDialogs::folderName(QWidget* parent, const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(parent, title, start);
}

bool QtDialogs::printersInstalled() { return !QPrinterInfo::availablePrinters().isEmpty(); }

bool QtDialogs::printDialog(QWidget* parent, QPrinter& printer, const QString& title) {
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("GetCopies"));
    dialog.setWindowTitle(title);
    // Printing to a PDF file stays available: with no printer installed it is the only
    // way to print.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    return dialog.exec() == QDialog::Accepted;
}

int QtDialogs::runModal(QDialog& dialog) { return dialog.exec(); }

bool QtDialogs::openUrl(const QUrl& url) { return QDesktopServices::openUrl(url); }

bool QtDialogs::startProgram(const QString& program) {
    return QProcess::startDetached(program, {});
}

QString QtDialogs::findProgram(const QString& name) { return QStandardPaths::findExecutable(name); }

std::int32_t QtDialogs::secondsSinceMidnight() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t whole = std::chrono::system_clock::to_time_t(now);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        now - std::chrono::system_clock::from_time_t(whole))
                        .count();
    std::tm local{};
    localtime_r(&whole, &local);
    const std::int32_t seconds =
        local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + (ms >= 500 ? 1 : 0);
    return seconds % 86400;
}

void QtDialogs::endProgram(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

QStringList NameFilters(const std::string& filter) {
    // Pairs of description and pattern separated by "|", ended by "||".
    const QStringList parts = fromUtf8(filter).split(QLatin1Char('|'));
    QStringList result;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        if (description.isEmpty() && pattern.isEmpty()) break;
        QStringList patterns;
        for (const QString& one : pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (one == QLatin1String("*.*")) {
                patterns << QStringLiteral("*");
                continue;
            }
            patterns << one;
            if (one.toLower() != one) patterns << one.toLower();
        }
        result << description + QLatin1String(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

}  // namespace caldren::dialogs
