// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_opening.h"

#include "change_file_reader.h"
#include "code_page.h"
#include "form1.h"
#include "message_boxes.h"
#include "messages.h"
#include "shown_text.h"

#include <QFile>
#include <QFileDialog>
#include <filesystem>

namespace pelomart {
namespace {

// The absolute folder of the file at `path`, and the file's name; the system's bytes.
std::pair<QByteArray, QByteArray> folderAndName(const QByteArray& path) {
    const std::filesystem::path absolute = std::filesystem::absolute(path.toStdString());
    return {QByteArray::fromStdString(absolute.parent_path().native()),
            QByteArray::fromStdString(absolute.filename().native())};
}

} // namespace

std::optional<QByteArray> chooseChangeFile(QWidget* parent, const QByteArray& directory) {
    QFileDialog dialog(parent, QStringLiteral("Open a change file"), QFile::decodeName(directory));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("Change files (*.chg)"), QStringLiteral("All files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QFile::encodeName(dialog.selectedFiles().constFirst());
}

void openChangeFile(Form1& form, const QByteArray& path, FieldTexts& lastFile) {
    const OpenedChangeFile opened = readChangeFile(path);
    if (!opened.record) {
        showMessage(&form, QMessageBox::Critical, cannotOpenMessage(shownPath(path), opened.error));
        return;
    }
    const auto [folder, name] = folderAndName(path);
    if (holdsTypedTexts(fieldTexts(form), lastFile) &&
        !askToReplace(&form, replaceTextsQuestion(shownPath(name)))) {
        return;
    }
    RecordTexts texts = recordTexts(*opened.record, QLocale(), systemCodePage());
    // A name that is not UTF-8 cannot be typed back: make file writes the name the box shows.
    const QString fileName = QFile::decodeName(name);
    if (encodedFileName(fileName) != name) {
        texts.unheld.push_back({Control::filenavn, shownPath(name), fileName});
    }
    form.setDirectory(folder);
    showRecordTexts(form, texts, fileName);
    // As at start: a text wider than its box shows its beginning.
    form.showTextBeginnings();
    lastFile = fieldTexts(form);
    if (!texts.unheld.empty()) {
        showMessage(&form, QMessageBox::Information,
                    unheldValuesMessage(shownPath(name), texts.unheld));
    }
}

void openDroppedFiles(Form1& form, const QList<QByteArray>& files, FieldTexts& lastFile) {
    if (files.size() > 1) {
        showMessage(
            &form, QMessageBox::Warning,
            QStringLiteral("Drop one change file at a time; these were %1.").arg(files.size()));
        return;
    }
    openChangeFile(form, files.constFirst(), lastFile);
}

} // namespace pelomart
