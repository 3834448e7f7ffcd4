// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's own properties window for one file, used when no file manager shows them.
#include <QDialog>

class QFormLayout;
class QLabel;

namespace vw::ui {

class PropertiesWindow : public QDialog {
    Q_OBJECT
  public:
    // Fields, also the object names of the labels that show them.
    enum class Field { Name, Folder, Type, Size, Modified, Permissions };

    explicit PropertiesWindow(const QString& path, QWidget* parent = nullptr);

    QString text(Field field) const;

  private:
    QLabel* addRow(QFormLayout* form, const QString& caption, Field field, const QString& value);
    QLabel* values_[6] = {};
};

// Descriptions of a file's details in the program's language, as the window shows them.
QString DescribeSize(qint64 bytes);
QString DescribePermissions(const QString& path);

// Shows a new, modeless properties window for path, owned by owner (deleted when closed).
PropertiesWindow* ShowPropertiesWindow(const QString& path, QWidget* owner);

} // namespace vw::ui
