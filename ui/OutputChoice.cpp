// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OutputChoice.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <filesystem>

#include "engine/io/Bytes.h"
#include "ui/Driver.h"
#include "platform/TextCodec.h"
#include "ui/AppInfo.h"
#include "ui/Prompts.h"

namespace vw::ui {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(vw::ui::OutputChoice)
};

// The save dialog's own question (Qt's catalogues translate it in this context); kept out of
// the program's catalogue.
constexpr char kQtContext[] = "QFileDialog";
constexpr char kReplaceQuestion[] = "%1 already exists.\nDo you want to replace it?";

// Something is there, a dangling link included: the job would not write over it unasked.
bool Occupied(const QString& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path.toStdString(), error).type() !=
           std::filesystem::file_type::not_found;
}

// The path the job will write for this output path, with the password and private code it gets.
QString ResultPath(const UiState& state, const QString& outputPath) {
    std::string password = ToCp1252(state.password);
    std::string privateCode = ToCp1252(state.usePcm ? state.privateCode : QString());
    const std::string result = ResultPathFor(state.selectedPath.toStdString(),
                                             outputPath.toStdString(), password, privateCode);
    SecureWipe(password);
    SecureWipe(privateCode);
    return QString::fromStdString(result);
}

} // namespace

bool ChooseOutput(UiState& state, const std::function<QString()>& askSave, QWidget* parent,
                  const QString& title) {
    state.replaceConfirmed.clear();
    for (;;) {
        state.outputPath = askSave();
        if (state.outputPath.isEmpty()) return false;
        const QString result = ResultPath(state, state.outputPath);
        QString confirmed;
        if (result.isEmpty() || result == state.outputPath) {
            // The save dialog asked before it accepted an existing name.
            if (Occupied(state.outputPath)) confirmed = state.outputPath;
        } else if (Occupied(result)) {
            const QString question = QCoreApplication::translate(kQtContext, kReplaceQuestion)
                                         .arg(QFileInfo(result).fileName());
            if (!CurrentPrompts().askReplace(parent, title, question)) continue;
            confirmed = result;
        }
        state.replaceConfirmed = confirmed;
        return true;
    }
}

JobMessage ReplaceRefusedMessage(const QString& path) {
    return {true, MessageIcon::Critical, kMessageTitle,
            Texts::tr("Il file %1 esiste già e non è stato sostituito.\n"
                      "Non è stato scritto nulla.")
                .arg(path)};
}

} // namespace vw::ui
