// Message boxes and the Open and Save As dialogs (the core routes them here
// unless a test has installed a scripted answer).
#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/qt/qt_state.h"

int qt_message_box(Window owner, const char* text, const char* caption, unsigned buttons) {
    // Widgets exist only on the main thread; elsewhere (a worker's fatal
    // error) the text goes to standard error, as without a display.
    if (!is_main_thread()) {
        std::fprintf(stderr, "%s: %s\n", caption != nullptr ? caption : "Error", text != nullptr ? text : "");
        return IDOK;
    }
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(caption != nullptr ? caption : "Error"),
                    QString::fromUtf8(text != nullptr ? text : ""), QMessageBox::NoButton, qt_owner_widget(owner));
    box.setTextFormat(Qt::PlainText);
    if (buttons == MB_SAVEDISCARDCANCEL) {
        // The labels are set here: some desktop themes call Discard "Close
        // without Saving".
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.button(QMessageBox::Save)->setText("Save");
        box.button(QMessageBox::Discard)->setText("Discard");
        box.button(QMessageBox::Cancel)->setText("Cancel");
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        if (answer == QMessageBox::Save) return IDSAVE;
        if (answer == QMessageBox::Discard) return IDDISCARD;
        return IDCANCEL;
    }
    const bool ok_cancel = (buttons & MB_OKCANCEL) != 0;
    box.setStandardButtons(ok_cancel ? (QMessageBox::Ok | QMessageBox::Cancel) : QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(ok_cancel ? QMessageBox::Cancel : QMessageBox::Ok);
    const int answer = box.exec();
    if (answer == QMessageBox::Ok) return IDOK;
    return ok_cancel ? IDCANCEL : IDOK;
}

namespace {

// "label\0pattern\0...\0\0" -> Qt's "label (patterns)" filters. A label that
// already ends with its patterns in parentheses is kept as it is.
QStringList name_filters(const char* filter) {
    QStringList filters;
    if (filter == nullptr) return filters;
    const char* at = filter;
    while (*at != '\0') {
        const std::string label = at;
        at += label.size() + 1;
        const std::string pattern = at;
        at += pattern.size() + 1;
        QString patterns = QString::fromUtf8(pattern.c_str());
        patterns.replace(';', ' ');
        QString entry = QString::fromUtf8(label.c_str());
        const qsizetype open = entry.lastIndexOf('(');
        const bool has_own = open >= 0 && entry.endsWith(')') &&
                             entry.mid(open + 1, entry.size() - open - 2).compare(patterns, Qt::CaseInsensitive) == 0;
        if (!has_own) entry += " (" + patterns + ")";
        filters << entry;
        if (pattern.empty()) break;
    }
    return filters;
}

}  // namespace

int qt_file_dialog(const FileDialogRequest& request, char* path, std::size_t capacity) {
    if (path == nullptr || capacity == 0 || !is_main_thread()) return 0;
    QFileDialog dialog(qt_owner_widget(request.owner), QString::fromUtf8(request.title != nullptr ? request.title : ""));
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.must_exist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
    const QStringList filters = name_filters(request.filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (request.default_extension != nullptr) {
        QString suffix = QString::fromUtf8(request.default_extension);
        while (suffix.startsWith('.')) suffix.remove(0, 1);
        dialog.setDefaultSuffix(suffix);
    }
    if (request.folder != nullptr && request.folder[0] != '\0') dialog.setDirectory(QString::fromUtf8(request.folder));
    // The buffer may hold the name to start from.
    if (std::memchr(path, '\0', capacity) != nullptr && path[0] != '\0') {
        dialog.selectFile(QString::fromUtf8(path));
    }
    if (dialog.exec() != QDialog::Accepted) return 0;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return 0;
    const std::string full = chosen.front().toStdString();
    // A path that does not fit is refused rather than cut short.
    if (full.size() + 1 > capacity) return 0;
    std::memcpy(path, full.c_str(), full.size() + 1);
    return 1;
}
