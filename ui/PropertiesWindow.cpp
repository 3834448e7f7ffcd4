// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PropertiesWindow.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMimeDatabase>
#include <QPushButton>
#include <QVBoxLayout>

namespace vw::ui {

namespace {

const char* const kFieldNames[] = {"Name", "Folder", "Type", "Size", "Modified", "Permissions"};

// The locale of the window's numbers and dates: the one of the program's language.
QLocale ShownLocale() {
    return QLocale(PropertiesWindow::tr("it_IT", "the locale of numbers and dates"));
}

QString PermissionLetters(QFileDevice::Permissions p) {
    const struct {
        QFileDevice::Permission bit;
        char letter;
    } bits[] = {{QFileDevice::ReadOwner, 'r'},  {QFileDevice::WriteOwner, 'w'},
                {QFileDevice::ExeOwner, 'x'},   {QFileDevice::ReadGroup, 'r'},
                {QFileDevice::WriteGroup, 'w'}, {QFileDevice::ExeGroup, 'x'},
                {QFileDevice::ReadOther, 'r'},  {QFileDevice::WriteOther, 'w'},
                {QFileDevice::ExeOther, 'x'}};
    QString out;
    for (const auto& b : bits)
        out += (p & b.bit) ? QChar(b.letter) : QChar('-');
    return out;
}

} // namespace

QString DescribeSize(qint64 bytes) {
    const QLocale it = ShownLocale();
    const QString exact = it.toString(bytes) + PropertiesWindow::tr(" byte");
    if (bytes < 1024) return exact;
    const char* const units[] = {"KB", "MB", "GB", "TB"};
    double value = static_cast<double>(bytes);
    int unit = -1;
    while (value >= 1024.0 && unit < 3) {
        value /= 1024.0;
        ++unit;
    }
    return QStringLiteral("%1 %2 (%3)").arg(it.toString(value, 'f', 1), units[unit], exact);
}

QString DescribePermissions(const QString& path) {
    const QFileInfo info(path);
    QString access;
    if (info.isReadable() && info.isWritable())
        access = PropertiesWindow::tr("lettura e scrittura");
    else if (info.isReadable())
        access = PropertiesWindow::tr("sola lettura");
    else if (info.isWritable())
        access = PropertiesWindow::tr("sola scrittura");
    else
        access = PropertiesWindow::tr("nessun accesso");
    return QStringLiteral("%1 (%2)").arg(PermissionLetters(info.permissions()), access);
}

PropertiesWindow::PropertiesWindow(const QString& path, QWidget* parent) : QDialog(parent) {
    const QFileInfo info(path);
    setObjectName("frmProperties");
    setWindowTitle(tr("Proprietà di %1").arg(info.fileName()));
    setSizeGripEnabled(false);

    auto* top = new QVBoxLayout(this);
    auto* header = new QHBoxLayout;
    auto* icon = new QLabel;
    icon->setPixmap(QFileIconProvider().icon(info).pixmap(32, 32));
    header->addWidget(icon);
    auto* title = new QLabel(info.fileName());
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    title->setTextInteractionFlags(Qt::TextSelectableByMouse);
    header->addWidget(title, 1);
    top->addLayout(header);

    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    top->addWidget(line);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    const QMimeType mime = QMimeDatabase().mimeTypeForFile(info);
    const QString type =
        mime.comment().isEmpty() ? mime.name() : mime.comment() + " (" + mime.name() + ")";
    addRow(form, tr("Nome:"), Field::Name, info.fileName());
    addRow(form, tr("Cartella:"), Field::Folder, QDir::toNativeSeparators(info.absolutePath()));
    addRow(form, tr("Tipo:"), Field::Type, type);
    addRow(form, tr("Dimensione:"), Field::Size, DescribeSize(info.size()));
    addRow(form, tr("Ultima modifica:"), Field::Modified,
           ShownLocale().toString(info.lastModified(), tr("d MMMM yyyy, HH:mm:ss")));
    addRow(form, tr("Permessi:"), Field::Permissions, DescribePermissions(path));
    top->addLayout(form);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    buttons->button(QDialogButtonBox::Close)->setText(tr("Chiudi"));
    buttons->button(QDialogButtonBox::Close)->setObjectName("cmdClose");
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    top->addWidget(buttons);
    setMinimumWidth(360);
}

QLabel* PropertiesWindow::addRow(QFormLayout* form, const QString& caption, Field field,
                                 const QString& value) {
    auto* label = new QLabel(value);
    label->setObjectName(kFieldNames[static_cast<int>(field)]);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setWordWrap(true);
    form->addRow(caption, label);
    values_[static_cast<int>(field)] = label;
    return label;
}

QString PropertiesWindow::text(Field field) const {
    const QLabel* label = values_[static_cast<int>(field)];
    return label ? label->text() : QString();
}

PropertiesWindow* ShowPropertiesWindow(const QString& path, QWidget* owner) {
    auto* window = new PropertiesWindow(path, owner);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setModal(false);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

} // namespace vw::ui
