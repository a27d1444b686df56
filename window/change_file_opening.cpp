// SPDX-FileCopyrightText: 2026 The Pelomart developers
// SPDX-License-Identifier: MIT

#include "change_file_opening.h"

#include "code_page.h"
#include "file_for_boxes.h"
#include "form1.h"
#include "message_boxes.h"
#include "messages.h"
#include "paths.h"
#include "shown_text.h"

#include <QFileDialog>

namespace pelomart {

std::optional<QByteArray> chooseChangeFile(QWidget* parent, const QByteArray& directory) {
    QFileDialog dialog(parent, QStringLiteral("Open a change file"), decodePath(directory));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(
        {QStringLiteral("Change files (*.chg)"), QStringLiteral("All files (*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return encodePath(dialog.selectedFiles().constFirst());
}

void openChangeFile(Form1& form, const QByteArray& path, FieldTexts& lastFile) {
    const FileForBoxes opened = openForBoxes(path, QLocale(), systemCodePage());
    if (!opened.record) {
        showMessage(&form, QMessageBox::Critical, cannotOpenMessage(shownPath(path), opened.error));
        return;
    }
    if (holdsTypedTexts(fieldTexts(form), lastFile) &&
        !askToReplace(&form, replaceTextsQuestion(shownPath(opened.name)))) {
        return;
    }
    form.setDirectory(opened.folder);
    showRecordTexts(form, opened.texts);
    // As at start: a text wider than its box shows its beginning.
    form.showTextBeginnings();
    lastFile = fieldTexts(form);
    if (!opened.texts.replaced.empty()) {
        showMessage(&form, QMessageBox::Information,
                    replacedValuesMessage(shownPath(opened.name), opened.texts.replaced));
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
