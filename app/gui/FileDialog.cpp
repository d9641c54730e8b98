#include "FileDialog.h"

#include <QFileDialog>

#include <deque>

namespace caldren::gui {

namespace {
std::deque<QString>& queue() {
    static std::deque<QString> names;
    return names;
}
bool g_headless = false;
std::deque<QStringList>& manyQueue() {
    static std::deque<QStringList> lists;
    return lists;
}

QString fromUtf8(const std::string& text) { return QString::fromStdString(text); }

QString run(QWidget* parent, const FileDialogSpec& spec, QFileDialog::AcceptMode mode) {
    FileDialog::history().append(spec);
    if (!queue().empty()) {
        QString name = queue().front();
        queue().pop_front();
        return name;
    }
    if (g_headless) return {};

    QFileDialog dialog(parent, fromUtf8(spec.title), fromUtf8(spec.initialFolder));
    dialog.setAcceptMode(mode);
    // No must-exist check and no overwrite question: the commands decide what follows.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilters(FileDialog::nameFilters(spec.filter));
    dialog.selectNameFilter(dialog.nameFilters().value(0));
    dialog.setDefaultSuffix(fromUtf8(spec.defaultExtension));
    if (!spec.initialName.empty()) dialog.selectFile(fromUtf8(spec.initialName));
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}
}  // namespace

QStringList FileDialog::nameFilters(const std::string& filter) {
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

QString FileDialog::getOpenFileName(QWidget* parent, const FileDialogSpec& spec) {
    return run(parent, spec, QFileDialog::AcceptOpen);
}

QString FileDialog::getSaveFileName(QWidget* parent, const FileDialogSpec& spec) {
    return run(parent, spec, QFileDialog::AcceptSave);
}

QStringList FileDialog::getOpenFileNames(QWidget* parent, const FileDialogSpec& spec) {
    FileDialog::history().append(spec);
    if (!manyQueue().empty()) {
        QStringList names = manyQueue().front();
        manyQueue().pop_front();
        return names;
    }
    if (g_headless) return {};
    QFileDialog dialog(parent, fromUtf8(spec.title), fromUtf8(spec.initialFolder));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(FileDialog::nameFilters(spec.filter));
    dialog.selectNameFilter(dialog.nameFilters().value(0));
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles();
}

void FileDialog::setNextFileNames(const QStringList& fileNames) {
    manyQueue().push_back(fileNames);
}

void FileDialog::setNextFileName(const QString& fileName) { queue().push_back(fileName); }
void FileDialog::setHeadless(bool headless) { g_headless = headless; }

QList<FileDialogSpec>& FileDialog::history() {
    static QList<FileDialogSpec> specs;
    return specs;
}

void FileDialog::reset() {
    queue().clear();
    manyQueue().clear();
    history().clear();
}

}  // namespace caldren::gui
