// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Prompts.h"

#include "ui/AppInfo.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>

namespace vw::ui {
namespace {

Prompts defaultPrompts;
Prompts* currentPrompts = &defaultPrompts;

// "Tutti i files (*.*)" must list every file, also those without a dot in their name, which
// the pattern "*.*" alone would hide on this platform.
void ShowAllForStarDotStar(QFileDialog& dialog, const QString& filter) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    if (!model || !filter.contains(QStringLiteral("(*.*)"))) return;
    model->setNameFilters({QStringLiteral("*")});
}

QString RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title,
                      const QString& folder, const QString& filter) {
    QFileDialog dialog(parent, title, folder, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setAcceptMode(mode);
    if (mode == QFileDialog::AcceptOpen) {
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    const QStringList filters = dialog.nameFilters();
    if (!filters.isEmpty()) {
        dialog.selectNameFilter(filters.first());
        ShowAllForStarDotStar(dialog, filters.first());
    }
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&dialog](const QString& chosen) { ShowAllForStarDotStar(dialog, chosen); });
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

} // namespace

void Prompts::showMessage(QWidget* parent, MessageIcon icon, const QString& title,
                          const QString& text) {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical
                                                  : QMessageBox::Information,
                    title.isEmpty() ? kApplicationTitle : title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString Prompts::askOpenFile(QWidget* parent, const QString& title, const QString& folder,
                             const QString& filter) {
    return RunFileDialog(parent, QFileDialog::AcceptOpen, title, folder, filter);
}

QString Prompts::askSaveFile(QWidget* parent, const QString& title, const QString& folder,
                             const QString& filter) {
    return RunFileDialog(parent, QFileDialog::AcceptSave, title, folder, filter);
}

bool Prompts::askReplace(QWidget* parent, const QString& title, const QString& text) {
    return QMessageBox::warning(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

Prompts& CurrentPrompts() {
    return *currentPrompts;
}

void SetPrompts(Prompts* prompts) {
    currentPrompts = prompts ? prompts : &defaultPrompts;
}

} // namespace vw::ui
