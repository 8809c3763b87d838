#include "winsvc/Prompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QString captionOr(const QString& title) {
    return title.isEmpty() ? QStringLiteral("Melodeck") : title;
}
} // namespace

void DialogPrompts::MsgBox(const QString& text, const QString& title) {
    QMessageBox::information(m_parent, captionOr(title), text, QMessageBox::Ok);
}

bool DialogPrompts::Ask(const QString& text, const QString& title) {
    return QMessageBox::question(m_parent, captionOr(title), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> DialogPrompts::InputBox(const QString& prompt, const QString& title,
                                               const QString& defaultText) {
    bool ok = false;
    const QString text = QInputDialog::getText(m_parent, captionOr(title), prompt,
                                               QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QStringList DialogPrompts::OpenFiles(const QString& title, const QString& directory,
                                     const QStringList& filters, bool multiSelect) {
    QFileDialog dialog(m_parent, captionOr(title), directory);
    dialog.setFileMode(multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

std::optional<QString> DialogPrompts::ChooseFolder(const QString& title) {
    QFileDialog dialog(m_parent, captionOr(title));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> DialogPrompts::SaveFileName(const QString& title,
                                                   const QStringList& filters) {
    QFileDialog dialog(m_parent, captionOr(title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}
